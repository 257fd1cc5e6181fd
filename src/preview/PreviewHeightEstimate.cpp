#include "preview/PreviewHeightEstimate.h"

#include "preview/InlineMarkupRenderer.h"
#include "preview/InlineMarkupView.h"
#include "preview/MarkdownBlockView.h"

#include <cmath>

namespace {

// Average glyph advance and line height as fractions of the font size, from
// the preview's body fonts; line height includes the 7 of extra line spacing.
constexpr double advance = 0.5;
constexpr double lineGap = 7;
constexpr double codeLine = 17;

// The characters a reader sees in a node, counted without building its text.
qsizetype plainLength(const MarkdownNode& node) {
    qsizetype length = 0;
    switch (node.kind) {
    case MarkdownNodeKind::SoftBreak:
    case MarkdownNodeKind::LineBreak:
        return 1;
    case MarkdownNodeKind::Link:
    case MarkdownNodeKind::Image:
        break; // their destination, not text
    default:
        length = node.literal.size();
        break;
    }
    for (const MarkdownNode& child : node.children)
        length += plainLength(child);
    return length;
}

double textHeight(qsizetype characters, double width, double size, double gap = lineGap) {
    const double perLine = qMax(8.0, width / (size * advance));
    const int lines = qMax(1, int(std::ceil(double(characters) / perLine)));
    return lines * (size * 1.25 + gap) - gap;
}

int wrappedLines(const QString& text, double width, double size) {
    const double perLine = qMax(8.0, width / (size * advance));
    int lines = 0;
    for (const QStringView line : QStringView(text).split(u'\n'))
        lines += qMax(1, int(std::ceil(double(line.size()) / perLine)));
    return lines;
}

double textHeight(const QString& text, double width, double size) {
    const int lines = wrappedLines(text, width, size);
    return lines * (size * 1.25 + lineGap) - lineGap;
}

// Rows first..first+count of a table (its children: the header, then the
// body): each row's cells share the width and the row is as tall as its
// tallest cell's wrapped text, padded.
double tableRows(const MarkdownNode& table, int first, int count, double width, double size) {
    double total = 0;
    for (int r = first; r < first + count && r < table.childCount(); ++r) {
        const MarkdownNode& row = table.child(r);
        const int cells = qMax(1, row.childCount());
        const double cellWidth = qMax(1.0, (width - (cells - 1)) / cells - 32);
        const double textSize = row.kind == MarkdownNodeKind::TableHead ? size - 1 : size - 1.5;
        double tallest = 0;
        if (row.children.moved()) {
            // Cells made when first read (moved, or parsed from their line):
            // reading them all would cost as much as the table. The line's
            // length, shared by the cells, is as good a guess.
            const int line = qMax(0, row.range.endColumn - row.range.startColumn + 1);
            tallest = textHeight(line / cells, cellWidth, textSize, 5);
        }
        for (const MarkdownNode& cell : row.children.moved() ? MarkdownNodeList() : row.children)
            tallest = qMax(tallest, textHeight(plainLength(cell), cellWidth, textSize, 5));
        total += tallest + 16;
    }
    return total;
}

// Children first..end-1 of a heading or paragraph with pictures among its
// runs, each on a row of its own in body text.
double inlineRows(const MarkdownNode& container, int first, int end, double width, double size) {
    constexpr double picture = 200;
    double total = 0;
    for (int i = first; i < end; ++i) {
        const MarkdownNode& child = container.child(i);
        total += child.kind == MarkdownNodeKind::Image
                     ? picture
                     : textHeight(plainLength(child), width, size);
    }
    return total + InlineMarkupView::rowSpacing * qMax(0, end - first - 1);
}

double inner(const MarkdownNode& node, double width, double size);

double column(const MarkdownNodeList& nodes, double width, double size, int spacing) {
    double total = 0;
    for (const MarkdownNode& node : nodes)
        total += inner(node, width, size) + MarkdownBlockView::outerPadding(node).top +
                 MarkdownBlockView::outerPadding(node).bottom;
    return total + spacing * qMax(0, int(nodes.size()) - 1);
}

double listHeight(const MarkdownNode& list, double width, double size) {
    const double body = width - 30;
    double total = 0;
    for (const MarkdownNode& item : list.children)
        total += item.kind == MarkdownNodeKind::ListItem
                     ? column(item.children, body, size, MarkdownBlockView::itemSpacing)
                     : textHeight(plainLength(item), body, size);
    return total + MarkdownBlockView::listSpacing * qMax(0, list.childCount() - 1);
}

double inner(const MarkdownNode& node, double width, double size) {
    switch (node.kind) {
    case MarkdownNodeKind::Heading:
        return textHeight(plainLength(node), width,
                          InlineMarkupRenderer::textSize(node.headingLevel, size));
    case MarkdownNodeKind::Paragraph:
        for (const MarkdownNode& child : node.children)
            if (child.kind == MarkdownNodeKind::Image)
                return 200;
        return textHeight(plainLength(node), width, size);
    case MarkdownNodeKind::CodeBlock: {
        const int lines = int(node.literal.count(u'\n')) + 1;
        const bool header = !node.codeLanguage().isEmpty();
        return lines * codeLine + 2 * 8 + (header ? 30 : 0);
    }
    case MarkdownNodeKind::UnorderedList:
    case MarkdownNodeKind::OrderedList:
        return listHeight(node, width, size);
    case MarkdownNodeKind::BlockQuote:
        return column(node.children, width - 51, size, MarkdownBlockView::quoteSpacing) + 16;
    case MarkdownNodeKind::Table:
        return tableRows(node, 0, node.childCount(), width, size);
    case MarkdownNodeKind::ThematicBreak:
        return 1;
    case MarkdownNodeKind::Image:
        return 200;
    default:
        return textHeight(MarkdownBlockView::fallbackText(node), width, 13);
    }
}

} // namespace

int PreviewHeightEstimate::height(const MarkdownNode& block, int width, double fontSize,
                                  const TableSlice& slice, const InlineSlice& inlines) {
    const MarkdownBlockView::Padding padding =
        MarkdownBlockView::outerPadding(block, slice, inlines);
    const double size = qMax(1.0, fontSize);
    double inside = 0;
    if (block.kind == MarkdownNodeKind::Table) {
        const bool head = slice.header && block.tableHead();
        const int bodyStart = block.childCount() - TableSlice::bodyRowsOf(block);
        if (head)
            inside += tableRows(block, 0, 1, qMax(1, width), size);
        inside += tableRows(block, bodyStart + slice.firstBodyRow, slice.rowCount(block),
                            qMax(1, width), size);
    } else if (inlines.isPiece()) {
        inside = inlineRows(block, inlines.first, inlines.end(block), qMax(1, width), size);
    } else {
        inside = inner(block, qMax(1, width), size);
    }
    return int(std::lround(inside)) + padding.top + padding.bottom;
}
