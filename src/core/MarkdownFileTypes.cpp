#include "core/MarkdownFileTypes.h"

#include "core/L10n.h"

#include <QFileInfo>
#include <QMimeDatabase>

const QStringList& MarkdownFileTypes::extensions() {
    static const QStringList list = {QStringLiteral("md"), QStringLiteral("markdown"),
                                     QStringLiteral("mdown"), QStringLiteral("mkd")};
    return list;
}

QString MarkdownFileTypes::nameFilter() {
    return L10n::tr("Markdown Documents") + QStringLiteral(" (*.") +
           extensions().join(QStringLiteral(" *.")) + QLatin1Char(')');
}

bool MarkdownFileTypes::hasMarkdownExtension(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    return extensions().contains(name.mid(dot + 1).toLower());
}

bool MarkdownFileTypes::isMarkdownOrPlainText(const QString& path) {
    if (hasMarkdownExtension(path))
        return true;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    if (type.inherits(QLatin1String(markdownMimeType)))
        return true;
    // The shared MIME database files HTML and RTF under text/plain; they are
    // rich text, which opens as a converted copy, not as the document itself.
    for (const char* rich : {"text/html", "application/xhtml+xml", "application/rtf"})
        if (type.inherits(QLatin1String(rich)))
            return false;
    return type.inherits(QLatin1String(plainTextMimeType));
}

QString documentDirectory(const QUrl& fileUrl) {
    if (!fileUrl.isLocalFile())
        return {};
    return QFileInfo(fileUrl.toLocalFile()).absolutePath();
}

QString documentBaseName(const QUrl& fileUrl) {
    if (!fileUrl.isLocalFile())
        return {};
    const QString name = QFileInfo(fileUrl.toLocalFile()).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}
