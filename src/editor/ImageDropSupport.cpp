#include "editor/ImageDropSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace ImageDropSupport {

namespace {

bool isImageType(const QMimeType& type) {
    return type.isValid() && type.name().startsWith(QLatin1String("image/"));
}

bool hasBalancedParentheses(const QString& path) {
    int depth = 0;
    for (QChar c : path) {
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && --depth < 0)
            return false;
    }
    return depth == 0;
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isLineBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// Every character of a link's text that Markdown would read as markup:
// escapes, brackets, code, emphasis, strikethrough, entities, HTML, table
// cells, footnotes, and the quotes smart punctuation would curl.
const QLatin1String textMarkup("\\[]`*_~&<>|^'\"");

// The alternative text exactly as the name reads, a line break aside (it
// could end the paragraph), which becomes a blank.
QString escapedText(const QString& name) {
    QString out;
    out.reserve(name.size() * 2);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (isLineBreak(c)) {
            out += QLatin1Char(' ');
            continue;
        }
        // Runs of dots or dashes would become an ellipsis or a dash.
        const bool run = (c == QLatin1Char('.') || c == QLatin1Char('-')) &&
                         ((i > 0 && name[i - 1] == c) || (i + 1 < name.size() && name[i + 1] == c));
        if (run || textMarkup.contains(c))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

bool looksLikeScheme(const QString& path) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return scheme.match(path).hasMatch();
}

// What the image resolver would read differently: blanks at either end (it
// trims them), a relative path that starts like a URL ("http:x.png"), and
// line breaks, which no link can hold. Such a path is written
// percent-encoded, which the resolver undoes for a path it cannot find as
// written.
bool needsPercentEncoding(const QString& path, bool relative) {
    if (path.isEmpty())
        return false;
    if (isBlank(path.front()) || isBlank(path.back()) || (relative && looksLikeScheme(path)))
        return true;
    return std::any_of(path.begin(), path.end(), isLineBreak);
}

QString percentEncoded(const QString& path) {
    qsizetype first = 0;
    while (first < path.size() && isBlank(path[first]))
        ++first;
    qsizetype last = path.size();
    while (last > first && isBlank(path[last - 1]))
        --last;
    QString out;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        if (i < first || i >= last || isLineBreak(c) || c == QLatin1Char('%') ||
            c == QLatin1Char(':'))
            out += QLatin1Char('%') +
                   QString::number(c.unicode(), 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

// A bare destination ends at white space or a control character and takes
// parentheses only balanced.
bool needsAngleBrackets(const QString& path) {
    for (QChar c : path)
        if (c.isSpace() || c.category() == QChar::Other_Control || c == QLatin1Char('<') ||
            c == QLatin1Char('>') || c == QLatin1Char('[') || c == QLatin1Char(']') ||
            c == QLatin1Char('\\'))
            return true;
    return !hasBalancedParentheses(path);
}

QString escapedDestination(const QString& path, bool relative) {
    const QString written = needsPercentEncoding(path, relative) ? percentEncoded(path) : path;
    const bool angle = needsAngleBrackets(written);
    QString out;
    for (QChar c : written) {
        // The parser decodes entities in a destination before it reads
        // backslash escapes: "&" can only be written as an entity.
        if (c == QLatin1Char('&')) {
            out += QLatin1String("&amp;");
            continue;
        }
        if (c == QLatin1Char('\\') || (angle && (c == QLatin1Char('<') || c == QLatin1Char('>'))))
            out += QLatin1Char('\\');
        out += c;
    }
    return angle ? QLatin1Char('<') + out + QLatin1Char('>') : out;
}

const QSet<QString>& imageExtensions() {
    static const QSet<QString> extensions{QStringLiteral("png"),  QStringLiteral("jpg"),
                                          QStringLiteral("jpeg"), QStringLiteral("gif"),
                                          QStringLiteral("webp"), QStringLiteral("svg"),
                                          QStringLiteral("heic"), QStringLiteral("tif"),
                                          QStringLiteral("tiff"), QStringLiteral("bmp")};
    return extensions;
}

} // namespace

bool isImageFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return false;
    // The extension needs no read; the type database reads the content only
    // when the name says nothing (x.dat).
    return imageExtensions().contains(info.suffix().toLower()) ||
           isImageType(QMimeDatabase().mimeTypeForFile(info));
}

QList<QUrl> imageUrls(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    return imageUrls(data->urls());
}

QList<QUrl> imageUrls(const QList<QUrl>& urls) {
    QList<QUrl> images;
    for (const QUrl& url : urls)
        if (url.isLocalFile() && isImageFile(url.toLocalFile()))
            images.append(url);
    return images;
}

QString referencePath(const QUrl& image, const QString& documentDirectory) {
    const QString path = image.toLocalFile();
    if (documentDirectory.isEmpty())
        return path;
    QString folder = QDir::cleanPath(documentDirectory);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QString clean = QDir::cleanPath(path);
    if (clean.startsWith(folder) && clean.size() > folder.size())
        return clean.mid(folder.size());
    return path;
}

QString reference(const QUrl& image, const QString& documentDirectory) {
    const QString name = QFileInfo(image.toLocalFile()).completeBaseName();
    const QString path = referencePath(image, documentDirectory);
    const bool relative = !path.startsWith(QLatin1Char('/'));
    return QStringLiteral("![") + escapedText(name) + QStringLiteral("](") +
           escapedDestination(path, relative) + QLatin1Char(')');
}

QString references(const QList<QUrl>& images, const QString& documentDirectory) {
    QString out;
    for (const QUrl& image : images)
        out += reference(image, documentDirectory) + QLatin1Char('\n');
    return out;
}

} // namespace ImageDropSupport
