#include "preview/MarkdownTableView.h"

#include "preview/InlineMarkupRenderer.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>
#include <algorithm>

TableGeometry TableGeometry::compute(int width, const std::vector<int>& cellCounts, bool hasHeader,
                                     const std::function<int(int, int, int)>& textHeight,
                                     int firstBodyIndex) {
    TableGeometry g;
    g.rows.reserve(cellCounts.size());
    int y = 0;
    int bodyIndex = firstBodyIndex;
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
                                     const MarkdownRendererContext& context, QWidget* parent,
                                     const TableSlice& slice)
    : ColumnFillingWidget(parent), m_design(context.designSystem), m_slice(slice) {
    setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::ClickFocus);

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

    // The views keep no node: the tree may be replaced while they stay.
    auto addRow = [&](const MarkdownNode& row, const InlineMarkupRenderer::Style& style,
                      bool header) {
        Row shown;
        shown.header = header;
        for (const MarkdownNode& cell : row.children) {
            if (cell.kind != MarkdownNodeKind::TableCell)
                continue;
            shown.cells.emplace_back();
            shown.cells.back().setContent(
                InlineMarkupRenderer::renderChildren(cell, context, style), style.font,
                style.lineSpacing, true);
        }
        m_rows.push_back(std::move(shown));
    };
    const MarkdownNode* head = slice.header ? table.tableHead() : nullptr;
    if (head) {
        addRow(*head, headerStyle, true);
        m_hasHeader = !m_rows.back().cells.empty();
        if (!m_hasHeader)
            m_rows.pop_back();
    }
    const int rows = slice.rowCount(table);
    m_rows.reserve(m_rows.size() + size_t(rows));
    for (int i = 0; i < rows; ++i)
        addRow(TableSlice::bodyRow(table, slice.firstBodyRow + i), bodyStyle, false);
}

MarkdownTableView::~MarkdownTableView() = default;

LaidOutText& MarkdownTableView::cellText(int row, int cell) const {
    return m_rows[size_t(row)].cells[size_t(cell)];
}

QColor MarkdownTableView::rowColour(int row) const {
    return m_rows[size_t(row)].header ? m_design.colors.text : m_design.colors.secondaryText;
}

int MarkdownTableView::laidOutCellCount() const {
    int count = 0;
    for (const Row& row : m_rows)
        count += int(std::count_if(row.cells.begin(), row.cells.end(),
                                   [](const LaidOutText& cell) { return cell.hasDocument(); }));
    return count;
}

const TableGeometry& MarkdownTableView::geometryAt(int width) const {
    if (width == m_geometryWidth)
        return m_geometry;
    std::vector<int> counts;
    counts.reserve(m_rows.size());
    for (const Row& row : m_rows)
        counts.push_back(int(row.cells.size()));
    const bool many = rowCount() > keptRows;
    m_geometry = TableGeometry::compute(
        width, counts, m_hasHeader,
        [&](int r, int c, int w) {
            LaidOutText& text = cellText(r, c);
            const int height = text.heightForWidth(w);
            // A long table is measured whole but drawn a few rows at a time.
            if (many && r >= keptRows && !(r == m_selectedRow && c == m_selectedCell))
                text.dropDocument();
            return height;
        },
        m_slice.firstBodyRow);
    m_geometryWidth = width;
    return m_geometry;
}

int MarkdownTableView::heightForWidth(int width) const {
    return geometryAt(width).height;
}

void MarkdownTableView::dropLayoutsAway(int firstRow, int lastRow, int margin) const {
    for (int r = 0; r < rowCount(); ++r) {
        if (r >= firstRow - margin && r <= lastRow + margin)
            continue;
        for (int c = 0; c < cellCount(r); ++c)
            if (!(r == m_selectedRow && c == m_selectedCell))
                cellText(r, c).dropDocument();
    }
}

void MarkdownTableView::paintEvent(QPaintEvent* event) {
    const TableGeometry& g = geometryAt(width());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // A piece that continues another has its edge and corners off the view.
    QRectF box = QRectF(0, 0, width(), g.height).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_slice.openTop)
        box.setTop(-2 * cornerRadius);
    if (m_slice.openBottom)
        box.setBottom(g.height + 2 * cornerRadius);
    QPainterPath outline;
    outline.addRoundedRect(box, cornerRadius, cornerRadius);

    const QRect exposed = event->rect();
    const auto first =
        std::partition_point(g.rows.begin(), g.rows.end(), [&](const TableGeometry::Row& row) {
            return row.rect.bottom() < exposed.top();
        });
    const auto last = std::partition_point(first, g.rows.end(), [&](const TableGeometry::Row& row) {
        return row.rect.top() <= exposed.bottom();
    });

    painter.save();
    painter.setClipPath(outline);
    const DesignSystem::Colors& colors = m_design.colors;
    for (auto row = first; row != last; ++row) {
        if (row->header || row->zebra) {
            const ColorValue fill = colors.codeBackground.withAlpha(
                colors.codeBackground.alpha * (row->header ? headerOpacity : stripeOpacity));
            painter.fillRect(row->rect, QColor(fill));
        }
        for (const QRect& separator : row->separators)
            painter.fillRect(separator, QColor(colors.divider));
        painter.fillRect(row->bottomLine, QColor(colors.divider));
    }
    painter.restore();
    painter.setPen(QPen(QColor(colors.codeBorder), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPath(outline);

    // Cell text over everything, as a text view of its own would draw it.
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (auto row = first; row != last; ++row) {
        const int r = int(row - g.rows.begin());
        for (size_t c = 0; c < row->texts.size(); ++c) {
            const QRect& rect = row->texts[c];
            if (rect.isEmpty())
                continue;
            const bool selected = r == m_selectedRow && int(c) == m_selectedCell;
            painter.save();
            painter.translate(rect.topLeft());
            painter.setClipRect(QRect(QPoint(0, 0), rect.size()));
            cellText(r, int(c)).draw(&painter, rect.width(), exposed.translated(-rect.topLeft()),
                                     palette(), rowColour(r),
                                     selected ? &m_selection.cursor() : nullptr);
            painter.restore();
        }
    }
    if (first != last && rowCount() > keptRows)
        dropLayoutsAway(int(first - g.rows.begin()), int(last - g.rows.begin()) - 1, keptRows / 2);
}

void MarkdownTableView::hideEvent(QHideEvent* event) {
    // Out of sight a table keeps its text and heights, not its layouts.
    dropLayoutsAway(-1, -1, 0);
    ColumnFillingWidget::hideEvent(event);
}

MarkdownTableView::CellHit MarkdownTableView::cellAt(const QPointF& point,
                                                     bool clampToSelected) const {
    const TableGeometry& g = geometryAt(width());
    CellHit hit;
    if (clampToSelected) {
        if (m_selectedRow < 0)
            return hit;
        hit.row = m_selectedRow;
        hit.cell = m_selectedCell;
    } else {
        const auto row =
            std::partition_point(g.rows.begin(), g.rows.end(), [&](const TableGeometry::Row& r) {
                return r.rect.bottom() < point.y();
            });
        if (row == g.rows.end())
            return hit;
        for (size_t c = 0; c < row->cells.size(); ++c) {
            if (point.x() >= row->cells[c].left() && point.x() <= row->cells[c].right() + 1 &&
                !row->texts[c].isEmpty()) {
                hit.row = int(row - g.rows.begin());
                hit.cell = int(c);
            }
        }
        if (hit.row < 0)
            return hit;
    }
    const QRect& rect = g.rows[size_t(hit.row)].texts[size_t(hit.cell)];
    hit.position = cellText(hit.row, hit.cell).positionAt(point - rect.topLeft(), rect.width());
    return hit;
}

void MarkdownTableView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const bool extend = event->modifiers() & Qt::ShiftModifier && m_selectedRow >= 0;
    const CellHit hit = cellAt(event->position(), extend);
    if (hit.row < 0) {
        clearSelection();
        return;
    }
    if (!extend)
        selectCell(hit.row, hit.cell);
    m_selection.press(hit.position, extend);
    update();
}

void MarkdownTableView::mouseMoveEvent(QMouseEvent* event) {
    if (m_selectedRow >= 0 && m_selection.drag(cellAt(event->position(), true).position))
        update();
}

void MarkdownTableView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_selection.release();
}

void MarkdownTableView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const CellHit hit = cellAt(event->position(), false);
    if (hit.row < 0)
        return;
    selectCell(hit.row, hit.cell);
    m_selection.selectWord(hit.position);
    update();
}

void MarkdownTableView::keyPressEvent(QKeyEvent* event) {
    if (m_selection.handleKey(event))
        update();
    else
        QWidget::keyPressEvent(event);
}

void MarkdownTableView::selectCell(int row, int cell) {
    m_selectedRow = row;
    m_selectedCell = cell;
    m_selection.reset(cellText(row, cell).document());
}

QString MarkdownTableView::selectedText() const {
    return m_selection.text();
}

void MarkdownTableView::clearSelection() {
    if (m_selectedRow < 0)
        return;
    m_selection.reset(nullptr);
    m_selectedRow = -1;
    m_selectedCell = -1;
    update();
}

void MarkdownTableView::focusOutEvent(QFocusEvent* event) {
    // A context menu opening keeps the selection it acts on.
    if (event->reason() != Qt::PopupFocusReason)
        clearSelection();
    ColumnFillingWidget::focusOutEvent(event);
}

void MarkdownTableView::contextMenuEvent(QContextMenuEvent* event) {
    event->ignore();
}
