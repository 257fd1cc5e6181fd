#include "shell/TextEditing.h"

#include "preview/CodeLinesView.h"
#include "preview/SelectableTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextEdit>

namespace {

using Command = TextEditing::Command;

// QPlainTextEdit and QTextEdit share these members without a common base.
template <class Edit> bool canRunOnEdit(const Edit* edit, Command command) {
    const bool writable = !edit->isReadOnly();
    const bool selection = edit->textCursor().hasSelection();
    switch (command) {
    case Command::Undo:
        return writable && edit->document()->isUndoAvailable();
    case Command::Redo:
        return writable && edit->document()->isRedoAvailable();
    case Command::Cut:
        return writable && selection;
    case Command::Copy:
        return selection;
    case Command::Paste:
        return edit->canPaste();
    case Command::SelectAll:
        return !edit->document()->isEmpty();
    }
    return false;
}

// The three kinds of editable text share these members without a common base.
template <class Edit> void runOnEdit(Edit* edit, Command command) {
    switch (command) {
    case Command::Undo:
        edit->undo();
        return;
    case Command::Redo:
        edit->redo();
        return;
    case Command::Cut:
        edit->cut();
        return;
    case Command::Copy:
        edit->copy();
        return;
    case Command::Paste:
        edit->paste();
        return;
    case Command::SelectAll:
        edit->selectAll();
        return;
    }
}

bool canRunOnLine(const QLineEdit* line, Command command) {
    const bool writable = !line->isReadOnly();
    // A password's text never leaves the field.
    const bool readable = line->echoMode() == QLineEdit::Normal && line->hasSelectedText();
    switch (command) {
    case Command::Undo:
        return line->isUndoAvailable();
    case Command::Redo:
        return line->isRedoAvailable();
    case Command::Cut:
        return writable && readable;
    case Command::Copy:
        return readable;
    case Command::Paste: {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        return writable && data && data->hasText();
    }
    case Command::SelectAll:
        return !line->text().isEmpty();
    }
    return false;
}

bool isEmpty(const SelectableTextView* view) {
    return view->document()->isEmpty();
}

bool isEmpty(const CodeLinesView* view) {
    return view->isEmpty();
}

// The preview's read-only text views.
template <class View> bool canRunOnView(const View* view, Command command) {
    if (command == Command::Copy)
        return view->hasSelection();
    if (command == Command::SelectAll)
        return !isEmpty(view);
    return false;
}

template <class View> void runOnView(View* view, Command command) {
    if (command == Command::Copy)
        QApplication::clipboard()->setText(view->selectedText());
    else if (command == Command::SelectAll)
        view->selectAll();
}

} // namespace

QWidget* TextEditing::target(QWidget* focus) {
    if (qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus) ||
        qobject_cast<QLineEdit*>(focus) || qobject_cast<SelectableTextView*>(focus) ||
        qobject_cast<CodeLinesView*>(focus))
        return focus;
    return nullptr;
}

bool TextEditing::canRun(const QWidget* target, Command command) {
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(target))
        return canRunOnEdit(plain, command);
    if (const auto* rich = qobject_cast<const QTextEdit*>(target))
        return canRunOnEdit(rich, command);
    if (const auto* line = qobject_cast<const QLineEdit*>(target))
        return canRunOnLine(line, command);
    if (const auto* view = qobject_cast<const SelectableTextView*>(target))
        return canRunOnView(view, command);
    if (const auto* lines = qobject_cast<const CodeLinesView*>(target))
        return canRunOnView(lines, command);
    return false;
}

void TextEditing::run(QWidget* target, Command command) {
    if (!canRun(target, command))
        return;
    if (auto* plain = qobject_cast<QPlainTextEdit*>(target))
        runOnEdit(plain, command);
    else if (auto* rich = qobject_cast<QTextEdit*>(target))
        runOnEdit(rich, command);
    else if (auto* line = qobject_cast<QLineEdit*>(target))
        runOnEdit(line, command);
    else if (auto* view = qobject_cast<SelectableTextView*>(target))
        runOnView(view, command);
    else if (auto* lines = qobject_cast<CodeLinesView*>(target))
        runOnView(lines, command);
}
