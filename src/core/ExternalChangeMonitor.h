#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <functional>

// Watches one document's file for changes made by other programs and reports,
// once per burst and 0.3 s after its last event, that the file may have
// changed. It never reads the file: the owner compares contents itself.
//
// Editors often save by writing a new file and renaming it over the old one,
// which ends the watch on the old file; so the watch is renewed after every
// event, and while the file is missing its folder is watched until it is back.
class ExternalChangeMonitor : public QObject {
    Q_OBJECT
public:
    static constexpr int debounceMs = 300;

    explicit ExternalChangeMonitor(QObject* parent = nullptr);
    ~ExternalChangeMonitor() override;

    // Set by the owner before start().
    std::function<void()> onPotentialChange;

    // Stops any previous watch, then watches this file. A file that cannot be
    // watched (missing, unreadable) leaves the monitor idle, without an error.
    void start(const QUrl& url);
    // Cancels the pending report and the watch; nothing is reported afterwards.
    void stop();

    QUrl monitoredUrl() const { return m_url; }
    bool isWatching() const;

private:
    enum class FolderFallback { No, Yes };
    void arm(FolderFallback fallback);
    void disarm();
    void fileEvent(const QString& path);
    void folderEvent(const QString& path);
    void report();

    QFileSystemWatcher m_watcher;
    QTimer m_debounce;
    // Renews the watch on the next turn of the event loop, outside the
    // watcher's own signal.
    QTimer m_rearm;
    QUrl m_url;
    QString m_path;
    QString m_folder;
};
