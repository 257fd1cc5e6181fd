#include "core/ExternalChangeMonitor.h"

#include <QFileInfo>

ExternalChangeMonitor::ExternalChangeMonitor(QObject* parent) : QObject(parent) {
    m_debounce.setSingleShot(true);
    m_debounce.setInterval(debounceMs);
    connect(&m_debounce, &QTimer::timeout, this, &ExternalChangeMonitor::report);
    m_rearm.setSingleShot(true);
    m_rearm.setInterval(0);
    connect(&m_rearm, &QTimer::timeout, this, [this] { arm(FolderFallback::Yes); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &ExternalChangeMonitor::fileEvent);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &ExternalChangeMonitor::folderEvent);
}

ExternalChangeMonitor::~ExternalChangeMonitor() = default;

void ExternalChangeMonitor::start(const QUrl& url) {
    stop();
    m_url = url;
    m_path = url.isLocalFile() ? url.toLocalFile() : QString();
    arm(FolderFallback::No);
}

void ExternalChangeMonitor::stop() {
    m_debounce.stop();
    m_rearm.stop();
    disarm();
    m_url.clear();
    m_path.clear();
}

bool ExternalChangeMonitor::isWatching() const {
    return !m_watcher.files().isEmpty() || !m_watcher.directories().isEmpty();
}

void ExternalChangeMonitor::disarm() {
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    m_folder.clear();
}

// Watches the file at the path as it is now: after a save by rename that is
// a different file from the one watched before.
void ExternalChangeMonitor::arm(FolderFallback fallback) {
    disarm();
    if (m_path.isEmpty())
        return;
    if (QFileInfo::exists(m_path) && m_watcher.addPath(m_path))
        return;
    if (fallback == FolderFallback::No)
        return;
    const QString folder = QFileInfo(m_path).absolutePath();
    if (m_watcher.addPath(folder))
        m_folder = folder;
}

void ExternalChangeMonitor::fileEvent(const QString& path) {
    if (m_path.isEmpty() || path != m_path)
        return;
    m_rearm.start();
    m_debounce.start();
}

void ExternalChangeMonitor::folderEvent(const QString& path) {
    if (m_folder.isEmpty() || path != m_folder || !QFileInfo::exists(m_path))
        return;
    m_rearm.start();
    m_debounce.start();
}

void ExternalChangeMonitor::report() {
    arm(FolderFallback::Yes);
    // Last: the owner may stop or restart the monitor here.
    if (onPotentialChange)
        onPotentialChange();
}
