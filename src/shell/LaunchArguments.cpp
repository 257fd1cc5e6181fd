#include "shell/LaunchArguments.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

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
    const QDir base(workingDirectory);
    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        if (!isUrl(argument)) {
            result.append(QDir::cleanPath(base.absoluteFilePath(argument)));
            continue;
        }
        const QUrl url(argument);
        if (url.isLocalFile())
            result.append(QDir::cleanPath(url.toLocalFile()));
        else
            result.append(argument);
    }
    return result;
}
