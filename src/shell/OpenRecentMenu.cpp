#include "shell/OpenRecentMenu.h"

#include "core/RecentFilesStore.h"
#include "shell/MenuEntryTitle.h"

#include <QFileInfo>

OpenRecentMenu::OpenRecentMenu(RecentFilesStore& store, OpenFile open, QAction* clear,
                               QWidget* parent)
    : QMenu(parent), m_store(store), m_open(std::move(open)), m_clear(clear) {
    connect(&m_store, &RecentFilesStore::changed, this, &OpenRecentMenu::rebuild);
    rebuild();
}

QStringList OpenRecentMenu::entryTitles(const QList<RecentFile>& files) {
    QStringList names;
    for (const RecentFile& file : files)
        names.append(QFileInfo(file.url.toLocalFile()).fileName());
    QStringList titles;
    for (qsizetype i = 0; i < files.size(); ++i) {
        QString title = names[i];
        if (names.count(names[i]) > 1) {
            const QString folder =
                QFileInfo(QFileInfo(files[i].url.toLocalFile()).path()).fileName();
            title += QStringLiteral(" — ") + folder;
        }
        titles.append(MenuEntryTitle::of(title));
    }
    return titles;
}

void OpenRecentMenu::rebuild() {
    // Actions of the old entries may be mid-trigger: they go on the next turn.
    for (QAction* action : actions()) {
        removeAction(action);
        if (action != m_clear)
            action->deleteLater();
    }
    const QList<RecentFile>& files = m_store.files();
    const QStringList titles = entryTitles(files);
    for (qsizetype i = 0; i < files.size(); ++i) {
        auto* entry = new QAction(titles[i], this);
        entry->setToolTip(files[i].url.toLocalFile());
        // Queued: an alert about a file that is gone must not run inside the menu.
        connect(
            entry, &QAction::triggered, this, [this, url = files[i].url] { m_open(url); },
            Qt::QueuedConnection);
        addAction(entry);
    }
    if (!files.isEmpty())
        addSeparator();
    addAction(m_clear);
}
