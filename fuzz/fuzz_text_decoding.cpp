// Reading a file that is not strict UTF-8, and the HTML-to-Markdown
// conversion of its text: the Markdown copy can always be written, and text
// that was strict UTF-8 comes through unchanged.
#include "FuzzSupport.h"

#include "core/TextEncodingGuess.h"
#include "core/Utf8.h"
#include "shell/DocumentOpener.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const DocumentOpener::DecodedText decoded = DocumentOpener::decodeText(bytes);
    Fuzz::check(Utf8::encode(decoded.text).has_value(), "decoded text is valid UTF-16",
                Fuzz::quoted(decoded.text));

    // Strict UTF-8 reads as itself wherever it opens as itself: only what
    // is refused as UTF-16 without a mark reads otherwise.
    const std::optional<QString> strict = Utf8::decode(bytes);
    if (strict && !TextEncodingGuess::isUtf16ReadingAsUtf8(bytes)) {
        const QString expected = strict->startsWith(QChar(0xFEFF)) ? strict->mid(1) : *strict;
        Fuzz::check(decoded.text == expected && !decoded.hasUnreadableBytes,
                    "strict UTF-8 reads as itself", Fuzz::quoted(decoded.text));
    }

    const QString markdown = DocumentOpener::htmlToMarkdown(decoded.text);
    Fuzz::check(Utf8::encode(markdown).has_value(), "the converted copy is valid UTF-16",
                Fuzz::quoted(markdown));
    return 0;
}
