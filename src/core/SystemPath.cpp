#include "core/SystemPath.h"

#include <QDir>
#include <QFileInfo>

QString SystemPath::resolved(const QString& path, const QString& base) {
    QString absolute = path;
    if (!QDir::isAbsolutePath(path))
        absolute = (base.isEmpty() ? QDir::currentPath() : base) + QLatin1Char('/') + path;
    const QStringList parts = absolute.split(QLatin1Char('/'));
    const qsizetype lastUp = parts.lastIndexOf(QStringLiteral(".."));
    // Without "..", dropping "." and doubled slashes names the same file.
    if (lastUp < 0)
        return QDir::cleanPath(absolute);
    // The system walks up to the last ".." itself, links and all.
    const QString walked =
        QFileInfo(parts.first(lastUp + 1).join(QLatin1Char('/'))).canonicalFilePath();
    if (walked.isEmpty())
        return absolute;
    return QDir::cleanPath(walked + QLatin1Char('/') +
                           parts.sliced(lastUp + 1).join(QLatin1Char('/')));
}
