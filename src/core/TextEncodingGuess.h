#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringConverter>
#include <optional>

// Reads the bytes of a file that is not strict UTF-8 as the text it most
// likely holds, for a copy the user will read: never fails, and says when
// some bytes could not be turned into text.
namespace TextEncodingGuess {

struct DecodedText {
    QString text;
    // Some bytes became U+FFFD.
    bool hasUnreadableBytes = false;
};

// In this order: a byte-order mark (UTF-8, UTF-16 LE or BE); UTF-16 without
// a mark, told by its zero bytes over the first few KB and its byte order by
// the side the zero bytes of spaces and line breaks are on (else the side
// almost all zero bytes are on), with no NUL unit in the whole text, and
// where the bytes are valid UTF-8 as isUtf16ReadingAsUtf8 says;
// strict UTF-8; UTF-8 with a few broken sequences, each becoming U+FFFD;
// else Windows-1252.
DecodedText decode(QByteArrayView bytes);

// UTF-16 without a mark that is valid UTF-8 as well: its units that read as
// UTF-8 are ASCII, Latin Extended, Cyrillic and the like, each with a zero or
// control byte (U+0041 is 41 00, U+0105 is 05 01, U+0430 is 30 04). It is
// taken for UTF-16 only when every unit from the first byte on is one text
// holds, and there are enough of them to tell: a file quon wrote as UTF-8,
// with NULs and control bytes, reads as UTF-8 again. A last byte without a
// partner is left out: a line break another tool appends changes nothing.
bool isUtf16ReadingAsUtf8(QByteArrayView bytes);

} // namespace TextEncodingGuess
