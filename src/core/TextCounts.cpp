#include "core/TextCounts.h"

#include <QTextBoundaryFinder>

namespace {

// Units that never join a grapheme cluster with their neighbours and never
// carry a word separator on: no marks, joiners, regional indicators, Hangul
// jamo, emoji or carriage returns.
bool isPlain(char16_t u) {
    return u == u'\t' || u == u'\n' || (u >= 0x20 && u <= 0x7E) || (u >= 0xC0 && u <= 0x24F) ||
           (u >= 0x391 && u <= 0x3A9) || (u >= 0x3B1 && u <= 0x3C9) || (u >= 0x410 && u <= 0x44F) ||
           (u >= 0x5D0 && u <= 0x5EA) || (u >= 0x621 && u <= 0x63A) || (u >= 0x641 && u <= 0x64A) ||
           u == 0x2028 || u == 0x2029 || (u >= 0x3000 && u <= 0x3002) ||
           (u >= 0x3041 && u <= 0x3096) || (u >= 0x30A1 && u <= 0x30FA) ||
           (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF);
}

} // namespace

int TextCounts::words(QStringView text, WordState state) {
    int count = 0;
    for (const QChar c : text) {
        if (c.isSpace() || (state.afterSeparator && c.isMark())) {
            state = {false, true};
            continue;
        }
        if (!state.inWord)
            ++count;
        state = {true, false};
    }
    return count;
}

int TextCounts::characters(QStringView text) {
    if (text.isEmpty())
        return 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), int(text.size()));
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

bool TextCounts::isFixedPoint(QChar before, QChar after) {
    return isPlain(before.unicode()) && isPlain(after.unicode());
}

TextCounts::WordState TextCounts::stateAfter(QChar unit) {
    const bool separator = unit.isSpace();
    return {!separator, separator};
}
