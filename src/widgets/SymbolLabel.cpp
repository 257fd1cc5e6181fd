#include "widgets/SymbolLabel.h"

#include "core/AppearanceService.h"
#include "platform/Symbols.h"

#include <QPainter>

SymbolLabel::SymbolLabel(const QString& name, int pixelSize, ColorRole color, QWidget* parent)
    : QWidget(parent), m_name(name), m_pixelSize(pixelSize), m_color(color) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            qOverload<>(&QWidget::update));
}

void SymbolLabel::setSymbol(const QString& name) {
    m_name = name;
    update();
}

void SymbolLabel::setColorRole(ColorRole color) {
    m_color = color;
    update();
}

void SymbolLabel::setFrameWidth(int width) {
    m_frameWidth = width;
    updateGeometry();
}

QSize SymbolLabel::sizeHint() const {
    return {qMax(m_pixelSize, m_frameWidth), m_pixelSize};
}

void SymbolLabel::paint(QPainter& painter, const QString& name, const QColor& color,
                        const QRect& rect) {
    Symbols::icon(name, color).paint(&painter, rect, Qt::AlignCenter);
}

void SymbolLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor color = ThemeRoles::color(AppearanceService::shared().designSystem(), m_color);
    QRect square(0, 0, m_pixelSize, m_pixelSize);
    square.moveCenter(rect().center());
    paint(painter, m_name, color, square);
}
