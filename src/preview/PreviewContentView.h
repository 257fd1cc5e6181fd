#pragma once

#include "core/MarkdownTree.h"
#include "preview/MarkdownRendererContext.h"
#include "preview/PreviewRowMatcher.h"
#include "preview/TableSlice.h"

#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class MarkdownBlockView;

// The rendered document: one MarkdownBlockView per top-level block (a long
// table, or a paragraph of many pictures, in pieces), stacked 16 apart
// inside 24 of padding at the sides and 8 above and below, on the preview
// surface. It is virtualised, so a large document stays quick and small:
// - only the rows in and near the visible part have views; the rest have a
//   height, estimated until the row was laid out at that width;
// - views that went out of reach stay a while (scrolling back finds them as
//   they were) and are released once more than keptViews of them wait, the
//   least recently shown first;
// - a new parse keeps the views of every row whose source lines and tree are
//   unchanged, wherever the row moved; only touched rows are rebuilt;
// - a parse handed over with showDocument is applied a slice at a time, none
//   holding the event loop much longer than sliceMs: the changed rows are
//   made while the previous parse stays shown, then swapped in at once, and
//   the views coming into reach are made over the turns that follow;
// - measured heights are remembered per row and width, so a width change
//   only measures the rows in view.
// The widget is as big as the visible part; its scroll host tells it the
// width and which part of the content shows (the scroll position).
class PreviewContentView : public QWidget {
    Q_OBJECT
public:
    static constexpr int spacing = 16;
    static constexpr int paddingX = 24;
    static constexpr int paddingY = 8;
    // Views are made this far beyond the visible part (at least), above and below.
    static constexpr int lookAhead = 600;
    // Views out of reach kept for a return.
    static constexpr int keptViews = 48;
    // Tables with more body rows than this are shown in pieces of sliceRows.
    static constexpr int sliceThreshold = 200;
    static constexpr int sliceRows = 100;
    // Headings and paragraphs whose pictures stand on rows of their own,
    // with more children than this, are shown in pieces of inlineSliceChildren.
    static constexpr int inlineSliceThreshold = 64;
    static constexpr int inlineSliceChildren = 32;
    static constexpr PreviewRowMatcher::Slicing slicing{sliceThreshold, sliceRows,
                                                        inlineSliceThreshold, inlineSliceChildren};
    // What a slice of applying a parse may take, leaving the rest of a frame
    // for painting.
    static constexpr int sliceMs = 8;

    explicit PreviewContentView(QWidget* parent = nullptr);
    ~PreviewContentView() override;

    // The values every row is rendered with. A different design system, text
    // size or folder rebuilds the views from the same parse; new callbacks
    // only reach rows built afterwards.
    void setRendererContext(const MarkdownRendererContext& context);
    const MarkdownRendererContext& rendererContext() const { return m_context; }

    // Shows a parse at once, keeping the views of unchanged rows; any parse
    // still being applied is dropped.
    void setDocument(std::shared_ptr<const ParsedMarkdown> parsed);
    // Shows a parse over the next event-loop turns. `plan` (optional) holds
    // its rows worked out against the parse shown or, when that is still
    // being applied, against that one; a parse given while another is being
    // applied waits for it.
    void showDocument(std::shared_ptr<const ParsedMarkdown> parsed,
                      std::shared_ptr<const PreviewRowMatcher::Plan> plan);
    // The parse shown: what the rows, their task boxes and their text stand for.
    std::shared_ptr<const ParsedMarkdown> document() const { return m_parsed; }
    // A parse given is not shown yet, or some views in reach are still to be made.
    bool isApplying() const { return m_applying.has_value() || m_settling; }
    // Tests shorten the slices.
    void setSliceMs(int ms) { m_sliceMs = ms; }

    void setLayoutWidth(int width);
    int layoutWidth() const { return m_width; }
    // The visible part in content coordinates: `top` is the scroll position.
    // Views near it are made, measured and placed; returns how much the rows
    // that lay wholly above `top` grew (negative: shrank) in doing so, for
    // the host to keep the view steady.
    int setVisibleRange(int top, int height);
    int visibleTop() const { return m_visibleTop; }

    // The height of everything, paddings included (16 when empty).
    int contentHeight() const { return m_height; }

    int rowCount() const { return int(m_rows.size()); }
    // A row's view; null while not made, and for a block that shows nothing.
    MarkdownBlockView* rowView(int row) const;
    // A row's place in the content (estimated while it was never laid out).
    QRect rowRect(int row) const;
    bool isRowMeasured(int row) const;
    TableSlice rowSlice(int row) const;
    InlineSlice rowInlines(int row) const;
    // Rows with a view now, shown or waiting.
    int builtRowCount() const { return int(m_built.size()); }
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
    // Heights laid out at a few recent widths, the oldest first.
    class KnownHeights {
    public:
        void clear() { m_count = 0; }
        // The height at `width`; null when not known.
        const int* at(int width) const;
        void remember(int width, int height);

    private:
        std::array<std::pair<int, int>, 4> m_entries{};
        std::uint8_t m_count = 0;
    };

    // What a row with a view holds besides it.
    struct Built {
        std::shared_ptr<SourceAnchor> anchor; // shared by the row's views
        int startLine = 0;                    // the block's first line when its view was made
        std::uint64_t lastShown = 0;          // when the view was last in reach
    };

    // A large document has a row per block: they hold no more than they must.
    struct Row {
        const MarkdownNode* node = nullptr; // in m_parsed
        size_t key = 0;
        MarkdownBlockView* view = nullptr;
        std::unique_ptr<Built> built; // with view
        TableSlice slice;
        InlineSlice inlines;
        int firstLine = 0; // the source lines the row shows
        int lastLine = 0;
        int top = 0;
        int height = 0;
        int heightWidth = -1; // the width `height` stands for
        int estimate = 0;     // the unscaled guess at estimateWidth
        int estimateWidth = -1;
        bool empty = false;    // shows nothing: no view, no height, no spacing
        bool joined = false;   // continues the row above without a gap
        bool measured = false; // `height` is the view's own at that width
        KnownHeights measuredByWidth;
    };

    // A parse on its way in: its plan and the new rows between, made so far.
    struct Applying {
        std::shared_ptr<const ParsedMarkdown> parsed;
        std::shared_ptr<const PreviewRowMatcher::Plan> plan;
        std::vector<Row> rows;
    };

    int innerWidth() const;
    void applySlice();
    bool prepare(Applying& applying, const QDeadlineTimer& deadline);
    void commit(Applying& applying);
    std::pair<size_t, size_t> replacedRows(const PreviewRowMatcher::Plan& plan,
                                           const MarkdownNodeList& oldBlocks) const;
    void takeKeptRows(const PreviewRowMatcher::Plan& plan, size_t head, std::vector<Row>& middle);
    void repointUnchangedRows(const PreviewRowMatcher::Plan& plan,
                              const MarkdownNodeList& oldBlocks, size_t head, size_t tail);
    void spliceRows(size_t head, size_t tail, std::vector<Row>& middle);
    void reindexBuilt(size_t head, size_t tail, size_t count);
    bool inReachUnmade() const;
    void dropViews();
    void releaseView(Row& row);
    void build(Row& row, size_t index);
    int rowHeight(Row& row);
    int rawEstimate(Row& row);
    void resetCalibration();
    bool measure(Row& row, bool fresh);
    void relayout();
    std::pair<size_t, size_t> rowsWithin(int top, int bottom) const;
    std::pair<size_t, size_t> rowsInReach() const;
    // Makes and measures the views in reach; stops at m_deadline.
    int materialize();
    void place();
    void releaseOutOfReach(size_t first, size_t last);
    void settle();
    void remeasureLive();

    MarkdownRendererContext m_context;
    std::shared_ptr<const ParsedMarkdown> m_parsed;
    std::optional<Applying> m_applying;
    std::optional<Applying> m_waiting;                  // given while m_applying was
    bool m_settling = false;                            // views in reach left to make
    QDeadlineTimer m_deadline{QDeadlineTimer::Forever}; // the end of the slice running
    bool m_sliceMade = false;                           // it made a view
    int m_sliceMs = sliceMs;
    QTimer m_nextSlice;
    std::vector<Row> m_rows;
    std::vector<size_t> m_built; // rows with a view
    std::uint64_t m_tick = 0;
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
