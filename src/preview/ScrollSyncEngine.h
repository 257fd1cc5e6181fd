#pragma once

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <functional>

class QAbstractScrollArea;
class QScrollBar;

// Keeps the vertical scroll positions of one window's editor and preview in
// step while the window shows both (Split mode). Positions travel as a ratio
// of the vertical scroll bar, (value - minimum) / (maximum - minimum), so the
// editor's bar, which counts lines, and the preview's, which counts pixels,
// meet at the same fraction of their ranges. Source lines are never mapped to
// rendered blocks.
//
// The workspace makes one engine per window, links each pane's scroll area
// when the pane reports it (the editor's scrollViewReady, the preview's
// PreviewView::scrollViewReady) and sets isEnabled to whether the window is in
// Split mode. Disabling unlinks both sides: after enabling again nothing is
// mirrored until both sides have been linked again, and then both panes start
// at the top. Every move of a pane's visible part is mirrored, whatever made
// it (wheel, keys, the bar, an editor keeping its caret in view); a range
// change alone (text added below the visible part) moves nothing.
//
// A scroll the engine makes is not mirrored back: every move of the pane it
// scrolled is ignored until the next turn of the event loop, while the pane
// the reader scrolls goes on being followed.
class ScrollSyncEngine : public QObject {
    Q_OBJECT
public:
    // In scroll-bar units (lines for the editor, pixels for the preview): a
    // bar whose range is at most minimumRange is simply put at its minimum,
    // and a bar already within tolerance of its target is left alone.
    static constexpr double minimumRange = 1.0;
    static constexpr double tolerance = 0.5;

    explicit ScrollSyncEngine(QObject* parent = nullptr);
    ~ScrollSyncEngine() override;

    // Links a side, replacing any earlier link of that side. Linking does not
    // look at isEnabled; with synchronisation on and the other side linked,
    // both panes go to the top on the next turn (a relink of the same area
    // too).
    void linkEditor(QAbstractScrollArea* area);
    void linkPreview(QAbstractScrollArea* area);
    // Forgets both sides; isEnabled stays as it is.
    void unlink();

    bool isEnabled() const { return m_enabled; }
    // Every call acts, also one that keeps the value: true aligns both panes
    // to the top once both are linked, false unlinks both sides.
    void setEnabled(bool enabled);

    QAbstractScrollArea* editorScrollArea() const { return m_editor.area; }
    QAbstractScrollArea* previewScrollArea() const { return m_preview.area; }
    bool isEditorReady() const { return m_editor.ready; }
    bool isPreviewReady() const { return m_preview.ready; }
    bool isEchoSuppressed() const { return m_editor.echoSuppressed || m_preview.echoSuppressed; }

    // Runs body at once without mirroring the preview's moves it makes: the
    // preview wraps its own relayout and position restoring in it.
    void performWithoutSync(const std::function<void()>& body);

    // How far a bar is scrolled as a fraction of its range, 0...1; 0 when the
    // range is empty.
    static double scrollRatio(const QScrollBar* bar);
    static double scrollRatio(const QAbstractScrollArea* area);
    // Puts a bar at a fraction of its range (the ratio is not clamped).
    static void setScrollRatio(double ratio, QScrollBar* bar);
    static void setScrollRatio(double ratio, QAbstractScrollArea* area);

private:
    struct Side {
        QPointer<QAbstractScrollArea> area;
        QList<QMetaObject::Connection> observations;
        bool ready = false;
        bool echoSuppressed = false; // its moves are not mirrored this turn
    };

    void link(Side& side, QAbstractScrollArea* area, void (ScrollSyncEngine::*handler)());
    void forget(Side& side);
    void editorDidScroll();
    void previewDidScroll();
    void mirror(Side& from, Side& to);
    void suppressEchoUntilNextTurn(Side& side);
    void alignBothIfReady();

    Side m_editor;
    Side m_preview;
    bool m_enabled = false;
};
