#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>
#include <optional>

class QWidget;

// Floats a widget over a window, next to a rectangle of another widget (the
// caret in the editor, a selection): a child of that window, raised, never a
// popup window of its own, so keyboard focus stays where it is.
//
// The widget goes below the rectangle, or above it when only there it fits,
// and always stays inside its bounds. Where it fits on neither side it lies
// over the rectangle, or, when the caller says it may not, stays out of sight
// until there is room. It follows the rectangle as the anchor
// scrolls, moves or resizes and as the window resizes. A mouse press anywhere
// outside it (in this window or another) is reported by clickedOutside on the
// next event-loop turn; the press itself still reaches its target. When the
// anchor is hidden (its pane or window goes) the widget is hidden with it and
// anchorHidden is emitted.
class AnchoredOverlay : public QObject {
    Q_OBJECT
public:
    // Between the rectangle and the widget, and between the widget and the
    // window's edges.
    static constexpr int gap = 6;
    static constexpr int margin = 8;

    using AnchorRect = std::function<QRect()>;
    // Whether the widget may lie over the rectangle; empty: it may.
    using MayCover = std::function<bool()>;

    // Where the widget may go: anywhere in the window, or only over the
    // anchor itself (the text's visible area, clear of the bars and toasts
    // around it).
    enum class Bounds { Window, Anchor };

    explicit AnchoredOverlay(Bounds bounds = Bounds::Window, QObject* parent = nullptr);
    ~AnchoredOverlay() override;

    // Shows the widget (or moves it when shown) next to anchorRect(), which
    // is in the anchor's coordinates; it and mayCover() are asked again on
    // every move. The widget becomes a child of the anchor's window; the
    // caller keeps owning it.
    void show(QWidget* widget, QWidget* anchor, AnchorRect anchorRect, MayCover mayCover = {});
    void hide();
    // Shown and in sight (not waiting for room).
    bool isShown() const;
    // Places the widget again, after its size or the rectangle changed.
    void reposition();

    // Where a widget of `size` goes for an anchor rectangle, all in the
    // coordinates of `bounds` (the window): centred under the anchor, or over
    // it when it fits only there; when it fits on neither side, on the
    // roomier one; moved inside the bounds.
    static QRect placement(const QRect& anchor, const QSize& size, const QRect& bounds);
    // The same under or over the anchor only; none when it fits on neither side.
    static std::optional<QRect> placementBeside(const QRect& anchor, const QSize& size,
                                                const QRect& bounds);

Q_SIGNALS:
    void clickedOutside();
    void anchorHidden();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(bool on);
    bool isOutside(QObject* receiver) const;

    Bounds m_bounds;
    QPointer<QWidget> m_widget;
    QPointer<QWidget> m_anchor;
    QPointer<QWidget> m_window;
    AnchorRect m_anchorRect;
    MayCover m_mayCover;
    bool m_active = false; // shown, whether in sight or waiting for room
    QList<QMetaObject::Connection> m_scrolling;
    bool m_watching = false;
};
