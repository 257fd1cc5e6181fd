#include "editor/ImageDropSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
#include <QSet>

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

bool breaksLinkText(const QString& name) {
    for (QChar c : name)
        if (c == QLatin1Char('[') || c == QLatin1Char(']') || c == QLatin1Char('\\'))
            return true;
    return false;
}

bool breaksDestination(const QString& path) {
    for (QChar c : path)
        if (c.isSpace() || c.category() == QChar::Other_Control || c == QLatin1Char('<') ||
            c == QLatin1Char('>') || c == QLatin1Char('[') || c == QLatin1Char(']') ||
            c == QLatin1Char('\\'))
            return true;
    return !hasBalancedParentheses(path);
}

QString escaped(const QString& text, QLatin1String special) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (special.contains(c))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
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
    if (!breaksLinkText(name) && !breaksDestination(path))
        return QStringLiteral("![") + name + QStringLiteral("](") + path + QLatin1Char(')');
    return QStringLiteral("![") + escaped(name, QLatin1String("[]\\")) + QStringLiteral("](<") +
           escaped(path, QLatin1String("<>\\")) + QStringLiteral(">)");
}

QString references(const QList<QUrl>& images, const QString& documentDirectory) {
    QString out;
    for (const QUrl& image : images)
        out += reference(image, documentDirectory) + QLatin1Char('\n');
    return out;
}

} // namespace ImageDropSupport
