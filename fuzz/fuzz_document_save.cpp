// The document's bytes: an unedited document saves back byte for byte, an
// edit changes only the bytes of what it replaced, and undoing the edit
// gives the file's own bytes back.
#include "FuzzSupport.h"

#include "core/DocumentFile.h"
#include "core/MarkdownDocument.h"
#include "core/TextEncodingGuess.h"

#include "core/Utf8.h"
#include "support/HostileFiles.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QString describe(const QByteArray& bytes, const QByteArray& after) {
    return QStringLiteral("file ") + QString::fromLatin1(bytes.toHex(' ').left(3000)) +
           QStringLiteral("\nsaved ") + QString::fromLatin1(after.toHex(' ').left(3000));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
    FuzzedDataProvider data(input, size);
    const qsizetype positionSeed = data.ConsumeIntegral<qsizetype>();
    const qsizetype removedSeed = data.ConsumeIntegralInRange<qsizetype>(0, 32);
    // The document holds LF breaks only, and so does what an edit adds.
    const QString added = Fuzz::text(data, 32)
                              .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                              .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const std::string rest = data.ConsumeRemainingBytesAsString();
    QByteArray bytes(rest.data(), qsizetype(rest.size()));
    if (!DocumentFile::decode(bytes))
        bytes = QString::fromUtf8(bytes).toUtf8(); // broken sequences become U+FFFD
    // Bytes that look like UTF-16 are offered a conversion, never opened.
    if (TextEncodingGuess::isUtf16ReadingAsUtf8(bytes))
        return 0;

    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.md"));
    DocumentFileError error;
    Fuzz::check(DocumentFile::write(path, bytes, &error), "the file can be written",
                error.message());
    const std::unique_ptr<MarkdownDocument> opened = MarkdownDocument::open(path, &error);
    Fuzz::check(bool(opened), "valid UTF-8 opens", error.message());
    Fuzz::check(opened->save(path, &error), "an unedited document saves", error.message());
    QFile file(path);
    Fuzz::check(file.open(QIODevice::ReadOnly), "the saved file reads");
    const QByteArray saved = file.readAll();
    Fuzz::check(saved == bytes, "an unedited save is byte for byte", describe(bytes, saved));
    Fuzz::check(!opened->isModified(), "a saved document is unmodified");

    MarkdownDocument& document = *opened;
    const QString text = document.text();
    // Edits keep surrogate pairs whole, as the editor's do.
    const auto splitsPair = [&text](qsizetype at) {
        return at > 0 && at < text.size() && text.at(at).isLowSurrogate() &&
               text.at(at - 1).isHighSurrogate();
    };
    qsizetype position = qAbs(positionSeed % (text.size() + 1));
    position -= splitsPair(position) ? 1 : 0;
    qsizetype removed = qMin(removedSeed, text.size() - position);
    removed += splitsPair(position + removed) ? 1 : 0;
    const QString replaced = text.mid(position, removed);
    document.replace(position, removed, added);
    const QString edited = document.text();
    Fuzz::check(edited == QString(text).replace(position, removed, added), "the edit is applied",
                Fuzz::quoted(text) + QStringLiteral("\nedited with\n") + Fuzz::quoted(added) +
                    QStringLiteral("\nto\n") + Fuzz::quoted(edited));
    // A U+FEFF that starts a file without a BOM is written as one and read
    // back as one.
    const bool becomesBom = !document.hasBom() && edited.startsWith(QChar(0xFEFF));
    if (const std::optional<QByteArray> after = document.fileBytes(); after && !becomesBom) {
        // Text whose NULs pair up with every other byte reads as UTF-16.
        const std::optional<DocumentFileContents> reread = DocumentFile::decode(*after);
        Fuzz::check((reread && reread->text == edited) ||
                        (!reread && TextEncodingGuess::isUtf16ReadingAsUtf8(*after)),
                    "the saved bytes read back as the text", describe(bytes, *after));
        const QByteArray head = bytes.left(HostileFiles::byteOffset(bytes, position));
        const QByteArray tail = bytes.mid(HostileFiles::byteOffset(bytes, position + removed));
        Fuzz::check(after->startsWith(head) && after->endsWith(tail) &&
                        after->size() >= head.size() + tail.size(),
                    "an edit changes only what it replaced", describe(bytes, *after));
    } else if (!after) {
        Fuzz::check(!Utf8::encode(edited), "only text that is no UTF-16 cannot be saved");
    }

    document.replace(position, added.size(), replaced);
    Fuzz::check(document.text() == text, "the reverse edit restores the text");
    // With mixed endings, a break put back takes the ending of the line it
    // splits, which may differ from the one removed.
    if (!DocumentFile::decode(bytes)->endings.isEmpty())
        return 0;
    Fuzz::check(!document.isModified() && document.fileBytes() == bytes,
                "the reverse edit gives the file's bytes back",
                QStringLiteral("at %1 removing %2 adding ").arg(position).arg(removed) +
                    Fuzz::quoted(added) + QStringLiteral("\nin\n") + Fuzz::quoted(text));
    return 0;
}
