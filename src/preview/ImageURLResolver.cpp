#include "preview/ImageURLResolver.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString trimSpacesAndTabs(const QString& s) {
    qsizetype start = 0;
    qsizetype end = s.size();
    auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (start < end && blank(s[start]))
        ++start;
    while (end > start && blank(s[end - 1]))
        --end;
    return s.mid(start, end - start);
}

// The path as written, else once more percent-decoded ("my%20pic.png"), since
// people write sources the way a browser would want them.
std::optional<QString> existingPath(const QString& path) {
    if (QFileInfo::exists(path))
        return path;
    const QString decoded = QUrl::fromPercentEncoding(path.toUtf8());
    if (decoded != path && QFileInfo::exists(decoded))
        return decoded;
    return std::nullopt;
}

QString schemeAsWritten(const QString& s) {
    const qsizetype colon = s.indexOf(u':');
    return colon > 0 ? s.left(colon) : QString();
}

} // namespace

bool ImageURLResolver::isWebUrl(const QUrl& url) {
    return url.isValid() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

std::optional<QUrl> ImageURLResolver::resolve(const QString& source,
                                              const QString& documentDirectory) {
    const QString s = trimSpacesAndTabs(source);

    if (s.startsWith(QLatin1String("file://"))) {
        const QUrl url(s, QUrl::StrictMode);
        if (url.isValid() && url.isLocalFile()) {
            if (QFileInfo::exists(url.toLocalFile()))
                return url;
            return std::nullopt;
        }
    }

    if (s.startsWith(u'/')) {
        if (const auto path = existingPath(s))
            return QUrl::fromLocalFile(*path);
        return std::nullopt;
    }

    // The scheme is compared as written: QUrl would lower-case "HTTP".
    const QString scheme = schemeAsWritten(s);
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
        const QUrl url(s);
        if (url.isValid())
            return url;
    }

    if (!s.isEmpty() && !documentDirectory.isEmpty()) {
        QString folder = documentDirectory;
        if (!folder.endsWith(u'/'))
            folder += u'/';
        if (const auto path = existingPath(folder + s))
            return QUrl::fromLocalFile(*path);
    }

    if (!s.isEmpty()) {
        if (const auto path = existingPath(s))
            return QUrl::fromLocalFile(QDir::current().absoluteFilePath(*path));
    }
    return std::nullopt;
}
