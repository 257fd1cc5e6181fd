#include "preview/SelectableTextView.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>

SelectableTextView::SelectableTextView(QWidget* parent)
    : QWidget(parent), m_document(new QTextDocument(this)), m_selection(m_document) {
    m_document->setDocumentMargin(0);
    m_document->setUndoRedoEnabled(false);
    setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::ClickFocus);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void SelectableTextView::setContent(const StyledText& text, const QFont& font, const QColor& colour,
                                    qreal lineSpacing, bool wrap, qreal tracking) {
    m_content = text;
    m_colour = colour;
    m_lineSpacing = lineSpacing;
    m_wrap = wrap;
    QFont base = font;
    if (tracking != 0)
        base.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    m_document->setDefaultFont(base);
    QTextOption option = m_document->defaultTextOption();
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    m_document->setDefaultTextOption(option);

    QTextBlockFormat block;
    if (lineSpacing > 0)
        block.setLineHeight(lineSpacing, QTextBlockFormat::LineDistanceHeight);
    StyledText shown = text;
    if (tracking != 0) {
        QTextCharFormat spacing;
        spacing.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        spacing.setFontLetterSpacing(tracking);
        shown.mergeFrom(0, spacing);
    }
    shown.writeTo(m_document, block);
    m_selection = QTextCursor(m_document);

    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(wrap);
    setSizePolicy(policy);
    layoutAt(width());
    updateGeometry();
    update();
}

void SelectableTextView::layoutAt(qreal width) const {
    const qreal wanted = m_wrap ? qMax<qreal>(width, 1) : -1;
    if (m_document->textWidth() != wanted)
        m_document->setTextWidth(wanted);
}

int SelectableTextView::contentHeight() const {
    // The last line carries the line distance too; it is only space between lines.
    const qreal height = m_document->documentLayout()->documentSize().height();
    return int(std::ceil(qMax<qreal>(0, height - m_lineSpacing)));
}

int SelectableTextView::heightForWidth(int width) const {
    const qreal current = m_document->textWidth();
    layoutAt(width);
    const int height = contentHeight();
    m_document->setTextWidth(current);
    return height;
}

QSize SelectableTextView::sizeHint() const {
    // The width of the longest line when nothing wraps.
    const qreal current = m_document->textWidth();
    m_document->setTextWidth(-1);
    const int ideal = int(std::ceil(m_document->idealWidth()));
    const int unwrappedHeight = contentHeight();
    m_document->setTextWidth(current);
    return {ideal, unwrappedHeight};
}

QSize SelectableTextView::minimumSizeHint() const {
    return m_wrap ? QSize(0, 0) : sizeHint();
}

qreal SelectableTextView::firstBaseline() const {
    layoutAt(width());
    const QTextBlock block = m_document->firstBlock();
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return QFontMetricsF(m_document->defaultFont()).ascent();
    const QTextLine line = layout->lineAt(0);
    const QRectF blockRect = m_document->documentLayout()->blockBoundingRect(block);
    return blockRect.top() + line.y() + line.ascent();
}

int SelectableTextView::lineCount() const {
    layoutAt(width());
    int lines = 0;
    for (QTextBlock block = m_document->firstBlock(); block.isValid(); block = block.next())
        lines += block.layout() ? block.layout()->lineCount() : 0;
    return lines;
}

QString SelectableTextView::selectedText() const {
    QString text = m_selection.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

void SelectableTextView::selectAll() {
    m_selection.select(QTextCursor::Document);
    update();
}

void SelectableTextView::clearSelection() {
    if (!m_selection.hasSelection())
        return;
    m_selection.clearSelection();
    update();
}

void SelectableTextView::paintEvent(QPaintEvent*) {
    layoutAt(width());
    QPainter painter(this);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.palette.setColor(QPalette::Text, m_colour);
    if (m_selection.hasSelection()) {
        QAbstractTextDocumentLayout::Selection selection;
        selection.cursor = m_selection;
        selection.format.setBackground(palette().brush(QPalette::Highlight));
        selection.format.setForeground(palette().brush(QPalette::HighlightedText));
        context.selections.append(selection);
    }
    m_document->documentLayout()->draw(&painter, context);
}

void SelectableTextView::resizeEvent(QResizeEvent*) {
    layoutAt(width());
}

int SelectableTextView::positionAt(const QPointF& point) const {
    layoutAt(width());
    const int position = m_document->documentLayout()->hitTest(point, Qt::FuzzyHit);
    return position < 0 ? 0 : position;
}

void SelectableTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const int position = positionAt(event->position());
    if (event->modifiers() & Qt::ShiftModifier)
        m_selection.setPosition(position, QTextCursor::KeepAnchor);
    else
        m_selection.setPosition(position);
    m_dragging = true;
    update();
}

void SelectableTextView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    m_selection.setPosition(positionAt(event->position()), QTextCursor::KeepAnchor);
    update();
}

void SelectableTextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
}

void SelectableTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_selection.setPosition(positionAt(event->position()));
    m_selection.select(QTextCursor::WordUnderCursor);
    update();
}

void SelectableTextView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) ||
        (event->key() == Qt::Key_C && event->modifiers() == Qt::ControlModifier)) {
        if (hasSelection())
            QApplication::clipboard()->setText(selectedText());
        return;
    }
    if (event->matches(QKeySequence::SelectAll) ||
        (event->key() == Qt::Key_A && event->modifiers() == Qt::ControlModifier)) {
        selectAll();
        return;
    }
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
