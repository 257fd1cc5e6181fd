#include "shell/LaunchArguments.h"

#include "core/SystemPath.h"
#include "shell/AppDelegate.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

// A file URL of another machine names no file here.
bool isLocalFileUrl(const QUrl& url) {
    return url.isLocalFile() && (url.host().isEmpty() || url.host() == QLatin1String("localhost"));
}

// Why a URL that is no new-file request is not taken. In English, as a
// terminal tool speaks: a quon that hands over loads no language at all.
QString refusalReason(const QString& argument) {
    const QString scheme = argument.section(QLatin1Char(':'), 0, 0);
    if (scheme.compare(QLatin1String("quon"), Qt::CaseInsensitive) == 0) {
        if (!argument.mid(scheme.size() + 1).startsWith(QLatin1String("//")))
            return QStringLiteral("a new-file request begins with \"quon://new-file\"");
        return QStringLiteral("quon takes only \"quon://new-file\" requests");
    }
    const QUrl url(argument);
    if (url.isLocalFile())
        return QStringLiteral("the file is on another computer (%1)").arg(url.host());
    return QStringLiteral("quon opens files on this computer, not %1 URLs").arg(scheme);
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

LaunchArguments::Reading LaunchArguments::read(const QStringList& arguments,
                                               const QString& workingDirectory) {
    Reading reading;
    for (const QString& argument : normalise(arguments, workingDirectory)) {
        if (!isUrl(argument) || AppDelegate::isNewFileRequest(argument))
            reading.taken.append(argument);
        else
            reading.refused.append({argument, refusalReason(argument)});
    }
    return reading;
}

QString LaunchArguments::refusalLine(const Refusal& refusal) {
    return QStringLiteral("quon: \"%1\" not taken: %2\n").arg(refusal.argument, refusal.reason);
}
