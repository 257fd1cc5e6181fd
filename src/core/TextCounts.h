#pragma once

#include <QStringView>

// Counting the words and the user-perceived characters of a text, whole or
// piece by piece: counts of pieces cut at fixed points add up to the count of
// the whole, so an edit needs only the piece around it counted again.
namespace TextCounts {

// Words are the non-empty pieces between Unicode whitespace; a whitespace
// character and the combining marks after it are one separator.
struct WordState {
    bool inWord = false;         // the unit before belongs to a word
    bool afterSeparator = false; // the unit before is (part of) a separator
};
// The words that start in text, counting on from state.
int words(QStringView text, WordState state = {});

// Grapheme clusters: a letter with its combining marks, an emoji sequence and
// a CR LF pair each count once.
int characters(QStringView text);

// Whether the place between `before` and `after` is a fixed point: a
// character boundary whatever surrounds the pair, after which word and
// character counting depend on nothing before it. Holds for common letters,
// digits, punctuation, blanks and line breaks on both sides.
bool isFixedPoint(QChar before, QChar after);
// The word state after a unit that may stand before a fixed point.
WordState stateAfter(QChar unit);

} // namespace TextCounts
