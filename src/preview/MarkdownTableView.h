#pragma once

#include "core/MarkdownTree.h"
#include "preview/ColumnFillingWidget.h"
#include "preview/LaidOutText.h"
#include "preview/MarkdownRendererContext.h"
#include "preview/TableSlice.h"
#include "preview/TextSelection.h"

#include <functional>
#include <vector>

// Where the bands, cells and lines of a table go at a width. Each row shares
// its width equally among its own cells (no column widths across rows), with
// a 1-wide separator between cells and a 1-high line along its bottom.
struct TableGeometry {
    struct Row {
        QRect rect;
        bool header = false;
        bool zebra = false;            // tinted body row: the 1st, 3rd, 5th ...
        std::vector<QRect> cells;      // cell boxes, padding included
        std::vector<QRect> texts;      // the text inside each cell
        std::vector<QRect> separators; // between cells
        QRect bottomLine;
    };
    std::vector<Row> rows;
    int height = 0;

    static constexpr int paddingX = 16;
    static constexpr int paddingY = 8;

    // cellCounts: the header first when it has cells, then the body rows.
    // textHeight(row, cell, width) is the height a cell's text needs.
    // firstBodyIndex: the table's count of the first body row given, so
    // stripes run on across the pieces of a long table.
    static TableGeometry compute(int width, const std::vector<int>& cellCounts, bool hasHeader,
                                 const std::function<int(int, int, int)>& textHeight,
                                 int firstBodyIndex = 0);
};

// A pipe table: a rounded, outlined box of an optional header band and the
// body rows, every other one tinted; cell text wraps to the column it gets.
// The view draws its cells itself, each cell's text laid out once per width;
// in a table of many rows the layouts of rows far from what was last drawn
// are dropped again, and a hidden table keeps none. The reader selects and
// copies text within one cell.
class MarkdownTableView : public ColumnFillingWidget {
    Q_OBJECT
public:
    MarkdownTableView(const MarkdownNode& table, const MarkdownRendererContext& context,
                      QWidget* parent = nullptr, const TableSlice& slice = {});
    ~MarkdownTableView() override;

    static constexpr qreal cornerRadius = 10;
    static constexpr qreal headerOpacity = 0.85;
    static constexpr qreal stripeOpacity = 0.35;
    // Rows whose cell layouts are kept around the last drawn ones, in a table
    // with more rows than this.
    static constexpr int keptRows = 200;

    const TableSlice& slice() const { return m_slice; }
    const TableGeometry& geometryAt(int width) const;
    // The rows shown, the header first when it has cells.
    int rowCount() const { return int(m_rows.size()); }
    int cellCount(int row) const { return int(m_rows[size_t(row)].cells.size()); }
    LaidOutText& cellText(int row, int cell) const;
    QColor rowColour(int row) const;
    // Cells whose text is laid out now.
    int laidOutCellCount() const;

    QString selectedText() const;
    bool hasSelection() const { return m_selection.hasSelection(); }
    void clearSelection();

    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void hideEvent(QHideEvent*) override;
    void contextMenuEvent(QContextMenuEvent*) override;

private:
    struct Row {
        bool header = false;
        std::vector<LaidOutText> cells;
    };
    struct CellHit {
        int row = -1;
        int cell = -1;
        int position = 0;
    };

    CellHit cellAt(const QPointF& point, bool clampToSelected) const;
    void selectCell(int row, int cell);
    // Drops the cell layouts of rows more than `margin` rows from first..last.
    void dropLayoutsAway(int firstRow, int lastRow, int margin) const;

    DesignSystem m_design;
    TableSlice m_slice;
    bool m_hasHeader = false;
    mutable std::vector<Row> m_rows;
    mutable TableGeometry m_geometry;
    mutable int m_geometryWidth = -1;
    int m_selectedRow = -1;
    int m_selectedCell = -1;
    TextSelection m_selection;
};
