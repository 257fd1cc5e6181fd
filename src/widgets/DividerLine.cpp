#include "widgets/DividerLine.h"

#include "core/AppearanceService.h"

#include <QPainter>

DividerLine::DividerLine(QWidget* parent) : QWidget(parent) {
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            qOverload<>(&QWidget::update));
}

void DividerLine::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(),
                            QColor(AppearanceService::shared().designSystem().colors.divider));
}
