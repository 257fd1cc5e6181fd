#pragma once

#include <QtGlobal>

// One change of a text: `removed` units at `position` became `added` units
// (UTF-16 units of the text, as QTextDocument reports them).
struct TextChange {
    int position = 0;
    int removed = 0;
    int added = 0;

    int delta() const { return added - removed; }
    // This change followed by `later` (whose position counts in the text
    // after this one), as one change of the text before both.
    TextChange followedBy(const TextChange& later) const;
    // Fitted into a text of `length` units after the change: QTextDocument
    // counts its closing paragraph separator in some changes (a first load),
    // which reach one unit past the end on both sides.
    TextChange within(int length) const;

    bool operator==(const TextChange&) const = default;
};

inline TextChange TextChange::followedBy(const TextChange& later) const {
    const int end = position + added; // of this change, in the text between
    const int from = qMin(position, later.position);
    const int oldEnd = position + removed + qMax(0, later.position + later.removed - end);
    const int newEnd = qMax(end, later.position + later.removed) + later.delta();
    return {from, oldEnd - from, newEnd - from};
}

inline TextChange TextChange::within(int length) const {
    TextChange fitted = *this;
    fitted.position = qBound(0, position, length);
    const int excess = qMax(0, fitted.position + added - length);
    fitted.added = qMax(0, added - excess);
    fitted.removed = qMax(0, removed - excess);
    return fitted;
}
