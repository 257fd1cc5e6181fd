#pragma once

#include <QByteArrayView>
#include <QString>

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
// a mark, told by a zero byte on one side of most pairs; strict UTF-8; UTF-8
// with a few broken sequences, each becoming U+FFFD; else Windows-1252.
DecodedText decode(QByteArrayView bytes);

} // namespace TextEncodingGuess
