#pragma once

#include <QUrl>
#include <QWidget>

class PlainButton;
class RecentBodySlot;
class RecentFileCell;
class RecentFileRow;
class RecentFilesStore;
struct RecentFile;
class QVBoxLayout;
class SnapshotFade;
class ThemedLabel;

// The home window's "Recent" block: up to five rows, or once expanded a
// two-column grid of every file; hover to remove one, "Clear" to empty the list.
// Expanding and collapsing crossfade the two while the block's height moves.
class RecentFilesSection : public QWidget {
    Q_OBJECT
public:
    static constexpr int expandMs = 180;

    explicit RecentFilesSection(RecentFilesStore& store, QWidget* parent = nullptr);

    bool showsAll() const { return m_showAll; }
    void setShowsAll(bool showAll);
    // The place of the list or grid, whose height moves while they change.
    QWidget* bodySlot() const;

    PlainButton* clearButton() const { return m_clear; }
    PlainButton* expandButton() const { return m_expand; }
    QList<RecentFileRow*> rows() const;
    QList<RecentFileCell*> cells() const;
    // The dividers between rows of the collapsed list.
    int dividerCount() const;
    // The "No recent files yet" text, or null while there are files.
    ThemedLabel* emptyText() const;

Q_SIGNALS:
    void fileChosen(const QUrl& url);

private:
    void rebuild(bool animated = false);
    QWidget* buildList();
    QWidget* buildGrid();
    template <class Item> Item* makeItem(const RecentFile& file, QWidget* parent);

    RecentFilesStore& m_store;
    bool m_showAll = false;
    PlainButton* m_clear = nullptr;
    PlainButton* m_expand = nullptr;
    QWidget* m_expandRow = nullptr;
    QWidget* m_body = nullptr;
    RecentBodySlot* m_slot = nullptr;
    SnapshotFade* m_bodyFade = nullptr;
    SnapshotFade* m_expandFade = nullptr;
};
