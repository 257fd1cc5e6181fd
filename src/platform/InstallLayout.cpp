#include "platform/InstallLayout.h"

#include "BuildInfo.h"

#include <QDir>

QString InstallLayout::companionFolder(const QString& executableFolder, const QString& inBuild) {
    const QString folder = QDir::cleanPath(executableFolder);
    const QString build = QDir::cleanPath(QString::fromUtf8(BuildInfo::buildDir));
    if (folder == build || folder.startsWith(build + QLatin1Char('/')))
        return QDir::cleanPath(inBuild);
    return QDir::cleanPath(folder + QLatin1Char('/') +
                           QString::fromUtf8(BuildInfo::pluginModuleDirFromBinary));
}
