#pragma once

#include <QtGlobal>

// One find match: a start and a length, in UTF-16 units of the editor text.
struct TextRange {
    int location = 0;
    int length = 0;

    qint64 end() const { return qint64(location) + length; }
    // Whether the range lies wholly within a text of the given length.
    bool liesWithin(int textLength) const {
        return location >= 0 && length >= 0 && location <= textLength - length;
    }

    bool operator==(const TextRange&) const = default;
};
