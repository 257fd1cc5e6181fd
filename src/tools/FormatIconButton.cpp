#include "tools/FormatIconButton.h"

#include "platform/Symbols.h"

#include <QPainter>
#include <QPainterPath>

FormatIconButton::FormatIconButton(const QString& symbol, int symbolSize, const QSize& frame,
                                   QWidget* parent)
    : QAbstractButton(parent), m_symbol(symbol), m_symbolSize(symbolSize), m_frame(frame) {
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(frame);
}

void FormatIconButton::setColors(const SelectionFormattingBar::Colors& colors) {
    m_colors = colors;
    update();
}

void FormatIconButton::setPlain(bool plain) {
    m_plain = plain;
    update();
}

void FormatIconButton::setActive(bool active) {
    if (active == m_active)
        return;
    m_active = active;
    update();
}

void FormatIconButton::setSymbolColour(const QColor& colour) {
    if (colour == m_symbolColour)
        return;
    m_symbolColour = colour;
    update();
}

QColor FormatIconButton::background(const SelectionFormattingBar::Colors& colors, bool active,
                                    bool hovered) {
    if (active) {
        QColor tint = colors.accent;
        tint.setAlphaF(float(tint.alphaF() * 0.16));
        return tint;
    }
    return hovered ? colors.hoverBackground : QColor(Qt::transparent);
}

void FormatIconButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!m_plain) {
        const QColor fill = background(m_colors, m_active, m_hovered && isEnabled());
        if (fill.alpha() > 0) {
            QPainterPath shape;
            shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
            painter.fillPath(shape, fill);
        }
    }
    QRect square(0, 0, m_symbolSize, m_symbolSize);
    square.moveCenter(rect().center());
    Symbols::icon(m_symbol, m_symbolColour).paint(&painter, square);
}

void FormatIconButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    m_hovered = true;
    update();
}

void FormatIconButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    m_hovered = false;
    update();
}
