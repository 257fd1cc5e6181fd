#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <functional>

// Editor states written as text with the selection marked: « and » around a
// selection (anchor first), ‸ for a caret.
namespace EditorFixture {

void setMarked(QPlainTextEdit& editor, const QString& marked);
QString marked(const QPlainTextEdit& editor);

struct Outcome {
    QString state;       // the marked text right after the rule
    bool result = false; // what the rule returned
    bool textChanged = false;
    int undoSteps = 0;         // undo steps the rule added
    bool undoRestores = false; // one undo gives the text back
};

// Runs a rule on an editor showing `marked` and reports what it did.
Outcome run(const QString& marked, const std::function<bool(QPlainTextEdit*)>& rule);

} // namespace EditorFixture
