#pragma once

#include "core/Preferences.h"
#include "core/RecentFile.h"

#include <QObject>

// The application's own list of recently opened Markdown files, newest first,
// kept as JSON under "recentMarkdownFiles". The application uses the one
// shared instance; tests make their own to exercise loading.
class RecentFilesStore : public QObject {
    Q_OBJECT
public:
    static constexpr const char* storageKey = PreferenceKeys::recentMarkdownFiles;
    static constexpr int maxCount = 20;

    static RecentFilesStore& shared();

    // Loads the stored list, hiding files that no longer exist.
    explicit RecentFilesStore(QObject* parent = nullptr);

    const QList<RecentFile>& files() const { return m_files; }

    // Moves or adds the file to the front with the current date. URLs that
    // are not local files are ignored.
    void record(const QUrl& url);
    void remove(const QUrl& url);
    void clear();

    // "." and ".." resolved as the system resolves them; links left alone
    // where no ".." follows them.
    static QUrl standardized(const QUrl& url);

Q_SIGNALS:
    void changed();

private:
    void load();
    void setFiles(QList<RecentFile> files);
    void persist() const;

    QList<RecentFile> m_files;
};
