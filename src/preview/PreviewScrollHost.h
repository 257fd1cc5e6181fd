#pragma once

#include "editor/EditorTheme.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <functional>
#include <optional>

class PreviewContentView;
class ScrollSyncEngine;

// The preview's scroll area: the rendered content (PreviewContentView) fills
// the viewport and places its rows for the scroll position; the vertical bar
// spans the height the content reports, however tall that is. When that
// height changes the reader stays at the same fraction of the scroll range
// (or at the top), and a new content shows its top; these adjustments are
// made without the scroll synchroniser mirroring them to the editor. Heights
// of 1 or less are ignored. The host reports itself through scrollViewReady
// on the event-loop turn after it was made. Besides the keys of a scroll
// area, Home and End go to the top and the end. A right click opens the
// preview's context menu.
class PreviewScrollHost : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Pixels an arrow key or a wheel step's line moves.
    static constexpr int singleStep = 20;

    explicit PreviewScrollHost(QWidget* parent = nullptr);

    PreviewContentView* content() const { return m_content; }
    // The window's synchroniser, if any (held weakly).
    void setScrollSync(ScrollSyncEngine* sync);
    // The knob colour and the theme of the context menu.
    void setColours(const QColor& accent, const EditorTheme& theme);
    int reportedHeight() const { return m_reportedHeight; }

    // The selection the context menu works on: the focused text view's, else
    // the first one found in the window (or under the host when it has none).
    QString menuSelection() const;
    // The menu for a selection, with Copy and Find in Editor wired.
    QMenu* makeContextMenu(const QString& selection);

Q_SIGNALS:
    void scrollViewReady(QAbstractScrollArea* scrollArea);
    void findInEditor(const QString& selectedText);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void updateWidth();
    void contentHeightChanged(int height);
    void applyLayout();
    void revealVisible();
    void withoutSync(const std::function<void()>& body);
    void updateRange();

    PreviewContentView* m_content;
    QPointer<ScrollSyncEngine> m_sync;
    std::optional<EditorTheme> m_theme;
    int m_reportedHeight = 0;
    bool m_didInitialScroll = false;
    bool m_adjusting = false;
};
