#include "core/AppDataResetService.h"

#include "common/AppIdentity.h"
#include "core/Preferences.h"
#include "platform/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The path with every link resolved; the part that does not exist (or lies
// behind a link to nothing) is appended as it is: nothing there can be deleted.
QString resolved(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    QString existing = clean;
    while (!QFileInfo::exists(existing) && existing != QLatin1String("/"))
        existing = QFileInfo(existing).path();
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    if (canonical.isEmpty())
        return {};
    return QDir::cleanPath(canonical + QLatin1Char('/') + clean.mid(existing.size()));
}

// The XDG base folder named by the variable, or its default under home when
// the variable is empty, with its links resolved. Empty when the folder
// cannot be trusted: a base that is home, "/" or a folder above home would
// make a "quon" folder of the user's own look like quon's.
QString baseFolder(const char* variable, const char* defaultUnderHome) {
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty())
        base = QDir::homePath() + QLatin1Char('/') + QLatin1String(defaultUnderHome);
    if (!QDir::isAbsolutePath(base))
        return {};
    base = resolved(base);
    const QString home = resolved(QDir::homePath());
    if (base.isEmpty() || home.isEmpty() || base == QLatin1String("/") || base == home ||
        home.startsWith(base + QLatin1Char('/')))
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
    if (info.isSymLink()) {
        QFile::remove(path);
        return;
    }
    // The paths are built on resolved bases: a link on the way to this one
    // (quon's folder of a file) leads outside, to what is not quon's.
    if (resolved(info.path()) != info.path())
        return;
    if (info.isDir())
        QDir(path).removeRecursively();
    else if (info.exists())
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
