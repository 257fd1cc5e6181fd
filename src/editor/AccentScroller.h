#pragma once

#include <QColor>
#include <QPointer>
#include <QRectF>
#include <QTimer>
#include <QWidget>

class QAbstractScrollArea;
class QScrollBar;

// A thin overlay scroller: a rounded knob in the accent colour over the right
// edge of a scroll area's viewport, with no track. It mirrors the area's
// vertical scroll bar (which stays hidden), shows while the view scrolls or
// the pointer comes near, and hides itself shortly after. Dragging the knob
// scrolls; a click beside it pages.
class AccentScroller : public QWidget {
    Q_OBJECT
public:
    static constexpr int thickness = 6;
    static constexpr int hideDelayMs = 1000;

    explicit AccentScroller(QAbstractScrollArea* area);

    // The scroller installed on an area, if any.
    static AccentScroller* of(const QAbstractScrollArea* area);

    QColor accentColor() const { return m_accent; }
    void setAccentColor(const QColor& accent);

    // Pressed or under the pointer: the knob draws stronger.
    bool isHighlighted() const { return m_dragging || m_hovered; }

    // The knob's place in a strip of the given height, from the scroll bar's
    // range, page step and value; empty when there is nothing to scroll.
    static QRectF knobRect(double width, double height, int minimum, int maximum, int pageStep,
                           int value);
    // The pill drawn inside a knob rectangle: 12 % of its width in from each
    // side (at most 1 pixel) and 4 pixels from each end.
    static QRectF insetKnob(const QRectF& knob);

    // Shows the scroller (when there is something to scroll) and restarts
    // the hiding delay.
    void reveal();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRectF currentKnob() const;
    void place();
    void hideUnlessHeld();

    QPointer<QAbstractScrollArea> m_area;
    QScrollBar* m_bar = nullptr;
    QColor m_accent;
    QTimer m_hideTimer;
    bool m_hovered = false;
    bool m_dragging = false;
    double m_grabOffset = 0;
};
