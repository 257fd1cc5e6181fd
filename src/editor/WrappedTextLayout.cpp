#include "editor/WrappedTextLayout.h"

#include <QFontMetrics>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>

WrappedTextLayout::WrappedTextLayout(QTextDocument* document)
    : QPlainTextDocumentLayout(document) {}

// Qt's frame is as wide as the lines wrap, or as the widest line where they
// do not.
qreal WrappedTextLayout::wrapWidth() const {
    if (document()->defaultTextOption().wrapMode() == QTextOption::NoWrap)
        return 0;
    return frameBoundingRect(nullptr).width();
}

QRectF WrappedTextLayout::blockBoundingRect(const QTextBlock& block) const {
    if (wrapWidth() > 0 && block.isValid() && block.layout()->lineCount() == 0)
        const_cast<WrappedTextLayout*>(this)->layOut(block);
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

// An edit within one laid out block lays out that block alone; anything else
// (blocks added or removed, a block not laid out yet) is Qt's.
void WrappedTextLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    QTextDocument* doc = document();
    const QTextBlock block = doc->findBlock(from);
    const bool withinBlock =
        block == doc->findBlock(qMax(0, from + charsRemoved + charsAdded - 1)) &&
        doc->blockCount() == m_blockCount;
    if (wrapWidth() <= 0 || !withinBlock || !block.isValid() || block.layout()->lineCount() == 0) {
        m_blockCount = doc->blockCount();
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
        return;
    }
    const qreal before = blockBoundingRect(block).height();
    layOut(block);
    if (blockBoundingRect(block).height() == before)
        Q_EMIT updateBlock(block);
    else
        Q_EMIT update(QRectF(0., -doc->documentMargin(), 1e9, 1e9));
}

// As Qt lays a block out, less the widest block's bookkeeping.
void WrappedTextLayout::layOut(const QTextBlock& block) {
    QTextDocument* doc = document();
    const qreal margin = doc->documentMargin();
    QTextLayout* layout = block.layout();
    const QTextOption option = doc->defaultTextOption();
    layout->setTextOption(option);
    int extraMargin = 0;
    if (option.flags() & QTextOption::AddSpaceForLineAndParagraphSeparators)
        extraMargin = QFontMetrics(block.charFormat().font()).horizontalAdvance(QChar(0x21B5));
    const qreal available = wrapWidth() - 2 * margin - extraMargin;
    qreal height = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(available);
        line.setPosition(QPointF(margin, height));
        height += line.height();
        if (line.leading() < 0)
            height += std::ceil(line.leading());
    }
    layout->endLayout();
    const int lines = doc->lineCount();
    const_cast<QTextBlock&>(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
    if (doc->lineCount() != lines)
        Q_EMIT documentSizeChanged(documentSize());
}
