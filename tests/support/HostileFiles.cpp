#include "support/HostileFiles.h"

#include <QStringEncoder>

namespace {

QByteArray repeated(const QByteArray& piece, qsizetype count) {
    QByteArray out;
    out.reserve(piece.size() * count);
    for (qsizetype i = 0; i < count; ++i)
        out += piece;
    return out;
}

QByteArray utf16(const QString& text, QStringConverter::Encoding encoding, bool bom) {
    QStringEncoder encoder(encoding, bom ? QStringConverter::Flag::WriteBom
                                         : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

// Nested lists, each level indented under the one before.
QByteArray nestedList(int depth) {
    QByteArray out;
    for (int level = 0; level < depth; ++level)
        out += QByteArray(level * 2, ' ') + (level % 2 ? "1. item\n" : "- item\n");
    return out;
}

} // namespace

QList<HostileFiles::Sample> HostileFiles::samples(qsizetype longLineBytes) {
    const QString prose = QStringLiteral("# Título\n\nCafé “quoted” — naïve – €5\n\n- [ ] task\n");
    QList<Sample> out;
    const auto add = [&out](const char* name, const QByteArray& bytes, bool isUtf8 = true) {
        out.append({QString::fromLatin1(name) + QStringLiteral(".md"), bytes, isUtf8});
    };
    add("latin1", prose.toLatin1(), false);
    add("windows-1252", "\x93quoted\x94 \x80 costs \x97 dash\r\n\x85\r\n", false);
    add("utf16le-bom", utf16(prose, QStringConverter::Utf16LE, true), false);
    add("utf16be-bom", utf16(prose, QStringConverter::Utf16BE, true), false);
    add("utf16le", utf16(prose, QStringConverter::Utf16LE, false), false);
    add("utf16be", utf16(prose, QStringConverter::Utf16BE, false), false);
    add("utf8-truncated", prose.toUtf8() + "costs \xE2\x82", false);
    add("utf8-invalid", "overlong \xC0\xAF surrogate \xED\xA0\x80 stray \xFF\xFE end\n", false);
    add("utf8-bom-crlf", "\xEF\xBB\xBF# Title\r\n\r\nText\r\n", true);
    add("bom-only", "\xEF\xBB\xBF");
    add("empty", "");
    add("nul", QByteArray("a\0b\n\0\n`\0`\n", 11));
    add("cr-only", "# One\r\rtwo\rthree\r- item\r");
    add("crlf-no-final-break", "one\r\ntwo\r\nthree");
    add("mixed-endings", "lf\ncrlf\r\ncr\rcr-lf-pair\r\r\nend\n\n\r\n");
    add("separators", QStringLiteral("line\u2028same paragraph\u2029next\u00A0nbsp\uFDD0\uFDD1"
                                     "\n\u00A0\n\u2029\u2028")
                          .toUtf8());
    add("astral", QStringLiteral("emoji 😀 and 𝔘 **𝒷𝑜𝓁𝒹**\n").toUtf8());
    add("one-line", repeated("lorem ipsum ", longLineBytes / 12 + 1).left(longLineBytes));
    add("deep-quotes", repeated(">", 5000) + " deep\n" + repeated("> ", 200) + "lazy\ncont\n");
    add("deep-lists", nestedList(400));
    add("deep-inline", repeated("*_[", 3000) + "x" + repeated("](y)_*", 3000) + "\n");
    add("backticks", repeated("`", 1000) + " span " + repeated("`", 1000) + "\n" +
                         repeated("`", 999) + " unmatched\n" + repeated("``` x\n", 50));
    add("long-table", "| a | b |\n|---|---|\n" + repeated("| c |", 2000) + "\n");
    return out;
}

qsizetype HostileFiles::byteOffset(const QByteArray& bytes, qsizetype position) {
    qsizetype at = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    for (qsizetype unit = 0; unit < position && at < bytes.size();) {
        const auto lead = uchar(bytes[at]);
        if (lead == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') {
            at += 2;
            ++unit;
            continue;
        }
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        at += length;
        unit += length == 4 ? 2 : 1;
    }
    return at;
}
