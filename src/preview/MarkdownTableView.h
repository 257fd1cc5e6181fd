#pragma once

#include "core/MarkdownTree.h"
#include "preview/ColumnFillingWidget.h"
#include "preview/MarkdownRendererContext.h"

#include <functional>
#include <vector>

class SelectableTextView;

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
    static TableGeometry compute(int width, const std::vector<int>& cellCounts, bool hasHeader,
                                 const std::function<int(int, int, int)>& textHeight);
};

// A pipe table: a rounded, outlined box of an optional header band and the
// body rows, every other one tinted; cell text wraps to the column it gets.
class MarkdownTableView : public ColumnFillingWidget {
    Q_OBJECT
public:
    MarkdownTableView(const MarkdownNode& table, const MarkdownRendererContext& context,
                      QWidget* parent = nullptr);

    static constexpr qreal cornerRadius = 10;
    static constexpr qreal headerOpacity = 0.85;
    static constexpr qreal stripeOpacity = 0.35;

    TableGeometry geometryAt(int width) const;
    // The cell views, header row first, in reading order.
    const std::vector<std::vector<SelectableTextView*>>& cellViews() const { return m_cells; }

    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    DesignSystem m_design;
    bool m_hasHeader = false;
    std::vector<std::vector<SelectableTextView*>> m_cells;
};
