#include "shell/SlotReveal.h"

#include <QGraphicsOpacityEffect>
#include <QLayout>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QWidget>

SlotReveal::SlotReveal(QWidget* slot, int durationMs)
    : QObject(slot), m_slot(slot), m_shown(!slot->isHidden()) {
    // The minimum the slot's layout would set stops it short of nothing.
    if (slot->layout())
        slot->layout()->setSizeConstraint(QLayout::SetNoConstraint);
    slot->setMinimumHeight(0);
    m_group = new QParallelAnimationGroup(this);
    m_height = new QPropertyAnimation(slot, "maximumHeight", m_group);
    m_opacity = new QPropertyAnimation(m_group);
    m_opacity->setPropertyName("opacity");
    for (QPropertyAnimation* animation : {m_height, m_opacity}) {
        animation->setDuration(durationMs);
        animation->setEasingCurve(QEasingCurve::OutCubic);
        m_group->addAnimation(animation);
    }
    connect(m_group, &QAbstractAnimation::finished, this, &SlotReveal::finish);
}

bool SlotReveal::isAnimating() const {
    return m_group->state() == QAbstractAnimation::Running;
}

void SlotReveal::setShown(bool shown, bool animated) {
    if (shown == m_shown)
        return;
    m_shown = shown;
    // A reversal mid-way starts from where the slot stands.
    const bool visible = m_slot->isVisible();
    auto* fade = qobject_cast<QGraphicsOpacityEffect*>(m_slot->graphicsEffect());
    const int fromHeight = visible ? m_slot->height() : 0;
    const double fromOpacity = fade ? fade->opacity() : visible ? 1.0 : 0.0;
    m_group->stop();
    if (!animated || !m_slot->window()->isVisible()) {
        finish();
        return;
    }
    if (!fade) {
        fade = new QGraphicsOpacityEffect(m_slot);
        m_slot->setGraphicsEffect(fade);
    }
    m_height->setStartValue(fromHeight);
    m_height->setEndValue(shown ? m_slot->sizeHint().height() : 0);
    m_opacity->setTargetObject(fade);
    m_opacity->setStartValue(fromOpacity);
    m_opacity->setEndValue(shown ? 1.0 : 0.0);
    fade->setOpacity(fromOpacity);
    m_slot->setMaximumHeight(fromHeight);
    m_slot->show();
    m_group->start();
}

void SlotReveal::finish() {
    m_slot->setMaximumHeight(QWIDGETSIZE_MAX);
    m_slot->setGraphicsEffect(nullptr); // deletes the fade
    m_slot->setVisible(m_shown);
}
