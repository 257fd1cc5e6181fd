#include "shell/TransitionSlot.h"

#include "core/Motion.h"

#include <QGraphicsOpacityEffect>

TransitionSlot::TransitionSlot(Edge edge, int durationMs, QWidget* parent)
    : QWidget(parent), m_edge(edge) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    hide();
    m_animation.setEasingCurve(Motion::easeOut());
    m_animation.setDuration(durationMs);
    connect(&m_animation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { setProgress(value.toDouble()); });
}

void TransitionSlot::setContent(QWidget* content) {
    m_content = content;
    content->setParent(this);
    content->show();
    place();
    updateGeometry();
}

void TransitionSlot::setShown(bool shown) {
    if (shown == m_shown)
        return;
    m_shown = shown;
    const double target = shown ? 1 : 0;
    if (shown)
        show();
    if (!window()->isVisible()) {
        m_animation.stop();
        setProgress(target);
        return;
    }
    m_animation.stop();
    {
        // Unheard: a finished animation would report its new end value at once.
        const QSignalBlocker quiet(&m_animation);
        m_animation.setStartValue(m_progress);
        m_animation.setEndValue(target);
    }
    m_animation.start();
}

void TransitionSlot::setProgress(double progress) {
    m_progress = progress;
    if (m_content) {
        // Faded through an effect only while moving: it draws the widget
        // through a pixmap, and a shown field should draw as itself.
        auto* fade = qobject_cast<QGraphicsOpacityEffect*>(m_content->graphicsEffect());
        if (progress >= 1) {
            m_content->setGraphicsEffect(nullptr);
        } else {
            if (!fade) {
                fade = new QGraphicsOpacityEffect(m_content);
                m_content->setGraphicsEffect(fade);
            }
            fade->setOpacity(progress);
        }
    }
    if (progress <= 0 && !m_shown)
        hide();
    updateGeometry();
    place();
}

int TransitionSlot::contentHeight() const {
    if (!m_content)
        return 0;
    const int forWidth = m_content->hasHeightForWidth() ? m_content->heightForWidth(width()) : -1;
    return forWidth >= 0 ? forWidth : m_content->sizeHint().height();
}

QSize TransitionSlot::sizeHint() const {
    const QSize content = m_content ? m_content->sizeHint() : QSize();
    return {content.width(), qRound(m_progress * contentHeight())};
}

void TransitionSlot::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place();
}

void TransitionSlot::place() {
    if (!m_content)
        return;
    const int full = contentHeight();
    // From the top the bar's lower edge leads; from the bottom its upper one.
    const int y = m_edge == Edge::Top ? height() - full : 0;
    m_content->setGeometry(0, y, width(), full);
}
