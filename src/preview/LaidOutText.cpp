#include "preview/LaidOutText.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>

namespace {

constexpr size_t rememberedWidths = 8;
constexpr qreal noLayout = -2;
// Wider than any pane: asked only while a layout works out size hints, and
// answered without laying the text out.
constexpr int unshownWidth = 100000;
// A run without a break this long is wrapped anywhere: looking for a word
// boundary in it costs time with the square of its length.
constexpr qsizetype longestWord = 1000;
// Each run of one format costs the text document a fragment and its layout
// a script item: a paragraph this long (a whole file on one line) shows
// plain, in the base font: with its runs each layout took many seconds.
constexpr qsizetype longestStyledText = 100'000;
// Wrapped text this long is wider than any pane on one line: its ideal size
// is counted, not laid out, which would take as long as its real layout.
constexpr qsizetype longestMeasuredLine = 4096;

bool hasLongWord(const QString& text) {
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > longestWord)
            return true;
    }
    return false;
}

} // namespace

LaidOutText::LaidOutText() = default;
LaidOutText::~LaidOutText() = default;
LaidOutText::LaidOutText(LaidOutText&&) noexcept = default;
LaidOutText& LaidOutText::operator=(LaidOutText&&) noexcept = default;

void LaidOutText::setContent(const StyledText& text, const QFont& font, qreal lineSpacing,
                             bool wrap, qreal tracking) {
    m_content = text;
    m_font = font;
    m_lineSpacing = lineSpacing;
    m_wrap = wrap;
    m_tracking = tracking;
    m_heights.clear();
    m_idealSize.reset();
    if (m_document)
        fill();
}

QTextDocument* LaidOutText::document() {
    if (!m_document) {
        m_document = std::make_unique<QTextDocument>();
        m_document->setDocumentMargin(0);
        m_document->setUndoRedoEnabled(false);
        fill();
    }
    return m_document.get();
}

void LaidOutText::dropDocument() {
    m_document.reset();
    m_laidOutWidth = noLayout;
}

void LaidOutText::fill() {
    QFont base = m_font;
    if (m_tracking != 0)
        base.setLetterSpacing(QFont::AbsoluteSpacing, m_tracking);
    m_document->setDefaultFont(base);
    QTextOption option = m_document->defaultTextOption();
    option.setWrapMode(!m_wrap                       ? QTextOption::NoWrap
                       : hasLongWord(m_content.text) ? QTextOption::WrapAnywhere
                                                     : QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_document->setDefaultTextOption(option);

    QTextBlockFormat block;
    if (m_lineSpacing > 0)
        block.setLineHeight(m_lineSpacing, QTextBlockFormat::LineDistanceHeight);
    if (m_content.text.size() > longestStyledText) {
        StyledText{m_content.text, {}}.writeTo(m_document.get(), block);
    } else if (m_tracking != 0) {
        StyledText shown = m_content;
        QTextCharFormat spacing;
        spacing.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        spacing.setFontLetterSpacing(m_tracking);
        shown.mergeFrom(0, spacing);
        shown.writeTo(m_document.get(), block);
    } else {
        m_content.writeTo(m_document.get(), block);
    }
    m_laidOutWidth = noLayout;
}

void LaidOutText::layoutAt(int width) {
    const qreal wanted = m_wrap ? qMax<qreal>(width, 1) : -1;
    QTextDocument* doc = document();
    if (m_laidOutWidth != wanted || doc->textWidth() != wanted) {
        doc->setTextWidth(wanted);
    }
    m_laidOutWidth = wanted;
}

int LaidOutText::measuredHeight() const {
    // The last line carries the line distance too; it is only space between lines.
    const qreal height = m_document->documentLayout()->documentSize().height();
    return int(std::ceil(qMax<qreal>(0, height - m_lineSpacing)));
}

int LaidOutText::heightForWidth(int width) {
    if (!m_wrap)
        return idealSize().height();
    for (const auto& [known, height] : m_heights)
        if (known == width)
            return height;
    // Nothing wraps where the longest line fits: no layout needed.
    if ((m_idealSize && width >= m_idealSize->width()) || width >= unshownWidth)
        return idealSize().height();
    layoutAt(width);
    const int height = measuredHeight();
    if (m_heights.size() >= rememberedWidths)
        m_heights.erase(m_heights.begin());
    m_heights.emplace_back(width, height);
    return height;
}

QSize LaidOutText::idealSize() {
    // Laying out a paragraph that long on one line takes as long as laying
    // it out to wrap, and it is wider than any pane anyway: its lines are
    // counted, not laid out.
    if (!m_idealSize && m_wrap && m_content.text.size() > longestMeasuredLine) {
        const qreal lineHeight = QFontMetricsF(m_font).height() + m_lineSpacing;
        const auto lines = m_content.text.count(u'\n') + 1;
        m_idealSize =
            QSize(unshownWidth, int(std::ceil(qreal(lines) * lineHeight - m_lineSpacing)));
    }
    if (!m_idealSize) {
        QTextDocument* doc = document();
        if (m_laidOutWidth != -1 || doc->textWidth() != -1)
            doc->setTextWidth(-1);
        m_laidOutWidth = -1;
        m_idealSize = QSize(int(std::ceil(doc->idealWidth())), measuredHeight());
    }
    return *m_idealSize;
}

qreal LaidOutText::firstBaseline(int width) {
    if (!m_document || m_laidOutWidth == noLayout)
        layoutAt(width);
    const QTextBlock block = m_document->firstBlock();
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return QFontMetricsF(m_document->defaultFont()).ascent();
    const QTextLine line = layout->lineAt(0);
    const QRectF blockRect = m_document->documentLayout()->blockBoundingRect(block);
    return blockRect.top() + line.y() + line.ascent();
}

int LaidOutText::lineCount(int width) {
    layoutAt(width);
    // Lays out every block.
    m_document->documentLayout()->documentSize();
    int lines = 0;
    for (QTextBlock block = m_document->firstBlock(); block.isValid(); block = block.next())
        lines += block.layout() ? block.layout()->lineCount() : 0;
    return lines;
}

int LaidOutText::positionAt(const QPointF& point, int width) {
    layoutAt(width);
    const int position = m_document->documentLayout()->hitTest(point, Qt::FuzzyHit);
    return position < 0 ? 0 : position;
}

void LaidOutText::draw(QPainter* painter, int width, const QRect& exposed, const QPalette& palette,
                       const QColor& colour, const QTextCursor* selection) {
    layoutAt(width);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = exposed;
    context.palette = palette;
    context.palette.setColor(QPalette::Text, colour);
    if (selection && selection->hasSelection()) {
        QAbstractTextDocumentLayout::Selection selected;
        selected.cursor = *selection;
        selected.format.setBackground(palette.brush(QPalette::Highlight));
        selected.format.setForeground(palette.brush(QPalette::HighlightedText));
        context.selections.append(selected);
    }
    m_document->documentLayout()->draw(painter, context);
}
