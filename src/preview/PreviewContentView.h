#pragma once

#include "core/MarkdownTree.h"
#include "preview/MarkdownRendererContext.h"

#include <QWidget>
#include <memory>
#include <vector>

class MarkdownBlockView;

// The rendered document: one MarkdownBlockView per top-level block, stacked
// 16 apart inside 24 of padding at the sides and 8 above and below, on the
// preview surface. It is laid out by hand, so a large document stays quick:
// - a new parse keeps the views of every block whose source lines and tree
//   are unchanged, wherever the block moved; only touched blocks are rebuilt;
// - a block's view is made only when it comes near the visible part; until
//   then its height is estimated;
// - measured heights are remembered per width, so a width change only
//   measures the blocks in view.
// Its scroll host tells it the width and the visible part, and sizes it.
class PreviewContentView : public QWidget {
    Q_OBJECT
public:
    static constexpr int spacing = 16;
    static constexpr int paddingX = 24;
    static constexpr int paddingY = 8;
    // Views are made this far beyond the visible part (at least), above and below.
    static constexpr int lookAhead = 600;

    explicit PreviewContentView(QWidget* parent = nullptr);
    ~PreviewContentView() override;

    // The values every row is rendered with. A different design system, text
    // size or folder rebuilds the views from the same parse; new callbacks
    // only reach rows built afterwards.
    void setRendererContext(const MarkdownRendererContext& context);
    const MarkdownRendererContext& rendererContext() const { return m_context; }

    // Shows a parse, keeping the views of unchanged blocks.
    void setDocument(std::shared_ptr<const ParsedMarkdown> parsed);
    std::shared_ptr<const ParsedMarkdown> document() const { return m_parsed; }

    void setLayoutWidth(int width);
    int layoutWidth() const { return m_width; }
    // The visible part in content coordinates. Views near it are made and
    // measured; returns how much the rows that lay wholly above `top` grew
    // (negative: shrank) in doing so, for the host to keep the view steady.
    int setVisibleRange(int top, int height);

    // The height of everything, paddings included (16 when empty).
    int contentHeight() const { return m_height; }
    QSize sizeHint() const override { return {m_width, m_height}; }

    int rowCount() const { return int(m_rows.size()); }
    // A row's view; null while not made, and for a block that shows nothing.
    MarkdownBlockView* rowView(int row) const;
    // A row's place in the content (estimated while it has no view).
    QRect rowRect(int row) const;
    bool isRowMeasured(int row) const;
    int builtRowCount() const;
    // Views made since the view was created: how much rebuilding cost.
    int buildCount() const { return m_buildCount; }

Q_SIGNALS:
    // The content height changed through a new parse, context, width or a
    // row's own change (a picture that finished loading); not through
    // setVisibleRange, whose caller reads contentHeight() itself.
    void contentHeightChanged(int height);

protected:
    bool event(QEvent* event) override;

private:
    struct Row {
        const MarkdownNode* node = nullptr; // in m_parsed
        size_t key = 0;
        bool empty = false; // shows nothing: no view, no height, no spacing
        MarkdownBlockView* view = nullptr;
        std::shared_ptr<SourceAnchor> anchor; // shared by the row's views
        int builtStartLine = 0;               // the block's first line when its view was made
        int top = 0;
        int height = 0;
        int heightWidth = -1; // the width `height` stands for
        int estimate = 0;     // the unscaled guess at estimateWidth
        int estimateWidth = -1;
        bool measured = false; // `height` is the view's own at that width
        std::vector<std::pair<int, int>> measuredByWidth; // a few recent widths
    };

    int innerWidth() const;
    void dropViews();
    void build(Row& row);
    int rowHeight(Row& row);
    int rawEstimate(Row& row);
    void resetCalibration();
    bool measure(Row& row, bool fresh);
    void relayout();
    std::pair<size_t, size_t> rowsWithin(int top, int bottom) const;
    int materialize();
    void place();
    void settle();
    void remeasureLive();

    MarkdownRendererContext m_context;
    std::shared_ptr<const ParsedMarkdown> m_parsed;
    std::vector<Row> m_rows;
    int m_width = 1;
    int m_visibleTop = 0;
    int m_visibleHeight = 0;
    int m_height = 2 * paddingY;
    int m_buildCount = 0;
    // Measured against estimated heights at this width: guesses are scaled by
    // their ratio, fixed between full layouts so that rows above the visible
    // part never move unnoticed.
    double m_measuredSum = 0;
    double m_estimatedSum = 0;
    double m_scale = 1;
    bool m_placing = false;
};
