#include "preview/StyledText.h"

#include <QTextCursor>
#include <QTextDocument>

void StyledText::append(QStringView piece, const QTextCharFormat& format) {
    if (piece.isEmpty())
        return;
    formats.append({int(text.size()), int(piece.size()), format});
    text += piece;
}

void StyledText::append(const StyledText& other) {
    const int offset = int(text.size());
    text += other.text;
    for (QTextLayout::FormatRange range : other.formats) {
        range.start += offset;
        formats.append(range);
    }
}

void StyledText::mergeFrom(qsizetype from, const QTextCharFormat& format) {
    for (QTextLayout::FormatRange& range : formats) {
        if (range.start >= from)
            range.format.merge(format);
    }
}

QTextCharFormat StyledText::formatAt(qsizetype position) const {
    for (const QTextLayout::FormatRange& range : formats) {
        if (position >= range.start && position < range.start + range.length)
            return range.format;
    }
    return {};
}

void StyledText::writeTo(QTextDocument* document, const QTextBlockFormat& blockFormat) const {
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.setBlockFormat(blockFormat);
    // Covered ranges in order; gaps take the empty format.
    qsizetype at = 0;
    auto insert = [&](qsizetype end, const QTextCharFormat& format) {
        const QStringList lines = text.mid(at, end - at).split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                cursor.insertBlock(blockFormat, format);
            cursor.insertText(lines[i], format);
        }
        at = end;
    };
    for (const QTextLayout::FormatRange& range : formats) {
        if (range.start > at)
            insert(range.start, {});
        if (range.start + range.length > at)
            insert(range.start + range.length, range.format);
    }
    if (at < text.size())
        insert(text.size(), {});
    cursor.endEditBlock();
}
