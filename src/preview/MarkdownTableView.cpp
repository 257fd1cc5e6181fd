#include "preview/MarkdownTableView.h"

#include "preview/InlineMarkupRenderer.h"
#include "preview/SelectableTextView.h"

#include <QPainter>
#include <QPainterPath>

TableGeometry TableGeometry::compute(int width, const std::vector<int>& cellCounts, bool hasHeader,
                                     const std::function<int(int, int, int)>& textHeight) {
    TableGeometry g;
    int y = 0;
    int bodyIndex = 0;
    for (size_t r = 0; r < cellCounts.size(); ++r) {
        Row row;
        row.header = hasHeader && r == 0;
        if (!row.header)
            row.zebra = bodyIndex++ % 2 == 0;
        const int n = cellCounts[r];
        const int available = qMax(0, width - qMax(0, n - 1));
        std::vector<int> widths(size_t(qMax(n, 0)), n > 0 ? available / n : 0);
        for (int i = 0; i < (n > 0 ? available % n : 0); ++i)
            ++widths[size_t(i)];
        int textMax = 0;
        std::vector<int> heights;
        for (int c = 0; c < n; ++c) {
            const int textWidth = qMax(0, widths[size_t(c)] - 2 * paddingX);
            heights.push_back(textHeight(int(r), c, textWidth));
            textMax = qMax(textMax, heights.back());
        }
        const int rowHeight = n > 0 ? textMax + 2 * paddingY : 0;
        int x = 0;
        for (int c = 0; c < n; ++c) {
            const int w = widths[size_t(c)];
            row.cells.emplace_back(x, y, w, rowHeight);
            // Cells are centred vertically in the row.
            const int h = heights[size_t(c)];
            row.texts.emplace_back(x + paddingX, y + paddingY + (textMax - h) / 2,
                                   qMax(0, w - 2 * paddingX), h);
            x += w;
            if (c < n - 1) {
                row.separators.emplace_back(x, y, 1, rowHeight);
                x += 1;
            }
        }
        row.rect = QRect(0, y, width, rowHeight);
        row.bottomLine = QRect(0, y + rowHeight - 1, width, rowHeight > 0 ? 1 : 0);
        y += rowHeight;
        g.rows.push_back(std::move(row));
    }
    g.height = y;
    return g;
}

MarkdownTableView::MarkdownTableView(const MarkdownNode& table,
                                     const MarkdownRendererContext& context, QWidget* parent)
    : ColumnFillingWidget(parent), m_design(context.designSystem) {

    const FontDesign design = context.designSystem.typography.design;
    const double base = context.previewFontSize;
    InlineMarkupRenderer::Style headerStyle;
    headerStyle.size = base - 1;
    headerStyle.font = DesignSystem::Typography::font(design, headerStyle.size, QFont::DemiBold);
    headerStyle.color = context.designSystem.colors.text;
    headerStyle.lineSpacing = 5;
    InlineMarkupRenderer::Style bodyStyle;
    bodyStyle.size = base - 1.5;
    bodyStyle.font = DesignSystem::Typography::font(design, bodyStyle.size);
    bodyStyle.color = context.designSystem.colors.secondaryText;
    bodyStyle.lineSpacing = 5;

    auto addRow = [&](const MarkdownNode& row, const InlineMarkupRenderer::Style& style) {
        std::vector<SelectableTextView*> views;
        for (const MarkdownNode& cell : row.children) {
            if (cell.kind != MarkdownNodeKind::TableCell)
                continue;
            auto* view = new SelectableTextView(this);
            view->setContent(InlineMarkupRenderer::renderChildren(cell, context, style), style.font,
                             style.color, style.lineSpacing, true);
            views.push_back(view);
        }
        m_cells.push_back(std::move(views));
    };
    if (const MarkdownNode* head = table.tableHead()) {
        addRow(*head, headerStyle);
        m_hasHeader = !m_cells.back().empty();
        if (!m_hasHeader)
            m_cells.pop_back();
    }
    for (const MarkdownNode* row : table.tableBody())
        addRow(*row, bodyStyle);
}

TableGeometry MarkdownTableView::geometryAt(int width) const {
    std::vector<int> counts;
    for (const auto& row : m_cells)
        counts.push_back(int(row.size()));
    return TableGeometry::compute(width, counts, m_hasHeader, [this](int r, int c, int w) {
        return m_cells[size_t(r)][size_t(c)]->heightForWidth(w);
    });
}

int MarkdownTableView::heightForWidth(int width) const {
    return geometryAt(width).height;
}

void MarkdownTableView::resizeEvent(QResizeEvent*) {
    const TableGeometry g = geometryAt(width());
    for (size_t r = 0; r < g.rows.size(); ++r) {
        for (size_t c = 0; c < g.rows[r].texts.size(); ++c)
            m_cells[r][c]->setGeometry(g.rows[r].texts[c]);
    }
}

void MarkdownTableView::paintEvent(QPaintEvent*) {
    const TableGeometry g = geometryAt(width());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(0, 0, width(), g.height).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath outline;
    outline.addRoundedRect(box, cornerRadius, cornerRadius);
    painter.save();
    painter.setClipPath(outline);
    const DesignSystem::Colors& colors = m_design.colors;
    for (const TableGeometry::Row& row : g.rows) {
        if (row.header || row.zebra) {
            const ColorValue fill = colors.codeBackground.withAlpha(
                colors.codeBackground.alpha * (row.header ? headerOpacity : stripeOpacity));
            painter.fillRect(row.rect, QColor(fill));
        }
        for (const QRect& separator : row.separators)
            painter.fillRect(separator, QColor(colors.divider));
        painter.fillRect(row.bottomLine, QColor(colors.divider));
    }
    painter.restore();
    painter.setPen(QPen(QColor(colors.codeBorder), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPath(outline);
}
