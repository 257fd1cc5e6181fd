#include "core/DocumentFile.h"

#include "core/FileWriter.h"
#include "core/L10n.h"
#include "core/TextEncodingGuess.h"
#include "core/Utf8.h"
#include "platform/GuardedRead.h"

#include <QFileInfo>

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF", 3);

// The text with LF breaks, and what each break was in the file.
struct Breaks {
    QString text;
    LineEnding first = LineEnding::LF;
    QByteArray endings; // empty unless the endings differ
};

Breaks toLf(const QString& raw) {
    if (!raw.contains(QLatin1Char('\r')))
        return {raw, LineEnding::LF, {}};
    Breaks out;
    out.text.reserve(raw.size());
    bool seenBreak = false;
    const QChar* data = raw.constData();
    const qsizetype n = raw.size();
    qsizetype run = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c != u'\n' && c != u'\r')
            continue;
        LineEnding ending = LineEnding::LF;
        if (c == u'\r')
            ending =
                i + 1 < n && data[i + 1] == QLatin1Char('\n') ? LineEnding::CRLF : LineEnding::CR;
        out.text.append(data + run, i - run);
        if (!seenBreak) {
            seenBreak = true;
            out.first = ending;
        } else if (ending != out.first && out.endings.isEmpty()) {
            // Every break so far had the first one's ending.
            out.endings = QByteArray(n, char(out.first));
        }
        if (!out.endings.isEmpty())
            out.endings[out.text.size()] = char(ending);
        out.text.append(QLatin1Char('\n'));
        if (ending == LineEnding::CRLF)
            ++i;
        run = i + 1;
    }
    out.text.append(data + run, n - run);
    if (!out.endings.isEmpty())
        out.endings.truncate(out.text.size());
    return out;
}

const QLatin1String endingText[] = {QLatin1String("\n"), QLatin1String("\r\n"),
                                    QLatin1String("\r")};

QString displayName(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

} // namespace

QString DocumentFileError::message() const {
    const QString name = displayName(path);
    QString text;
    switch (kind) {
    case Kind::NotARegularFile:
        text = L10n::tr("“%1” is not a regular file and can’t be opened as a document.");
        break;
    case Kind::NotUtf8:
        text = L10n::tr("“%1” can’t be opened because its text isn’t valid UTF-8.");
        break;
    case Kind::TooLarge:
        text = L10n::tr("“%1” is too large to open: quon opens files of up to 64 MB.");
        break;
    case Kind::ReadFailed:
        text = L10n::tr("“%1” couldn’t be read.");
        break;
    case Kind::WriteFailed:
        text = L10n::tr("“%1” couldn’t be saved.");
        break;
    case Kind::NotEncodable:
        text = L10n::tr("“%1” couldn’t be saved because its text can’t be written as UTF-8.");
        break;
    case Kind::ChangedOnDisk:
        text = L10n::tr("“%1” wasn’t saved because another application changed it.");
        break;
    }
    text = text.arg(name);
    if (!detail.isEmpty())
        text += QLatin1Char(' ') + detail;
    if (keptCopy.isEmpty())
        return text;
    // A copy that lies elsewhere (in quon's state folder) is named in full.
    if (QFileInfo(keptCopy).absolutePath() == QFileInfo(path).absolutePath())
        text += QLatin1Char(' ') + L10n::tr("Your text is complete in “%1”, in the same folder.")
                                       .arg(displayName(keptCopy));
    else
        text += QLatin1Char(' ') + L10n::tr("Your text is complete in “%1”.").arg(keptCopy);
    return text;
}

std::optional<DocumentFileContents> DocumentFile::decode(const QByteArray& bytes) {
    const bool bom = bytes.startsWith(utf8Bom);
    // UTF-16 in ASCII is valid UTF-8 too: it would open as text full of NULs,
    // and a typed character would put UTF-8 into UTF-16.
    if (!bom && TextEncodingGuess::isUtf16ReadingAsUtf8(bytes))
        return std::nullopt;
    const auto text = Utf8::decode(QByteArrayView(bytes).sliced(bom ? 3 : 0));
    if (!text)
        return std::nullopt;
    Breaks breaks = toLf(*text);
    DocumentFileContents contents;
    contents.lineEnding = breaks.first;
    contents.text = std::move(breaks.text);
    contents.endings = std::move(breaks.endings);
    contents.hasBom = bom;
    contents.bytes = bytes;
    contents.bytesFromText = true;
    return contents;
}

std::optional<QByteArray> DocumentFile::encode(const QString& text, LineEnding lineEnding,
                                               bool hasBom, const QByteArray& endings) {
    QString styled;
    if (lineEnding == LineEnding::LF && endings.isEmpty()) {
        styled = text;
    } else {
        styled.reserve(text.size() + text.size() / 16);
        qsizetype run = 0;
        const auto endingAt = [&](qsizetype i) {
            return endings.isEmpty() ? lineEnding : LineEnding(endings[i]);
        };
        for (qsizetype i = text.indexOf(QLatin1Char('\n')); i >= 0;
             i = text.indexOf(QLatin1Char('\n'), i + 1)) {
            styled.append(QStringView(text).sliced(run, i - run));
            LineEnding ending = endingAt(i);
            // CR then LF reads back as one CRLF break: a CR line that an edit
            // brought next to an LF break is written as CRLF, so both stay.
            if (ending == LineEnding::CR && i + 1 < text.size() &&
                text[i + 1] == QLatin1Char('\n') && endingAt(i + 1) == LineEnding::LF)
                ending = LineEnding::CRLF;
            styled.append(endingText[int(ending)]);
            run = i + 1;
        }
        styled.append(QStringView(text).sliced(run));
    }
    auto bytes = Utf8::encode(styled);
    if (!bytes)
        return std::nullopt;
    // Reading takes a leading U+FEFF for the mark and drops it: a text that
    // begins with one is written after a mark, so it reads back whole.
    if (hasBom || text.startsWith(QChar(0xFEFF)))
        bytes->prepend(utf8Bom);
    return bytes;
}

std::optional<DocumentFileContents> DocumentFile::read(const QString& path,
                                                       DocumentFileError* error) {
    auto fail = [&](DocumentFileError::Kind kind, const QString& detail = {}) {
        if (error)
            *error = DocumentFileError{kind, path, detail};
        return std::nullopt;
    };
    const GuardedRead::Result read = GuardedRead::read(path, largestTextFile);
    switch (read.outcome) {
    case GuardedRead::Outcome::Read:
        break;
    case GuardedRead::Outcome::NotRegular:
        return fail(DocumentFileError::Kind::NotARegularFile);
    case GuardedRead::Outcome::TooLarge:
        return fail(DocumentFileError::Kind::TooLarge);
    case GuardedRead::Outcome::Missing:
    case GuardedRead::Outcome::Failed:
        return fail(DocumentFileError::Kind::ReadFailed, read.errorText);
    }
    auto contents = decode(read.bytes);
    if (!contents)
        return fail(DocumentFileError::Kind::NotUtf8);
    return contents;
}

bool DocumentFile::holdsOtherBytes(const QString& path, const QByteArray& expected,
                                   const std::optional<FileState>& known) {
    // Read no further than the expected bytes: anything longer differs.
    const GuardedRead::Result read = GuardedRead::read(path, expected.size());
    switch (read.outcome) {
    case GuardedRead::Outcome::Read:
        return read.bytes != expected;
    case GuardedRead::Outcome::NotRegular:
    case GuardedRead::Outcome::TooLarge:
        return true;
    case GuardedRead::Outcome::Failed:
        // Write-only, say: the same file of the same size, untouched since.
        return known && FileState::of(path) != *known;
    case GuardedRead::Outcome::Missing:
        break;
    }
    return false;
}

bool DocumentFile::write(const QString& path, const QByteArray& bytes, DocumentFileError* error,
                         const QByteArray* expectedOnDisk) {
    return write(path, bytes, error,
                 [&] { return !expectedOnDisk || !holdsOtherBytes(path, *expectedOnDisk); });
}

bool DocumentFile::write(const QString& path, const QByteArray& bytes, DocumentFileError* error,
                         const std::function<bool()>& unchanged) {
    FileWriter::Failure failure;
    if (FileWriter::replace(path, bytes, unchanged, &failure))
        return true;
    if (error)
        *error = DocumentFileError{failure.changedOnDisk ? DocumentFileError::Kind::ChangedOnDisk
                                                         : DocumentFileError::Kind::WriteFailed,
                                   path, failure.errorText, failure.keptCopy};
    return false;
}
