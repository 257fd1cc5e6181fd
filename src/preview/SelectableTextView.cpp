#include "preview/SelectableTextView.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextDocument>

SelectableTextView::SelectableTextView(QWidget* parent) : QWidget(parent) {
    m_selection.reset(m_text.document());
    setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::ClickFocus);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void SelectableTextView::setContent(const StyledText& text, const QFont& font, const QColor& colour,
                                    qreal lineSpacing, bool wrap, qreal tracking) {
    m_colour = colour;
    // New formats for the same text (code taking its colours) keep what the
    // reader selected, even while selecting.
    const bool sameText = text.text == m_text.content().text;
    const int anchor = m_selection.cursor().anchor();
    const int position = m_selection.cursor().position();
    m_text.setContent(text, font, lineSpacing, wrap, tracking);
    if (sameText)
        m_selection.carryOver(m_text.document(), anchor, position);
    else
        m_selection.reset(m_text.document());

    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(wrap);
    setSizePolicy(policy);
    updateGeometry();
    update();
}

int SelectableTextView::heightForWidth(int width) const {
    return m_text.heightForWidth(width);
}

QSize SelectableTextView::sizeHint() const {
    // The width of the longest line when nothing wraps.
    return m_text.idealSize();
}

QSize SelectableTextView::minimumSizeHint() const {
    return m_text.wraps() ? QSize(0, 0) : sizeHint();
}

qreal SelectableTextView::firstBaseline() const {
    return m_text.firstBaseline(width());
}

int SelectableTextView::lineCount() const {
    return m_text.lineCount(width());
}

QString SelectableTextView::selectedText() const {
    return m_selection.text();
}

void SelectableTextView::selectAll() {
    m_selection.selectAll();
    update();
}

void SelectableTextView::clearSelection() {
    if (m_selection.clear())
        update();
}

void SelectableTextView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    m_text.draw(&painter, width(), event->rect(), palette(), m_colour, &m_selection.cursor());
}

void SelectableTextView::resizeEvent(QResizeEvent*) {
    if (m_text.wraps())
        m_text.layoutAt(width());
}

int SelectableTextView::positionAt(const QPointF& point) const {
    return m_text.positionAt(point, width());
}

void SelectableTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_selection.press(positionAt(event->position()), event->modifiers() & Qt::ShiftModifier);
    update();
}

void SelectableTextView::mouseMoveEvent(QMouseEvent* event) {
    if (m_selection.drag(positionAt(event->position())))
        update();
}

void SelectableTextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_selection.release();
}

void SelectableTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_selection.selectWord(positionAt(event->position()));
    update();
}

void SelectableTextView::keyPressEvent(QKeyEvent* event) {
    if (m_selection.handleKey(event))
        update();
    else
        QWidget::keyPressEvent(event);
}

void SelectableTextView::focusOutEvent(QFocusEvent* event) {
    // A context menu opening keeps the selection it acts on.
    if (event->reason() != Qt::PopupFocusReason)
        clearSelection();
    QWidget::focusOutEvent(event);
}

void SelectableTextView::contextMenuEvent(QContextMenuEvent* event) {
    event->ignore();
}
