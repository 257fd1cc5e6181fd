#include "core/DocumentFile.h"

#include "core/L10n.h"
#include "core/Utf8.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF", 3);

LineEnding firstLineEnding(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\n'))
            return LineEnding::LF;
        if (text[i] == QLatin1Char('\r'))
            return (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ? LineEnding::CRLF
                                                                             : LineEnding::CR;
    }
    return LineEnding::LF;
}

QString toLf(QString text) {
    if (!text.contains(QLatin1Char('\r')))
        return text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

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
    case Kind::ReadFailed:
        text = L10n::tr("“%1” couldn’t be read.");
        break;
    case Kind::WriteFailed:
        text = L10n::tr("“%1” couldn’t be saved.");
        break;
    case Kind::NotEncodable:
        text = L10n::tr("“%1” couldn’t be saved because its text can’t be written as UTF-8.");
        break;
    }
    text = text.arg(name);
    if (!detail.isEmpty())
        text += QLatin1Char(' ') + detail;
    return text;
}

std::optional<DocumentFileContents> DocumentFile::decode(const QByteArray& bytes) {
    const bool bom = bytes.startsWith(utf8Bom);
    const auto text = Utf8::decode(QByteArrayView(bytes).sliced(bom ? 3 : 0));
    if (!text)
        return std::nullopt;
    DocumentFileContents contents;
    contents.lineEnding = firstLineEnding(*text);
    contents.text = toLf(*text);
    contents.hasBom = bom;
    contents.bytes = bytes;
    return contents;
}

std::optional<QByteArray> DocumentFile::encode(const QString& text, LineEnding lineEnding,
                                               bool hasBom) {
    QString styled = text;
    if (lineEnding == LineEnding::CRLF)
        styled.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    else if (lineEnding == LineEnding::CR)
        styled.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    auto bytes = Utf8::encode(styled);
    if (!bytes)
        return std::nullopt;
    if (hasBom)
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
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return fail(DocumentFileError::Kind::NotARegularFile);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(DocumentFileError::Kind::ReadFailed, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(DocumentFileError::Kind::ReadFailed, file.errorString());
    auto contents = decode(bytes);
    if (!contents)
        return fail(DocumentFileError::Kind::NotUtf8);
    return contents;
}

bool DocumentFile::write(const QString& path, const QByteArray& bytes, DocumentFileError* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = DocumentFileError{DocumentFileError::Kind::WriteFailed, path, file.errorString()};
    return false;
}
