#include "widgets/PaintedRowList.h"

#include "platform/Symbols.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <utility>

namespace {
constexpr int symbolSize = 14, highlightRadius = 6;
} // namespace

PaintedRowList::PaintedRowList(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    viewport()->setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
}

void PaintedRowList::updateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(viewport()->height());
    bar->setRange(0, qMax(0, contentHeight() - viewport()->height()));
}

void PaintedRowList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

int PaintedRowList::rowAt(const QPoint& position) const {
    for (int i = 0; i < rowCount(); ++i) {
        if (rowRect(i).contains(position))
            return i;
    }
    return -1;
}

void PaintedRowList::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton ? rowAt(event->position().toPoint()) : -1;
    event->accept();
}

void PaintedRowList::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = std::exchange(m_pressed, -1);
    event->accept();
    if (event->button() == Qt::LeftButton && pressed >= 0 &&
        pressed == rowAt(event->position().toPoint()))
        Q_EMIT rowClicked(pressed);
}

void PaintedRowList::fillHighlight(QPainter& painter, const QRect& row, const QColor& colour) {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(row), highlightRadius, highlightRadius);
    painter.fillPath(shape, colour);
}

void PaintedRowList::drawSymbol(QPainter& painter, const QRect& inner, const QString& name,
                                const QColor& colour) const {
    painter.drawPixmap(
        inner.left() + (symbolWidth - symbolSize) / 2, inner.center().y() + 1 - symbolSize / 2,
        Symbols::pixmap(name, colour, QSize(symbolSize, symbolSize), devicePixelRatioF()));
}
