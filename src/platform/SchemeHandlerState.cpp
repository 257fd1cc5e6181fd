#include "platform/SchemeHandlerState.h"

#include "common/AppIdentity.h"
#include "platform/DesktopEntry.h"
#include "platform/GuardedRead.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <sys/stat.h>

namespace {

// Far more than any state of ours.
constexpr qint64 stateSizeLimit = 256 * 1024;

QString homeFolder(const char* variable, const char* fallback) {
    const QString set = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(set) ? set : QDir::homePath() + QLatin1Char('/') + fallback;
}

QStringList folderList(const char* variable, const char* fallback) {
    QString set = qEnvironmentVariable(variable);
    if (set.isEmpty())
        set = QLatin1String(fallback);
    QStringList kept;
    for (const QString& folder : set.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(folder))
            kept.append(folder);
    return kept;
}

// "gnome", "ubuntu" of XDG_CURRENT_DESKTOP: each has a list of its own.
QStringList desktopLists() {
    QStringList lists;
    for (const QString& desktop :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        lists.append(desktop.toLower() + QStringLiteral("-mimeapps.list"));
    lists.append(QStringLiteral("mimeapps.list"));
    return lists;
}

// Path, then what changes with any write, rename over or removal.
void stamp(QByteArray& state, const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    state += native;
    struct stat info {};
    if (::stat(native.constData(), &info) != 0) {
        state += " -\n";
        return;
    }
    state += ' ' + QByteArray::number(qulonglong(info.st_ino)) + ' ' +
             QByteArray::number(qlonglong(info.st_size)) + ' ' +
             QByteArray::number(qlonglong(info.st_mtim.tv_sec)) + '.' +
             QByteArray::number(qlonglong(info.st_mtim.tv_nsec)) + '\n';
}

} // namespace

QByteArray SchemeHandlerState::current() {
    QByteArray state = "exec " + QFile::encodeName(QCoreApplication::applicationFilePath()) + '\n';
    // The desktop decides which lookup xdg-mime makes.
    for (const char* variable :
         {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
        state += QByteArray(variable) + '=' + qgetenv(variable) + '\n';
    const QStringList lists = desktopLists();
    QStringList configFolders{homeFolder("XDG_CONFIG_HOME", ".config")};
    configFolders += folderList("XDG_CONFIG_DIRS", "/etc/xdg");
    for (const QString& folder : configFolders)
        for (const QString& list : lists)
            stamp(state, folder + QLatin1Char('/') + list);
    QStringList dataFolders{homeFolder("XDG_DATA_HOME", ".local/share")};
    dataFolders += folderList("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    for (const QString& folder : dataFolders) {
        const QString applications = folder + QStringLiteral("/applications");
        // The folder's own stamp changes when an entry comes or goes.
        stamp(state, applications);
        for (const QString& list : lists)
            stamp(state, applications + QLatin1Char('/') + list);
        for (const char* file : {"defaults.list", "mimeinfo.cache", DesktopEntry::fileName})
            stamp(state, applications + QLatin1Char('/') + QLatin1String(file));
    }
    return state;
}

QString SchemeHandlerState::path() {
    return homeFolder("XDG_CACHE_HOME", ".cache") +
           QStringLiteral("/" QUON_CONFIG_DIR "/scheme-handler-state");
}

QByteArray SchemeHandlerState::remembered() {
    const GuardedRead::Result read = GuardedRead::read(path(), stateSizeLimit);
    return read.ok() ? read.bytes : QByteArray();
}

bool SchemeHandlerState::remember(const QByteArray& state) {
    const QString file = path();
    if (!QDir().mkpath(QFileInfo(file).path()))
        return false;
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(state) == state.size() && out.commit();
}
