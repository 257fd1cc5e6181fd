#include "shell/ToolbarSegmentChrome.h"

#include "core/AppearanceService.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

ToolbarSegmentChrome::ToolbarSegmentChrome(QWidget* parent) : QWidget(parent) {
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(3, 3, 3, 3);
    m_row->setSpacing(2);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            qOverload<>(&QWidget::update));
}

void ToolbarSegmentChrome::paintEvent(QPaintEvent*) {
    const DesignSystem::Colors& c = AppearanceService::shared().designSystem().colors;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath track;
    track.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    p.fillPath(track, c.segmentTrack.toQColor());
    p.setPen(QPen(c.segmentBorder.toQColor(), 1));
    p.drawPath(track);
}
