#include "core/AppDataResetService.h"

#include "common/AppIdentity.h"
#include "core/Preferences.h"
#include "platform/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The XDG base folder named by the variable, or its default under home when
// the variable is empty. Empty when the folder cannot be trusted.
QString baseFolder(const char* variable, const char* defaultUnderHome) {
    const QString home = QDir::cleanPath(QDir::homePath());
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty())
        base = home + QLatin1Char('/') + QLatin1String(defaultUnderHome);
    base = QDir::cleanPath(base);
    if (!QDir::isAbsolutePath(base) || base == QLatin1String("/") || base == home)
        return {};
    return base;
}

QString underQuon(const QString& base, const QString& name = {}) {
    if (base.isEmpty())
        return {};
    const QString folder = base + QStringLiteral("/" QUON_CONFIG_DIR);
    return name.isEmpty() ? folder : folder + QLatin1Char('/') + name;
}

void remove(const QString& path) {
    const QFileInfo info(path);
    // A link is removed, never followed.
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

} // namespace

QStringList AppDataResetService::locations() {
    const QString config = baseFolder("XDG_CONFIG_HOME", ".config");
    const QStringList all = {
        underQuon(config, QStringLiteral("quon.conf")),
        underQuon(baseFolder("XDG_STATE_HOME", ".local/state")),
        underQuon(baseFolder("XDG_CACHE_HOME", ".cache")),
        underQuon(config, QStringLiteral(QUON_EXTENSION_CONFIG_FILE)),
    };
    QStringList kept;
    for (const QString& path : all)
        if (!path.isEmpty())
            kept.append(path);
    return kept;
}

void AppDataResetService::clearAllData() {
    Preferences::shared().clearAll();
    for (const QString& path : locations())
        remove(path);
    DesktopEntry::removeOwnEntry();
}
