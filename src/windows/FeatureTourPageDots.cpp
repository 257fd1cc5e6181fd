#include "windows/FeatureTourPageDots.h"

#include "core/AppearanceService.h"
#include "windows/FeatureTourAnimation.h"

#include <QPainter>

FeatureTourPageDots::FeatureTourPageDots(int count, int current, QWidget* parent)
    : QWidget(parent), m_count(count), m_current(current), m_previous(current) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    FeatureTourAnimation::prepare(m_step, FeatureTourAnimation::dotsMs, this);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            qOverload<>(&QWidget::update));
}

void FeatureTourPageDots::setCurrent(int index, bool animated) {
    if (index == m_current)
        return;
    m_previous = m_current;
    m_current = index;
    m_step.stop();
    if (animated)
        m_step.start();
    update();
}

double FeatureTourPageDots::weight(int index) const {
    const double t =
        m_step.state() == QAbstractAnimation::Running ? m_step.currentValue().toDouble() : 1.0;
    return (index == m_current ? t : 0.0) +
           (index == m_previous && index != m_current ? 1 - t : 0.0);
}

QSize FeatureTourPageDots::sizeHint() const {
    const double width = (m_count - 1) * (otherSize + spacing) + currentSize;
    return QSizeF(width, currentSize).toSize();
}

QRectF FeatureTourPageDots::dotRect(int index) const {
    double total = (m_count - 1) * spacing;
    for (int i = 0; i < m_count; ++i)
        total += otherSize + weight(i) * (currentSize - otherSize);
    double x = (width() - total) / 2;
    for (int i = 0; i < index; ++i)
        x += otherSize + weight(i) * (currentSize - otherSize) + spacing;
    const double size = otherSize + weight(index) * (currentSize - otherSize);
    return {x, (height() - size) / 2, size, size};
}

void FeatureTourPageDots::paintEvent(QPaintEvent*) {
    const DesignSystem::Colors& c = AppearanceService::shared().designSystem().colors;
    const QColor on = c.accent;
    const QColor off = c.divider;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < m_count; ++i) {
        const double w = weight(i);
        painter.setBrush(QColor::fromRgbF(off.redF() + (on.redF() - off.redF()) * w,
                                          off.greenF() + (on.greenF() - off.greenF()) * w,
                                          off.blueF() + (on.blueF() - off.blueF()) * w,
                                          off.alphaF() + (on.alphaF() - off.alphaF()) * w));
        painter.drawEllipse(dotRect(i));
    }
}
