#include "editor/EditorText.h"

#include <QPlainTextEdit>
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
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

void replace(QPlainTextEdit* editor, Range range, const QString& replacement, Range select) {
    QTextDocument* document = editor->document();
    const QString old = text(document, range);
    // Rewrite only what differs, never splitting a surrogate pair.
    qsizetype head = 0;
    const qsizetype shorter = qMin(old.size(), replacement.size());
    while (head < shorter && old[head] == replacement[head])
        ++head;
    while (head > 0 && old[head - 1].isHighSurrogate())
        --head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           old[old.size() - 1 - tail] == replacement[replacement.size() - 1 - tail])
        ++tail;
    while (tail > 0 && old[old.size() - tail].isLowSurrogate())
        --tail;

    if (head != old.size() || head != replacement.size()) {
        QTextCursor cursor(document);
        cursor.beginEditBlock();
        cursor.setPosition(range.from + int(head));
        cursor.setPosition(range.to - int(tail), QTextCursor::KeepAnchor);
        cursor.insertText(replacement.mid(head, replacement.size() - head - tail));
        cursor.endEditBlock();
    }
    QTextCursor selected(document);
    selected.setPosition(select.from);
    selected.setPosition(select.to, QTextCursor::KeepAnchor);
    editor->setTextCursor(selected);
}

} // namespace EditorText
