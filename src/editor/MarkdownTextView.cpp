#include "editor/MarkdownTextView.h"

#include "editor/EditorContextMenuBuilder.h"
#include "editor/EditorPopovers.h"
#include "editor/ImageDropSupport.h"
#include "editor/MarkdownEditingSupport.h"
#include "editor/WrappedTextLayout.h"
#include "platform/FreedMemory.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBlock>
#include <memory>

namespace {

// Ctrl with B, I or K, whatever else is held.
int keyEquivalent(const QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier))
        return 0;
    switch (event->key()) {
    case Qt::Key_B:
    case Qt::Key_I:
    case Qt::Key_K:
        return event->key();
    default:
        return 0;
    }
}

bool isReturn(const QKeyEvent* event) {
    const Qt::KeyboardModifiers other =
        event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && other == 0;
}

// Plain typing: no Ctrl, Alt or Meta.
bool isTyping(const QKeyEvent* event) {
    return !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

constexpr int caretWidth = 2;
// Kept layout data takes some 40 bytes a character: a block longer than this
// (a minified file's line) is measured again instead.
constexpr int longestKeptLayout = 1'000'000;

} // namespace

MarkdownTextView::MarkdownTextView(QWidget* parent) : QPlainTextEdit(parent) {
    auto* text = new QTextDocument(this);
    text->setDocumentLayout(new WrappedTextLayout(text));
    setDocument(text);
    setAcceptDrops(true);
    // Qt's own caret would be drawn by inverting the pixels under it.
    setCursorWidth(0);
    m_caretColour = palette().color(QPalette::Text);
    connect(&m_caretBlink, &QTimer::timeout, this, &MarkdownTextView::blinkCaret);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        keepCaretBlockLayout();
        restartCaretBlink();
    });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect&, int dy) {
        if (dy)
            restartCaretBlink();
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &MarkdownTextView::forgetCaretRect);
    // Any relayout may move the caret without moving its position.
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    connect(layout, &QAbstractTextDocumentLayout::update, this, &MarkdownTextView::forgetCaretRect);
    connect(layout, &QAbstractTextDocumentLayout::updateBlock, this,
            &MarkdownTextView::forgetCaretRect);
    connect(layout, &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &MarkdownTextView::forgetCaretRect);
    keepCaretBlockLayout();
}

void MarkdownTextView::setCaretColour(const QColor& colour) {
    m_caretColour = colour;
    viewport()->update(m_caretDrawn);
}

QRect MarkdownTextView::caretRect() const {
    if (!m_caretRect) {
        const QRect line = cursorRect();
        m_caretRect = QRect(line.left(), line.top(), caretWidth, line.height());
    }
    return *m_caretRect;
}

// Qt throws a block's layout data away after each paint and rebuilds all of
// it (character attributes, shapes) whenever it measures a position: in a
// paragraph of many thousand characters that is the cost of every paint,
// blink and key. The caret's block keeps it until its text changes.
void MarkdownTextView::keepCaretBlockLayout() {
    const QTextBlock block = textCursor().block();
    const QTextBlock kept = m_keptLayout.isNull() || m_keptLayout.document() != document()
                                ? QTextBlock()
                                : m_keptLayout.block();
    if (kept.isValid() && kept == block)
        return;
    if (kept.isValid())
        kept.layout()->setCacheEnabled(false);
    if (block.isValid())
        block.layout()->setCacheEnabled(block.length() <= longestKeptLayout);
    m_keptLayout = QTextCursor(block);
}

void MarkdownTextView::restartCaretBlink() {
    m_caretOn = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0)
        m_caretBlink.start(flash / 2);
    else
        m_caretBlink.stop();
    forgetCaretRect();
    viewport()->update(m_caretDrawn);
    viewport()->update(caretRect());
}

void MarkdownTextView::blinkCaret() {
    m_caretOn = !m_caretOn;
    viewport()->update(caretRect());
}

void MarkdownTextView::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    restartCaretBlink();
}

void MarkdownTextView::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    m_caretBlink.stop();
    viewport()->update(m_caretDrawn);
}

void MarkdownTextView::resizeEvent(QResizeEvent* event) {
    forgetCaretRect();
    QPlainTextEdit::resizeEvent(event);
}

void MarkdownTextView::changeEvent(QEvent* event) {
    forgetCaretRect();
    QPlainTextEdit::changeEvent(event);
}

void MarkdownTextView::paintEvent(QPaintEvent* event) {
    QPlainTextEdit::paintEvent(event);
    m_caretDrawn = {};
    if (!hasFocus() || !m_caretOn || isReadOnly())
        return;
    m_caretDrawn = caretRect();
    if (event->rect().intersects(m_caretDrawn))
        QPainter(viewport()).fillRect(m_caretDrawn, m_caretColour);
}

void MarkdownTextView::setTextInset(int horizontal, int vertical) {
    // The document margin scrolls with the text; the sides add the rest.
    document()->setDocumentMargin(vertical);
    const int side = qMax(0, horizontal - vertical);
    setViewportMargins(side, 0, side, 0);
    forgetCaretRect();
}

bool MarkdownTextView::event(QEvent* event) {
    // Claim the key equivalents, and the slash menu's keys while it lists
    // commands, before any shortcut (or Qt's own Ctrl+K) gets them.
    if (event->type() == QEvent::ShortcutOverride && !isReadOnly()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (keyEquivalent(key) || (m_slashPopover && m_slashPopover->wantsKey(key))) {
            event->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

bool MarkdownTextView::handleKeyEquivalent(QKeyEvent* event) {
    switch (keyEquivalent(event)) {
    case Qt::Key_B:
        MarkdownEditingSupport::wrapSelection(this, QStringLiteral("**"), QStringLiteral("**"));
        return true;
    case Qt::Key_I:
        MarkdownEditingSupport::wrapSelection(this, QStringLiteral("_"), QStringLiteral("_"));
        return true;
    case Qt::Key_K:
        MarkdownEditingSupport::wrapSelection(this, QStringLiteral("["), QStringLiteral("](url)"),
                                              QStringLiteral("text"));
        return true;
    default:
        return false;
    }
}

void MarkdownTextView::keyPressEvent(QKeyEvent* event) {
    // A key lays its whole block out again: in a long paragraph megabytes
    // freed and taken at once.
    const FreedMemory::ReusedLargeBlocks reuse;
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    if (m_slashPopover && m_slashPopover->handleKeyDown(event)) {
        event->accept();
        return;
    }
    if (handleKeyEquivalent(event)) {
        ensureCursorVisible();
        event->accept();
        return;
    }
    if (isReturn(event)) {
        insertNewline();
        ensureCursorVisible();
        event->accept();
        return;
    }
    if (isTyping(event) && MarkdownEditingSupport::insertPair(this, event->text())) {
        ensureCursorVisible();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MarkdownTextView::insertNewline() {
    if (m_slashPopover && m_slashPopover->isListingCommands()) {
        m_slashPopover->confirmSelection();
        return;
    }
    if (MarkdownEditingSupport::continueList(this))
        return;
    const EditorText::Range selection = EditorText::selection(this);
    EditorText::replace(this, selection, QStringLiteral("\n"),
                        {selection.from + 1, selection.from + 1});
}

void MarkdownTextView::inputMethodEvent(QInputMethodEvent* event) {
    const FreedMemory::ReusedLargeBlocks reuse;
    // Text being composed moves the caret within it.
    forgetCaretRect();
    if (!isReadOnly() && event->preeditString().isEmpty() && event->replacementLength() == 0 &&
        MarkdownEditingSupport::insertPair(this, event->commitString())) {
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void MarkdownTextView::insertFromMimeData(const QMimeData* source) {
    if (source && source->hasText() && MarkdownEditingSupport::insertPair(this, source->text()))
        return;
    QPlainTextEdit::insertFromMimeData(source);
}

bool MarkdownTextView::insertImageReferences(const QList<QUrl>& urls) {
    const QList<QUrl> images = ImageDropSupport::imageUrls(urls);
    if (images.isEmpty())
        return false;
    const QString text = ImageDropSupport::references(images, m_documentDirectory);
    const EditorText::Range selection = EditorText::selection(this);
    const int caret = selection.from + int(text.size());
    EditorText::replace(this, selection, text, {caret, caret});
    ensureCursorVisible();
    return true;
}

void MarkdownTextView::dragEnterEvent(QDragEnterEvent* event) {
    m_dragHasImages = !isReadOnly() && !ImageDropSupport::imageUrls(event->mimeData()).isEmpty();
    if (!m_dragHasImages) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void MarkdownTextView::dragMoveEvent(QDragMoveEvent* event) {
    if (!m_dragHasImages) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void MarkdownTextView::dragLeaveEvent(QDragLeaveEvent* event) {
    m_dragHasImages = false;
    event->accept();
}

void MarkdownTextView::dropEvent(QDropEvent* event) {
    m_dragHasImages = false;
    if (isReadOnly() || !event->mimeData() || !event->mimeData()->hasUrls() ||
        !insertImageReferences(event->mimeData()->urls())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void MarkdownTextView::selectForContextMenu(const QPoint& viewportPosition) {
    const int index = cursorForPosition(viewportPosition).position();
    const EditorText::Range selection = EditorText::selection(this);
    if (!selection.isEmpty() && selection.from <= index && index < selection.to)
        return;
    QTextCursor cursor(document());
    cursor.setPosition(index);
    cursor.select(QTextCursor::WordUnderCursor);
    setTextCursor(cursor);
}

void MarkdownTextView::contextMenuEvent(QContextMenuEvent* event) {
    setFocus(Qt::PopupFocusReason);
    if (event->reason() == QContextMenuEvent::Mouse)
        selectForContextMenu(event->pos());
    const std::unique_ptr<QMenu> menu(EditorContextMenuBuilder::makeMenu(this));
    menu->exec(event->globalPos());
}

QRectF MarkdownTextView::blockRect(const QTextBlock& block) const {
    return blockBoundingGeometry(block).translated(contentOffset());
}

EditorText::Range MarkdownTextView::visibleRange() const {
    QTextBlock block = firstVisibleBlock();
    if (!block.isValid())
        return {};
    const int from = block.position();
    int to = from;
    const QPointF offset = contentOffset();
    const int bottom = viewport()->height();
    while (block.isValid()) {
        const QRectF box = blockBoundingGeometry(block).translated(offset);
        if (box.top() > bottom)
            break;
        to = block.position() + block.length() - 1;
        block = block.next();
    }
    return {from, to};
}

void MarkdownTextView::wrapOrToggle(const QString& marker, const QString& placeholder) {
    if (EditorText::selection(this).isEmpty())
        MarkdownEditingSupport::wrapSelection(this, marker, marker, placeholder);
    else
        MarkdownEditingSupport::toggleWrapSelection(this, marker, marker);
    ensureCursorVisible();
}

void MarkdownTextView::insertAtSelectionStart(const QString& block, int caretOffset) {
    const int start = EditorText::selection(this).from;
    EditorText::replace(this, {start, start}, block, {start + caretOffset, start + caretOffset});
    ensureCursorVisible();
}

void MarkdownTextView::contextMenuBold() {
    wrapOrToggle(QStringLiteral("**"), QStringLiteral("text"));
}

void MarkdownTextView::contextMenuItalic() {
    wrapOrToggle(QStringLiteral("_"), QStringLiteral("text"));
}

void MarkdownTextView::contextMenuStrikethrough() {
    wrapOrToggle(QStringLiteral("~~"), QStringLiteral("text"));
}

void MarkdownTextView::contextMenuInlineCode() {
    wrapOrToggle(QStringLiteral("`"), QStringLiteral("code"));
}

void MarkdownTextView::contextMenuLink() {
    MarkdownEditingSupport::wrapSelection(this, QStringLiteral("["), QStringLiteral("](url)"),
                                          QStringLiteral("text"));
    ensureCursorVisible();
}

void MarkdownTextView::contextMenuHeading(int level) {
    // Normal Text strips every selected line's marker; taking the first
    // line's level instead would add headings to the other lines.
    if (level == 0 &&
        MarkdownEditingSupport::headingLevel(MarkdownEditingSupport::firstSelectedLine(this)) == 0)
        return;
    MarkdownEditingSupport::applyHeading(this, level);
}

void MarkdownTextView::contextMenuBulletList() {
    MarkdownEditingSupport::applyBulletList(this);
}

void MarkdownTextView::contextMenuNumberedList() {
    MarkdownEditingSupport::applyNumberedList(this);
}

void MarkdownTextView::contextMenuTaskList() {
    MarkdownEditingSupport::applyTaskList(this);
}

void MarkdownTextView::contextMenuBlockquote() {
    MarkdownEditingSupport::applyBlockquote(this);
}

void MarkdownTextView::contextMenuCodeBlock() {
    insertAtSelectionStart(QStringLiteral("```\n\n```"), 4);
}

void MarkdownTextView::contextMenuDivider() {
    insertAtSelectionStart(QStringLiteral("---\n"), 4);
}

void MarkdownTextView::contextMenuFind() {
    Q_EMIT findRequested();
}
