#include "editor/EditorText.h"

#include "core/SingleLineText.h"
#include "core/TextEdit.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace EditorText {

namespace {

QString withLineFeeds(QString text) {
    return text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

} // namespace

QString text(const QTextDocument* document) {
    return withLineFeeds(document->toRawText());
}

QString text(const QTextDocument* document, Range range) {
    if (range.isEmpty())
        return {};
    QTextCursor cursor(const_cast<QTextDocument*>(document));
    cursor.setPosition(range.from);
    cursor.setPosition(range.to, QTextCursor::KeepAnchor);
    return withLineFeeds(cursor.selectedText());
}

int length(const QTextDocument* document) {
    return document->characterCount() - 1;
}

Range selection(const QPlainTextEdit* editor) {
    const QTextCursor cursor = editor->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

Range lineRange(const QTextDocument* document, Range range) {
    const QTextBlock first = document->findBlock(range.from);
    const QTextBlock last = range.to > range.from ? document->findBlock(range.to - 1) : first;
    return {first.position(), qMin(last.position() + last.length(), length(document))};
}

bool isLineBreak(QChar c) {
    return SingleLineText::isLineBreak(c);
}

namespace {

// Rewrites only the part of the range that differs from replacement, never
// splitting a surrogate pair; one edit block, nothing when equal. Undoing it
// puts the caret back at caret.
void rewrite(QTextDocument* document, Range range, const QString& replacement, int caret) {
    const TextEdit edit = TextEdit::between(text(document, range), replacement);
    if (edit.isEmpty())
        return;
    QTextCursor cursor(document);
    // The edit block remembers where its cursor stood for undo.
    cursor.setPosition(caret);
    cursor.beginEditBlock();
    cursor.setPosition(range.from + int(edit.position));
    cursor.setPosition(range.from + int(edit.position + edit.removed), QTextCursor::KeepAnchor);
    cursor.insertText(edit.added);
    cursor.endEditBlock();
    endUndoStep(document);
}

} // namespace

void endUndoStep(QTextDocument* document) {
    document->setModified(false);
}

void replace(QPlainTextEdit* editor, Range range, const QString& replacement, Range select) {
    QTextDocument* document = editor->document();
    rewrite(document, range, replacement, editor->textCursor().position());
    QTextCursor selected(document);
    selected.setPosition(select.from);
    selected.setPosition(select.to, QTextCursor::KeepAnchor);
    editor->setTextCursor(selected);
}

void replaceKeepingView(QPlainTextEdit* editor, Range range, const QString& replacement) {
    QScrollBar* vertical = editor->verticalScrollBar();
    QScrollBar* horizontal = editor->horizontalScrollBar();
    const int top = vertical->value(), left = horizontal->value();
    rewrite(editor->document(), range, replacement, editor->textCursor().position());
    vertical->setValue(top);
    horizontal->setValue(left);
}

void replaceAll(QPlainTextEdit* editor, const QString& replacement) {
    replaceKeepingView(editor, {0, length(editor->document())}, replacement);
}

} // namespace EditorText
