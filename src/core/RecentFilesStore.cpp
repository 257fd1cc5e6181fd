#include "core/RecentFilesStore.h"

#include "core/Preferences.h"
#include "core/SystemPath.h"

#include <QFileInfo>

RecentFilesStore& RecentFilesStore::shared() {
    static RecentFilesStore* instance = new RecentFilesStore();
    return *instance;
}

RecentFilesStore::RecentFilesStore(QObject* parent) : QObject(parent) {
    load();
}

QUrl RecentFilesStore::standardized(const QUrl& url) {
    if (!url.isLocalFile())
        return url;
    return QUrl::fromLocalFile(SystemPath::resolved(url.toLocalFile()));
}

void RecentFilesStore::record(const QUrl& url) {
    if (!url.isLocalFile())
        return;
    const QUrl file = standardized(url);
    QList<RecentFile> files;
    files.reserve(m_files.size() + 1);
    files.append(RecentFile{file, QDateTime::currentDateTimeUtc()});
    for (const RecentFile& entry : std::as_const(m_files)) {
        if (entry.url != file)
            files.append(entry);
    }
    if (files.size() > maxCount)
        files.resize(maxCount);
    setFiles(std::move(files));
}

void RecentFilesStore::remove(const QUrl& url) {
    const QUrl file = standardized(url);
    QList<RecentFile> files = m_files;
    files.removeIf([&](const RecentFile& entry) { return entry.url == file; });
    setFiles(std::move(files));
}

void RecentFilesStore::clear() {
    setFiles({});
}

void RecentFilesStore::setFiles(QList<RecentFile> files) {
    m_files = std::move(files);
    persist();
    Q_EMIT changed();
}

void RecentFilesStore::load() {
    const std::optional<QList<RecentFile>> stored =
        RecentFile::decodeList(Preferences::shared().data(QString::fromLatin1(storageKey)));
    if (!stored)
        return;
    // Missing files are only hidden; the stored list keeps them until the next change.
    QList<RecentFile> files;
    for (const RecentFile& entry : *stored) {
        if (entry.url.isLocalFile() && QFileInfo::exists(entry.url.toLocalFile()))
            files.append(entry);
    }
    m_files = std::move(files);
}

void RecentFilesStore::persist() const {
    Preferences::shared().setData(QString::fromLatin1(storageKey), RecentFile::encodeList(m_files));
}
