#include "core/AppDataResetService.h"

#include "common/AppIdentity.h"
#include "core/Preferences.h"
#include "platform/DesktopEntry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

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

const QRegularExpression& completeCopyName() {
    static const QRegularExpression pattern(QStringLiteral("\\.quon-[0-9a-f]{6}\\.saved$"));
    return pattern;
}

// Empties a folder but for the kept paths (and the folders on their way),
// then removes it when nothing is left.
void removeAllBut(const QString& folder, const QStringList& kept) {
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const QString path = entry.filePath();
        if (kept.contains(path))
            continue;
        if (entry.isDir() && !entry.isSymLink() &&
            std::any_of(kept.begin(), kept.end(),
                        [&](const QString& k) { return k.startsWith(path + QLatin1Char('/')); }))
            removeAllBut(path, kept);
        else if (entry.isDir() && !entry.isSymLink())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
    }
    QDir().rmdir(folder);
}

void remove(const QString& path, const QStringList& kept) {
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
        removeAllBut(path, kept);
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

QStringList AppDataResetService::keptCopies() {
    const QString state = underQuon(baseFolder("XDG_STATE_HOME", ".local/state"));
    if (state.isEmpty())
        return {};
    QStringList copies;
    const QString saves = state + QStringLiteral("/saves");
    for (QDirIterator it(saves, QDir::Files | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QFileInfo copy = it.nextFileInfo();
        if (copy.isFile() && !copy.isSymLink() &&
            completeCopyName().match(copy.fileName()).hasMatch())
            copies.append(copy.filePath());
    }
    copies.sort();
    return copies;
}

void AppDataResetService::clearAllData() {
    Preferences::shared().clearAll();
    const QStringList kept = keptCopies();
    for (const QString& path : locations())
        remove(path, kept);
    DesktopEntry::removeOwnEntry();
}
