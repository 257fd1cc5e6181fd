#include "preview/CodeLinesView.h"

#include "preview/LeastRecentlyUsed.h"
#include "preview/TextSelection.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextCursor>
#include <algorithm>
#include <cmath>

namespace {

// The formats of `text` that fall in [from, to), counted from `from`.
QList<QTextLayout::FormatRange> formatsIn(const StyledText& text, qsizetype from, qsizetype to) {
    QList<QTextLayout::FormatRange> out;
    for (const QTextLayout::FormatRange& range : text.formats) {
        const qsizetype start = qMax<qsizetype>(range.start, from);
        const qsizetype end = qMin<qsizetype>(range.start + range.length, to);
        if (end > start)
            out.append({int(start - from), int(end - start), range.format});
    }
    return out;
}

} // namespace

CodeLinesView::CodeLinesView(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::ClickFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CodeLinesView::setContent(const StyledText& text, const QFont& font, const QColor& colour) {
    // New colours for the same code: the same chunks at the sizes they had,
    // only laid out again; what the reader selected stays.
    if (!m_chunks.empty() && text.text == m_content.text && font == m_font) {
        m_content = text;
        m_colour = colour;
        for (Chunk& chunk : m_chunks)
            chunk.text = LaidOutText();
        update();
        return;
    }
    clearSelection();
    m_content = text;
    m_font = font;
    m_colour = colour;
    m_chunks.clear();
    const QFontMetricsF metrics(font);
    const int lineHeight = int(std::ceil(metrics.ascent() + metrics.descent() + metrics.leading()));
    const qreal advance = metrics.averageCharWidth();

    const QStringView code(text.text);
    qsizetype start = 0;
    bool more = true;
    while (more) {
        // Whole lines while they fit; a line longer than a chunk is cut.
        Chunk chunk;
        chunk.lines = 0;
        qsizetype end = 0;
        bool breakAfter = false; // the chunk stops at a line break it leaves out
        // Line breaks are looked for no further than the chunk can reach.
        const QStringView reach = code.first(qMin(code.size(), start + chunkCharacters + 1));
        for (qsizetype at = start;;) {
            const qsizetype lineBreak = reach.indexOf(u'\n', at);
            const qsizetype lineEnd = lineBreak < 0 ? reach.size() : lineBreak;
            if (lineEnd - start > chunkCharacters) {
                if (chunk.lines > 0) {
                    end = at - 1;
                    breakAfter = true;
                } else {
                    end = start + chunkCharacters;
                    // Not between the halves of a surrogate pair.
                    if (code[end].isLowSurrogate() && code[end - 1].isHighSurrogate())
                        --end;
                    chunk.lines = 1;
                    chunk.longestLine = end - start;
                }
                break;
            }
            ++chunk.lines;
            chunk.longestLine = qMax(chunk.longestLine, lineEnd - at);
            if (lineBreak < 0) {
                end = reach.size();
                break;
            }
            if (chunk.lines == chunkLines) {
                end = lineBreak;
                breakAfter = true;
                break;
            }
            at = lineBreak + 1;
        }
        chunk.endsLine = breakAfter || end == code.size();
        chunk.size = {int(std::ceil(qreal(chunk.longestLine) * advance)), chunk.lines * lineHeight};
        chunk.start = start;
        chunk.length = end - start;
        m_chunks.push_back(std::move(chunk));
        start = breakAfter ? end + 1 : end;
        more = breakAfter || end < code.size();
    }
    place();
    updateGeometry();
    update();
}

void CodeLinesView::place() {
    const QMargins margins = contentsMargins();
    int top = margins.top();
    int width = 0;
    for (Chunk& chunk : m_chunks) {
        chunk.top = top;
        top += chunk.size.height();
        width = qMax(width, chunk.size.width());
    }
    m_height = top + margins.bottom();
    m_width = margins.left() + width + margins.right();
}

QSize CodeLinesView::sizeHint() const {
    return {m_width, m_height};
}

void CodeLinesView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ContentsRectChange) {
        place();
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

void CodeLinesView::hideEvent(QHideEvent* event) {
    for (Chunk& chunk : m_chunks)
        chunk.text = LaidOutText();
    QWidget::hideEvent(event);
}

QString CodeLinesView::chunkText(int chunk) const {
    const Chunk& c = m_chunks[size_t(chunk)];
    return m_content.text.mid(c.start, c.length);
}

int CodeLinesView::laidOutChunkCount() const {
    return int(std::count_if(m_chunks.begin(), m_chunks.end(),
                             [](const Chunk& chunk) { return chunk.text.hasDocument(); }));
}

LaidOutText& CodeLinesView::laidOut(Chunk& chunk) {
    // Only the chunks laid out hold a copy of their code.
    if (!chunk.text.hasDocument()) {
        const qsizetype end = chunk.start + chunk.length;
        chunk.text.setContent(
            {m_content.text.mid(chunk.start, chunk.length), formatsIn(m_content, chunk.start, end)},
            m_font, 0, false);
        chunk.text.document();
    }
    return chunk.text;
}

QRect CodeLinesView::chunkRect(int chunk) const {
    const Chunk& c = m_chunks[size_t(chunk)];
    return {contentsMargins().left(), c.top, c.size.width(), c.size.height()};
}

int CodeLinesView::chunkAt(qreal y) const {
    const auto after =
        std::upper_bound(m_chunks.begin(), m_chunks.end(), y,
                         [](qreal at, const Chunk& chunk) { return at < chunk.top; });
    return qMax(0, int(after - m_chunks.begin()) - 1);
}

void CodeLinesView::paintEvent(QPaintEvent* event) {
    if (m_chunks.empty())
        return;
    QPainter painter(this);
    const QRect exposed = event->rect();
    ++m_tick;
    bool resized = false;
    for (size_t i = size_t(chunkAt(exposed.top()));
         i < m_chunks.size() && m_chunks[i].top <= exposed.bottom(); ++i) {
        Chunk& chunk = m_chunks[i];
        LaidOutText& text = laidOut(chunk);
        const QSize laidOut = text.idealSize();
        // Measured once: an estimate that was off moves what follows.
        if (!chunk.measured) {
            chunk.measured = true;
            resized = resized || laidOut.height() != chunk.size.height() ||
                      laidOut.width() > chunk.size.width();
            chunk.size = {qMax(laidOut.width(), chunk.size.width()), laidOut.height()};
        }
        chunk.drawn = m_tick;
        // The part of the selection in this chunk.
        QTextCursor selected(text.document());
        const qsizetype from = qMin(m_anchor, m_position) - chunk.start;
        const qsizetype to = qMax(m_anchor, m_position) - chunk.start;
        if (to > 0 && from < chunk.length) {
            selected.setPosition(int(qMax<qsizetype>(0, from)));
            selected.setPosition(int(qMin(to, chunk.length)), QTextCursor::KeepAnchor);
        }
        const QPoint origin = chunkRect(int(i)).topLeft();
        painter.save();
        painter.translate(origin);
        text.draw(&painter, chunk.size.width(), exposed.translated(-origin), palette(), m_colour,
                  &selected);
        painter.restore();
    }
    dropFarChunks();
    if (resized) {
        place();
        // The scroller this view sits in directly learns of the new size.
        QCoreApplication::postEvent(this, new QEvent(QEvent::LayoutRequest));
        update();
    }
}

void CodeLinesView::dropFarChunks() {
    std::vector<size_t> waiting;
    for (size_t i = 0; i < m_chunks.size(); ++i)
        if (m_chunks[i].text.hasDocument() && m_chunks[i].drawn != m_tick)
            waiting.push_back(i);
    for (const size_t index :
         LeastRecentlyUsed::beyond(std::move(waiting), size_t(keptChunks),
                                   [this](size_t i) { return m_chunks[i].drawn; }))
        m_chunks[index].text = LaidOutText();
}

qsizetype CodeLinesView::positionAt(const QPointF& point) {
    if (m_chunks.empty())
        return 0;
    Chunk& chunk = m_chunks[size_t(chunkAt(point.y()))];
    // Above or below its chunk the pointer selects to the chunk's first or last line.
    const qreal y = qBound<qreal>(0, point.y() - chunk.top, qMax(0, chunk.size.height() - 1));
    return chunk.start +
           laidOut(chunk).positionAt({point.x() - contentsMargins().left(), y}, chunk.size.width());
}

QString CodeLinesView::selectedText() const {
    return m_content.text.mid(qMin(m_anchor, m_position), qAbs(m_position - m_anchor));
}

void CodeLinesView::selectAll() {
    m_anchor = 0;
    m_position = m_content.text.size();
    update();
}

void CodeLinesView::clearSelection() {
    const bool had = hasSelection();
    m_anchor = m_position;
    m_dragging = false;
    if (had)
        update();
}

void CodeLinesView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_chunks.empty()) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_position = positionAt(event->position());
    if (!(event->modifiers() & Qt::ShiftModifier))
        m_anchor = m_position;
    m_dragging = true;
    update();
}

void CodeLinesView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    m_position = positionAt(event->position());
    update();
}

void CodeLinesView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
}

void CodeLinesView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_chunks.empty())
        return;
    const qsizetype at = positionAt(event->position());
    Chunk& chunk = m_chunks[size_t(chunkAt(event->position().y()))];
    QTextCursor word(laidOut(chunk).document());
    word.setPosition(int(at - chunk.start));
    word.select(QTextCursor::WordUnderCursor);
    m_anchor = chunk.start + word.selectionStart();
    m_position = chunk.start + word.selectionEnd();
    update();
}

void CodeLinesView::keyPressEvent(QKeyEvent* event) {
    switch (TextSelection::shortcutOf(event)) {
    case TextSelection::Shortcut::Copy:
        if (hasSelection())
            QApplication::clipboard()->setText(selectedText());
        return;
    case TextSelection::Shortcut::SelectAll:
        selectAll();
        return;
    case TextSelection::Shortcut::None:
        break;
    }
    QWidget::keyPressEvent(event);
}

void CodeLinesView::focusOutEvent(QFocusEvent* event) {
    // A context menu opening keeps the selection it acts on.
    if (event->reason() != Qt::PopupFocusReason)
        clearSelection();
    QWidget::focusOutEvent(event);
}

void CodeLinesView::contextMenuEvent(QContextMenuEvent* event) {
    event->ignore();
}
