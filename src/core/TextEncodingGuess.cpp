#include "core/TextEncodingGuess.h"

#include "core/Utf8.h"

#include <QStringDecoder>
#include <algorithm>
#include <optional>

namespace TextEncodingGuess {

namespace {

constexpr qsizetype utf16SampleBytes = 4096;

// 0x80-0x9F of Windows-1252; 0 where the code page has no character.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendCodePoint(QString& text, char32_t codePoint) {
    if (QChar::requiresSurrogates(codePoint)) {
        text += QChar(QChar::highSurrogate(codePoint));
        text += QChar(QChar::lowSurrogate(codePoint));
    } else {
        text += QChar(char16_t(codePoint));
    }
}

// One UTF-8 sequence from a given byte: its length and whether it is valid.
// An invalid one is its maximal valid beginning (at least one byte), so each
// broken sequence becomes one U+FFFD.
struct Utf8Step {
    int length = 1;
    bool valid = true;
    bool cutShort = false; // a valid beginning that the end of the bytes cut off
    char32_t codePoint = 0;
};

Utf8Step utf8Step(QByteArrayView bytes, qsizetype at) {
    const auto lead = uchar(bytes[at]);
    if (lead < 0x80)
        return {1, true, false, lead};
    int continuations = 0;
    uchar low = 0x80;
    uchar high = 0xBF;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuations = 1;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuations = 2;
        codePoint = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuations = 3;
        codePoint = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return {1, false, false, 0};
    }
    int length = 1;
    for (int k = 0; k < continuations; ++k) {
        if (at + length >= bytes.size())
            return {length, false, true, 0};
        const auto byte = uchar(bytes[at + length]);
        if (byte < low || byte > high)
            return {length, false, false, 0};
        codePoint = (codePoint << 6) | (byte & 0x3F);
        low = 0x80;
        high = 0xBF;
        ++length;
    }
    return {length, true, false, codePoint};
}

// UTF-8 that is broken in a few places only: no more broken places (runs of
// bad bytes) than valid multi-byte characters, or just a last character cut
// short. Windows-1252 text almost never holds a valid multi-byte sequence.
bool isMostlyUtf8(QByteArrayView bytes) {
    int multiByte = 0;
    int brokenPlaces = 0;
    bool cutAtEnd = false;
    bool previousBroken = false;
    for (qsizetype at = 0; at < bytes.size();) {
        const Utf8Step step = utf8Step(bytes, at);
        if (step.valid)
            multiByte += step.length > 1 ? 1 : 0;
        else if (!previousBroken)
            ++brokenPlaces;
        previousBroken = !step.valid;
        cutAtEnd = step.cutShort;
        at += step.length;
    }
    return brokenPlaces <= multiByte || (brokenPlaces == 1 && cutAtEnd);
}

DecodedText utf8WithReplacements(QByteArrayView bytes) {
    DecodedText out;
    out.text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        const Utf8Step step = utf8Step(bytes, at);
        if (step.valid) {
            appendCodePoint(out.text, step.codePoint);
        } else {
            out.text += QChar(QChar::ReplacementCharacter);
            out.hasUnreadableBytes = true;
        }
        at += step.length;
    }
    return out;
}

DecodedText windows1252(QByteArrayView bytes) {
    DecodedText out;
    out.text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = uchar(c);
        char16_t unit = byte;
        if (byte >= 0x80 && byte < 0xA0) {
            unit = windows1252High[byte - 0x80];
            if (unit == 0) {
                unit = QChar::ReplacementCharacter;
                out.hasUnreadableBytes = true;
            }
        }
        out.text += QChar(unit);
    }
    return out;
}

// The decoder passes unpaired surrogates through; text holding one could not
// be written as UTF-8, so each becomes U+FFFD.
std::optional<DecodedText> utf16(QByteArrayView bytes, QStringConverter::Encoding encoding) {
    // The mark is cut off already: a U+FEFF after it is text.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless |
                                         QStringConverter::Flag::ConvertInitialBom);
    DecodedText out{decoder.decode(bytes.first(bytes.size() & ~qsizetype(1))), false};
    if (decoder.hasError())
        return std::nullopt;
    // A byte past the last unit, as another tool appending a line break
    // leaves: ASCII stays what it is.
    if (bytes.size() % 2 != 0) {
        const auto stray = uchar(bytes.back());
        out.hasUnreadableBytes = stray == 0 || stray >= 0x80;
        out.text += out.hasUnreadableBytes ? QChar(QChar::ReplacementCharacter) : QChar(stray);
    }
    for (qsizetype i = 0; i < out.text.size(); ++i) {
        const QChar c = out.text.at(i);
        if (c.isHighSurrogate() && i + 1 < out.text.size() && out.text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            out.text[i] = QChar::ReplacementCharacter;
            out.hasUnreadableBytes = true;
        }
    }
    return out;
}

} // namespace

// Written as UTF-16, text of any script has a zero byte in many of its units:
// the high byte of spaces, line breaks, digits and Latin letters, the low
// byte of U+3000, U+4E00 or the low half of many emoji. A few NUL bytes in
// UTF-8 text are far fewer, and a NUL unit means it is no text at all.
// Spaces and line breaks tell the byte order: read the other way they would
// be U+2000, U+0A00 and the like, which text hardly holds. Without them,
// the zero bytes must lie almost all on one side.
namespace {

// Fewer units than this tell too little to take valid UTF-8 for UTF-16.
constexpr qsizetype fewestTellingUnits = 8;

// The zero bytes of the first few KB read as pairs. Index 0: the first byte
// of the pair is zero (big-endian order's high byte); 1: the second
// (little-endian order's).
struct ZeroBytes {
    qsizetype pairs = 0;
    qsizetype zeros[2] = {0, 0};
    qsizetype spaces[2] = {0, 0};
    bool nulUnit = false;
    qsizetype all() const { return zeros[0] + zeros[1]; }
};

// A last byte without a partner (an odd length) is left out: it tells
// nothing about the pairs before it.
std::optional<ZeroBytes> zeroBytes(QByteArrayView bytes) {
    if (bytes.size() < 2)
        return std::nullopt;
    const auto isSpace = [](char byte) {
        return byte == ' ' || byte == '\n' || byte == '\r' || byte == '\t';
    };
    ZeroBytes counted;
    const qsizetype sample = std::min(bytes.size(), utf16SampleBytes) & ~qsizetype(1);
    counted.pairs = sample / 2;
    for (qsizetype at = 0; at < sample; at += 2) {
        const char first = bytes[at];
        const char second = bytes[at + 1];
        if (first == 0 && second == 0) {
            counted.nulUnit = true;
            return counted;
        }
        if (first == 0) {
            ++counted.zeros[0];
            counted.spaces[0] += isSpace(second) ? 1 : 0;
        } else if (second == 0) {
            ++counted.zeros[1];
            counted.spaces[1] += isSpace(first) ? 1 : 0;
        }
    }
    return counted;
}

// The side of the pairs that holds the high bytes of UTF-16 without a mark
// (0: big-endian, 1: little-endian), as the zero bytes tell, if they do.
std::optional<int> highSide(const ZeroBytes& counted) {
    if (counted.nulUnit)
        return std::nullopt;
    const qsizetype* zeros = counted.zeros;
    const qsizetype* spaces = counted.spaces;
    const qsizetype allZeros = counted.all();
    if (allZeros == 0 || allZeros * 16 < counted.pairs)
        return std::nullopt;
    const bool bySpaces = spaces[0] != spaces[1];
    // One zero byte alone tells nothing unless it is a space's.
    if (!bySpaces && allZeros < 2)
        return std::nullopt;
    const qsizetype* evidence = bySpaces ? spaces : zeros;
    const int side = evidence[1] > evidence[0] ? 1 : 0;
    if (evidence[1 - side] * 4 > evidence[side])
        return std::nullopt;
    return side;
}

// A unit text holds: never NUL. `readsAsUtf8`: of units whose bytes read
// as UTF-8 too, only those text holds beside others of its kind: ASCII but
// control characters other than tab, line breaks and form feed; letters
// and marks of alphabetic scripts (Latin Extended, Greek, Cyrillic, Arabic,
// Indic: high bytes 0x01-0x1F) and punctuation (0x20-0x21); or a low byte
// of zero (U+3000, U+4E00). Two letters of UTF-8 text read as a unit of
// another script (U+6548 for "He"), which UTF-16 holds in ASCII bytes too
// seldom to count.
bool isTextUnit(uchar high, uchar low, bool readsAsUtf8) {
    if (!readsAsUtf8)
        return high != 0 || low != 0;
    if (high == 0)
        return low >= 0x20 || low == '\t' || low == '\n' || low == '\f' || low == '\r';
    return high <= 0x21 || low == 0;
}

// Whether every unit with its high byte on `side`, from the first byte on,
// is a unit text holds. A last byte without a partner is left out.
bool holdsThroughout(QByteArrayView bytes, int side, bool readsAsUtf8) {
    const qsizetype end = bytes.size() & ~qsizetype(1);
    for (qsizetype at = 0; at < end; at += 2) {
        if (!isTextUnit(uchar(bytes[at + side]), uchar(bytes[at + 1 - side]), readsAsUtf8))
            return false;
    }
    return true;
}

// The byte order of UTF-16 without a mark: the side the zero bytes tell, as
// long as the pattern holds over the whole text. Valid UTF-8 must be long
// enough to tell, and be UTF-16 in every unit (see isTextUnit).
std::optional<QStringConverter::Encoding> utf16WithoutMark(QByteArrayView bytes, bool readsAsUtf8) {
    const std::optional<ZeroBytes> counted = zeroBytes(bytes);
    const std::optional<int> side = counted ? highSide(*counted) : std::nullopt;
    if (!side || (readsAsUtf8 && bytes.size() / 2 < fewestTellingUnits) ||
        !holdsThroughout(bytes, *side, readsAsUtf8))
        return std::nullopt;
    return *side == 1 ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
}

} // namespace

bool isUtf16ReadingAsUtf8(QByteArrayView bytes) {
    return utf16WithoutMark(bytes, true).has_value();
}

DecodedText decode(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        const QByteArrayView body = bytes.sliced(3);
        if (auto text = Utf8::decode(body))
            return {*text, false};
        return utf8WithReplacements(body);
    }
    std::optional<DecodedText> wide;
    std::optional<QString> text;
    if (bytes.startsWith("\xFF\xFE")) {
        wide = utf16(bytes.sliced(2), QStringConverter::Utf16LE);
    } else if (bytes.startsWith("\xFE\xFF")) {
        wide = utf16(bytes.sliced(2), QStringConverter::Utf16BE);
    } else {
        text = Utf8::decode(bytes);
        if (const auto encoding = utf16WithoutMark(bytes, text.has_value()))
            wide = utf16(bytes, *encoding);
    }
    if (wide)
        return *wide;
    if (!text)
        text = Utf8::decode(bytes);
    if (text)
        return {*text, false};
    if (isMostlyUtf8(bytes))
        return utf8WithReplacements(bytes);
    return windows1252(bytes);
}

} // namespace TextEncodingGuess
