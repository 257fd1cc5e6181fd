#pragma once

#include "core/RecentFile.h"

#include <QMenu>
#include <functional>

class RecentFilesStore;

// File > Open Recent: the recent files, newest first, then "Clear Menu". It
// follows the store as it changes; choosing an entry opens that file.
class OpenRecentMenu : public QMenu {
    Q_OBJECT
public:
    using OpenFile = std::function<void(const QUrl&)>;

    OpenRecentMenu(RecentFilesStore& store, OpenFile open, QAction* clear,
                   QWidget* parent = nullptr);

    // The entries' texts: each file's name, with its folder's name where two
    // files share a name, as MenuEntryTitle shows it.
    static QStringList entryTitles(const QList<RecentFile>& files);

private:
    void rebuild();

    RecentFilesStore& m_store;
    OpenFile m_open;
    QAction* m_clear;
};
