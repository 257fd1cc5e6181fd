#include "widgets/PopoverFrame.h"

#include "core/DesignSystem.h"

#include <QGraphicsDropShadowEffect>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

PopoverFrame::PopoverFrame(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_NoMousePropagation);
    auto* shadow = new QGraphicsDropShadowEffect(this);
    shadow->setBlurRadius(24);
    shadow->setOffset(0, 6);
    shadow->setColor(QColor(0, 0, 0, 60));
    setGraphicsEffect(shadow);
}

void PopoverFrame::setContent(QWidget* content, int inset, int maximumContentHeight) {
    m_content = content;
    m_inset = inset;
    m_maximumContentHeight = maximumContentHeight;
    content->setParent(this);
    placeContent();
}

void PopoverFrame::setColours(const QColor& background, const QColor& border) {
    if (background == m_background && border == m_border)
        return;
    m_background = background;
    m_border = border;
    update();
}

QColor PopoverFrame::paintedBackground() const {
    return composited(m_background, palette().color(QPalette::Window));
}

void PopoverFrame::setCornerRadius(int cornerRadius) {
    m_radius = cornerRadius;
    update();
}

void PopoverFrame::setShadowEnabled(bool enabled) {
    graphicsEffect()->setEnabled(enabled);
}

void PopoverFrame::placeContent() {
    if (!m_content)
        return;
    const QRect inner = rect().adjusted(m_inset, m_inset, -m_inset, -m_inset);
    const int height = qMin(inner.height(), m_maximumContentHeight);
    m_content->setGeometry(inner.left(), inner.top() + (inner.height() - height) / 2, inner.width(),
                           height);
}

void PopoverFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeContent();
}

void PopoverFrame::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void PopoverFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), m_radius, m_radius);
    painter.fillPath(shape, paintedBackground());
    painter.setPen(QPen(m_border, 1));
    painter.drawPath(shape);
}
