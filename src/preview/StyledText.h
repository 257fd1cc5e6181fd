#pragma once

#include <QList>
#include <QString>
#include <QTextLayout>

class QTextDocument;

// Text with character formats over ranges of it: what the inline renderer and
// the code colouring produce and what a text view shows.
struct StyledText {
    QString text;
    QList<QTextLayout::FormatRange> formats;

    void append(QStringView piece, const QTextCharFormat& format);
    void append(const StyledText& other);
    // Merges the format into every range from `from` to the end.
    void mergeFrom(qsizetype from, const QTextCharFormat& format);
    // The format at a character (empty format outside every range).
    QTextCharFormat formatAt(qsizetype position) const;

    // Fills a document with one block of this text (line breaks in the text
    // become new blocks of the same block format).
    void writeTo(QTextDocument* document, const QTextBlockFormat& blockFormat) const;
};
