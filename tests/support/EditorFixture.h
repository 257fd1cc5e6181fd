#pragma once

#include "editor/HighlightConfig.h"

#include <QPlainTextEdit>
#include <QString>
#include <functional>

// Editor states written as text with the selection marked: « and » around a
// selection (anchor first), ‸ for a caret.
namespace EditorFixture {

inline QString u8(const char* text) {
    return QString::fromUtf8(text);
}

void setMarked(QPlainTextEdit& editor, const QString& marked);
QString marked(const QPlainTextEdit& editor);

struct Outcome {
    QString state;       // the marked text right after the rule
    bool result = false; // what the rule returned
    bool textChanged = false;
    int undoSteps = 0;         // undo steps the rule added
    bool undoRestores = false; // one undo gives the text back
};

using Rule = std::function<bool(QPlainTextEdit*)>;
// Runs a rule on an editor showing `marked` and reports what it did.
Outcome run(QPlainTextEdit& editor, const QString& marked, const Rule& rule);
Outcome run(const QString& marked, const Rule& rule);

// The editor configuration of the standard light or dark design.
HighlightConfig config(bool dark = false, double size = 14);

// The first bytes of a PNG file, enough for its type to be read.
QByteArray pngBytes();

} // namespace EditorFixture
