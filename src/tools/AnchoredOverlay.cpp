#include "tools/AnchoredOverlay.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

AnchoredOverlay::AnchoredOverlay(Bounds bounds, QObject* parent)
    : QObject(parent), m_bounds(bounds) {}

AnchoredOverlay::~AnchoredOverlay() {
    watch(false);
}

namespace {

// Centred on the anchor, moved inside the bounds' margins.
int centredLeft(const QRect& anchor, int width, const QRect& bounds) {
    const int left = bounds.left() + AnchoredOverlay::margin;
    const int right = bounds.left() + bounds.width() - AnchoredOverlay::margin;
    return qMax(left, qMin(anchor.left() + anchor.width() / 2 - width / 2, right - width));
}

} // namespace

std::optional<QRect> AnchoredOverlay::placementBeside(const QRect& anchor, const QSize& size,
                                                      const QRect& bounds) {
    const int h = size.height();
    const int top = bounds.top() + margin;
    const int bottom = bounds.top() + bounds.height() - margin;
    const int below = anchor.top() + anchor.height() + gap;
    const int above = anchor.top() - gap - h;
    int y = below;
    if (below + h > bottom) {
        if (above < top)
            return std::nullopt;
        y = above;
    }
    // An anchor beyond the bounds: the nearer edge, still clear of it.
    y = qMax(top, qMin(y, bottom - h));
    return QRect(centredLeft(anchor, size.width(), bounds), y, size.width(), h);
}

QRect AnchoredOverlay::placement(const QRect& anchor, const QSize& size, const QRect& bounds) {
    if (const std::optional<QRect> beside = placementBeside(anchor, size, bounds))
        return *beside;
    // Room on neither side: the roomier one, moved inside the bounds.
    const int h = size.height();
    const int top = bounds.top() + margin;
    const int bottom = bounds.top() + bounds.height() - margin;
    const bool above = anchor.top() - top > bottom - (anchor.top() + anchor.height());
    int y = above ? anchor.top() - gap - h : anchor.top() + anchor.height() + gap;
    y = qMax(top, qMin(y, bottom - h));
    return {centredLeft(anchor, size.width(), bounds), y, size.width(), h};
}

void AnchoredOverlay::show(QWidget* widget, QWidget* anchor, AnchorRect anchorRect,
                           MayCover mayCover) {
    if (!widget || !anchor || !anchor->window())
        return;
    const bool moved = widget != m_widget || anchor != m_anchor || anchor->window() != m_window;
    if (moved)
        watch(false);
    m_widget = widget;
    m_anchor = anchor;
    m_window = anchor->window();
    m_anchorRect = std::move(anchorRect);
    m_mayCover = std::move(mayCover);
    if (widget->parentWidget() != m_window)
        widget->setParent(m_window);
    m_active = true;
    reposition();
    if (isShown())
        widget->raise();
    watch(true);
}

void AnchoredOverlay::hide() {
    watch(false);
    m_active = false;
    if (m_widget)
        m_widget->hide();
}

bool AnchoredOverlay::isShown() const {
    return m_widget && !m_widget->isHidden();
}

void AnchoredOverlay::reposition() {
    if (!m_widget || !m_anchor || !m_window || !m_anchorRect)
        return;
    QRect anchor = m_anchorRect();
    anchor.moveTopLeft(m_anchor->mapTo(m_window, anchor.topLeft()));
    QRect bounds = m_window->rect();
    if (m_bounds == Bounds::Anchor)
        bounds &= QRect(m_anchor->mapTo(m_window, QPoint()), m_anchor->size());
    std::optional<QRect> place = placementBeside(anchor, m_widget->size(), bounds);
    if (!place && (!m_mayCover || m_mayCover()))
        place = placement(anchor, m_widget->size(), bounds);
    if (!place) {
        // Out of sight until the anchor leaves room again.
        m_widget->hide();
        return;
    }
    m_widget->setGeometry(*place);
    if (m_active && m_widget->isHidden()) {
        m_widget->show();
        m_widget->raise();
    }
}

void AnchoredOverlay::watch(bool on) {
    if (on == m_watching)
        return;
    m_watching = on;
    for (const QMetaObject::Connection& c : m_scrolling)
        disconnect(c);
    m_scrolling.clear();
    if (!on) {
        qApp->removeEventFilter(this);
        if (m_anchor)
            m_anchor->removeEventFilter(this);
        if (m_window)
            m_window->removeEventFilter(this);
        return;
    }
    qApp->installEventFilter(this);
    m_anchor->installEventFilter(this);
    m_window->installEventFilter(this);
    for (QWidget* w = m_anchor; w && w != m_window; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) {
            for (QScrollBar* bar : {area->verticalScrollBar(), area->horizontalScrollBar()})
                m_scrolling << connect(bar, &QScrollBar::valueChanged, this,
                                       &AnchoredOverlay::reposition);
            break;
        }
    }
}

bool AnchoredOverlay::isOutside(QObject* receiver) const {
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || !m_widget)
        return false;
    // Inside: the widget, its children and the menus it opens (windows of
    // their own, whose parent chain still leads to it).
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w == m_widget)
            return false;
    }
    // A press the widget's own children ignore travels up to its ancestors:
    // those copies are no press outside.
    return !widget->isAncestorOf(m_widget);
}

bool AnchoredOverlay::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool button = mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton;
        if (button && isShown() && isOutside(watched)) {
            // The press goes on to its target first (a click in the text
            // still places the caret).
            QTimer::singleShot(0, this, [this] {
                if (isShown())
                    Q_EMIT clickedOutside();
            });
        }
        break;
    }
    case QEvent::Hide:
        if (watched == m_anchor) {
            hide();
            Q_EMIT anchorHidden();
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (watched == m_anchor || watched == m_window)
            reposition();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
