#include "shell/LaunchArguments.h"

#include "core/SystemPath.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

// A file URL of another machine names no file here.
bool isLocalFileUrl(const QUrl& url) {
    return url.isLocalFile() && (url.host().isEmpty() || url.host() == QLatin1String("localhost"));
}

} // namespace

bool LaunchArguments::isUrl(const QString& argument) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    // quon's own scheme with or without "//": a request (or a malformed one
    // to refuse), never the name of a file to open.
    return scheme.match(argument).hasMatch() ||
           argument.startsWith(QLatin1String("quon:"), Qt::CaseInsensitive);
}

QStringList LaunchArguments::normalise(const QStringList& arguments,
                                       const QString& workingDirectory) {
    QStringList result;
    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        if (!isUrl(argument)) {
            result.append(SystemPath::resolved(argument, workingDirectory));
            continue;
        }
        QUrl url(argument);
        if (!isLocalFileUrl(url)) {
            result.append(argument);
            continue;
        }
        // "file://localhost/x" is /x, not a network path.
        url.setHost({});
        result.append(SystemPath::resolved(url.toLocalFile()));
    }
    return result;
}
