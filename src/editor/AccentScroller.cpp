#include "editor/AccentScroller.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {
// The shortest knob, so it stays easy to grab in a long document.
constexpr double minimumKnobLength = 24;
// How near the viewport's right edge the pointer reveals the scroller.
constexpr int revealZone = 3 * AccentScroller::thickness;
} // namespace

AccentScroller::AccentScroller(QAbstractScrollArea* area)
    : QWidget(area), m_area(area), m_bar(area->verticalScrollBar()),
      m_accent(area->palette().color(QPalette::Highlight)) {
    // The knob floats over the text; the real scroll bar keeps the range
    // and value but takes no room.
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCursor(Qt::ArrowCursor);
    setMouseTracking(true);
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(hideDelayMs);
    connect(&m_hideTimer, &QTimer::timeout, this, &AccentScroller::hideUnlessHeld);
    connect(m_bar, &QScrollBar::valueChanged, this, &AccentScroller::reveal);
    connect(m_bar, &QScrollBar::rangeChanged, this, [this](int minimum, int maximum) {
        if (maximum <= minimum)
            hide();
        update();
    });
    area->installEventFilter(this);
    area->viewport()->installEventFilter(this);
    area->viewport()->setMouseTracking(true);
    hide();
    place();
}

AccentScroller* AccentScroller::of(const QAbstractScrollArea* area) {
    return area ? area->findChild<AccentScroller*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void AccentScroller::setAccentColor(const QColor& accent) {
    if (accent == m_accent)
        return;
    m_accent = accent;
    update();
}

QRectF AccentScroller::knobRect(double width, double height, int minimum, int maximum, int pageStep,
                                int value) {
    if (maximum <= minimum || width <= 0 || height <= 0)
        return {};
    const double span = double(maximum) - minimum;
    const double total = span + qMax(pageStep, 0);
    const double length = qMin(height, qMax(minimumKnobLength, height * pageStep / total));
    const double progress = (qBound(minimum, value, maximum) - double(minimum)) / span;
    return {0, progress * (height - length), width, length};
}

QRectF AccentScroller::insetKnob(const QRectF& knob) {
    const double dx = qMin(knob.width() * 0.12, 1.0);
    return knob.adjusted(dx, 4, -dx, -4);
}

QRectF AccentScroller::currentKnob() const {
    return knobRect(width(), height(), m_bar->minimum(), m_bar->maximum(), m_bar->pageStep(),
                    m_bar->value());
}

void AccentScroller::reveal() {
    if (!m_area || m_bar->maximum() <= m_bar->minimum()) {
        hide();
        return;
    }
    place();
    show();
    raise();
    update();
    m_hideTimer.start();
}

void AccentScroller::place() {
    if (!m_area)
        return;
    const QRect viewport = m_area->viewport()->geometry();
    setGeometry(viewport.right() + 1 - thickness, viewport.top(), thickness, viewport.height());
}

void AccentScroller::hideUnlessHeld() {
    if (!isHighlighted())
        hide();
}

bool AccentScroller::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
        place();
        break;
    case QEvent::MouseMove:
        if (m_area && watched == m_area->viewport() &&
            static_cast<QMouseEvent*>(event)->position().x() >=
                m_area->viewport()->width() - revealZone)
            reveal();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void AccentScroller::paintEvent(QPaintEvent*) {
    const QRectF knob = currentKnob();
    if (knob.width() <= 0 || knob.height() <= 0)
        return;
    const QRectF pill = insetKnob(knob);
    if (pill.width() <= 0 || pill.height() <= 0)
        return;
    QColor colour = m_accent;
    colour.setAlphaF(isHighlighted() ? 0.88f : 0.52f);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const double radius = pill.width() / 2;
    painter.drawRoundedRect(pill, radius, radius);
}

void AccentScroller::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const QRectF knob = currentKnob();
    const double y = event->position().y();
    if (knob.contains(QPointF(knob.center().x(), y))) {
        m_dragging = true;
        m_grabOffset = y - knob.top();
    } else {
        m_bar->triggerAction(y < knob.top() ? QAbstractSlider::SliderPageStepSub
                                            : QAbstractSlider::SliderPageStepAdd);
    }
    reveal();
}

void AccentScroller::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    const QRectF knob = currentKnob();
    const double travel = height() - knob.height();
    if (travel <= 0)
        return;
    const double progress = qBound(0.0, (event->position().y() - m_grabOffset) / travel, 1.0);
    m_bar->setValue(m_bar->minimum() + qRound(progress * (m_bar->maximum() - m_bar->minimum())));
}

void AccentScroller::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_dragging) {
        m_dragging = false;
        update();
        m_hideTimer.start();
    }
}

void AccentScroller::wheelEvent(QWheelEvent* event) {
    QCoreApplication::sendEvent(m_bar, event);
}

void AccentScroller::enterEvent(QEnterEvent*) {
    m_hovered = true;
    reveal();
}

void AccentScroller::leaveEvent(QEvent*) {
    m_hovered = false;
    update();
    m_hideTimer.start();
}
