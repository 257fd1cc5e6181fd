#pragma once

#include <QString>

class QPlainTextEdit;
class QTextDocument;

// Reading and editing an editor's text by position. Positions count UTF-16
// units of the text with LF line breaks, as QTextCursor positions do.
namespace EditorText {

// A span of positions, from included to `to` excluded.
struct Range {
    int from = 0;
    int to = 0;
    int length() const { return to - from; }
    bool isEmpty() const { return from == to; }
    bool operator==(const Range&) const = default;
};

// The whole text, LF line breaks, every other character as it is.
QString text(const QTextDocument* document);
QString text(const QTextDocument* document, Range range);
int length(const QTextDocument* document);

// The current selection (from <= to, whatever the direction it was made in).
Range selection(const QPlainTextEdit* editor);

// The lines a range touches: from the start of its first line to the end of
// its last, including that line's break. A range that ends right after a line
// break does not touch the next line. Empty only for the caret on an empty
// last line.
Range lineRange(const QTextDocument* document, Range range);

// Line break characters (LF, CR, VT, FF, NEL, U+2028, U+2029).
bool isLineBreak(QChar c);

// Ends the undo step of the last edit: typing on from where it left the
// caret would join it, as Qt merges an insertion that continues the last
// step's while the text document counts as modified. Nothing else reads that
// flag (the Markdown document keeps its own). Every edit here ends so.
void endUndoStep(QTextDocument* document);

// One undo step: replaces the range with text, then selects `select` (anchor
// at its start, caret at its end). Only the part that differs is rewritten;
// nothing is recorded when the text stays the same.
void replace(QPlainTextEdit* editor, Range range, const QString& text, Range select);

// One undo step that turns the range into `text` by rewriting only the part
// between their common start and end. The selection moves with the text
// around it, as any cursor does, and the scroll position stays.
void replaceKeepingView(QPlainTextEdit* editor, Range range, const QString& text);
// The same for the whole text.
void replaceAll(QPlainTextEdit* editor, const QString& text);

} // namespace EditorText
