#include "preview/HorizontalPassThroughScrollView.h"

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

HorizontalPassThroughScrollView::WheelRoute
HorizontalPassThroughScrollView::route(QPoint delta, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ShiftModifier)
        return WheelRoute::Horizontal;
    const int dx = delta.x();
    const int dy = delta.y();
    if (qAbs(dx) < qAbs(dy) && dy != 0)
        return WheelRoute::Parent;
    return WheelRoute::Horizontal;
}

HorizontalPassThroughScrollView::HorizontalPassThroughScrollView(QWidget* content, int minHeight,
                                                                 QWidget* parent)
    : QScrollArea(parent), m_minHeight(minHeight) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setWidget(content);
    content->setAutoFillBackground(false);
    content->installEventFilter(this);
    refreshDocumentLayout();
}

QSize HorizontalPassThroughScrollView::sizeHint() const {
    const int contentHeight = widget() ? widget()->sizeHint().height() : 0;
    const int contentWidth = widget() ? widget()->sizeHint().width() : 0;
    return {contentWidth, qMax(m_minHeight, contentHeight)};
}

QSize HorizontalPassThroughScrollView::minimumSizeHint() const {
    return {1, sizeHint().height()};
}

void HorizontalPassThroughScrollView::refreshDocumentLayout() {
    QWidget* content = widget();
    if (!content)
        return;
    const QSize fitting = content->sizeHint();
    const int height = qMax(m_minHeight, fitting.height());
    content->resize(qMax(fitting.width(), qMax(viewport()->width(), 1)), height);
    if (height != this->height() || sizeHint().height() != height)
        updateGeometry();
}

void HorizontalPassThroughScrollView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    refreshDocumentLayout();
}

bool HorizontalPassThroughScrollView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget() && event->type() == QEvent::LayoutRequest) {
        refreshDocumentLayout();
        updateGeometry();
    }
    return QScrollArea::eventFilter(watched, event);
}

QAbstractScrollArea* HorizontalPassThroughScrollView::parentVerticalScrollView() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w); area && area != this)
            return area;
    }
    return nullptr;
}

void HorizontalPassThroughScrollView::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->pixelDelta().isNull() ? event->angleDelta() : event->pixelDelta();
    if (route(delta, event->modifiers()) == WheelRoute::Parent) {
        if (QAbstractScrollArea* page = parentVerticalScrollView())
            QCoreApplication::sendEvent(page->viewport(), event);
        else
            event->ignore();
        return;
    }
    // Shift turns a vertical wheel into a horizontal one.
    int amount = delta.x() != 0 ? delta.x() : delta.y();
    if (event->pixelDelta().isNull())
        amount =
            amount * horizontalScrollBar()->singleStep() * QApplication::wheelScrollLines() / 120;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - amount);
    event->accept();
}
