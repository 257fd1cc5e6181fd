#include "preview/PreviewContentView.h"

#include "core/MarkdownParseCache.h"
#include "core/MarkdownParser.h"
#include "preview/LeastRecentlyUsed.h"
#include "preview/MarkdownBlockView.h"
#include "preview/PreviewHeightEstimate.h"
#include "preview/PreviewRowMatcher.h"

#include <QEvent>
#include <algorithm>
#include <cmath>

namespace {

bool sameLook(const MarkdownRendererContext& a, const MarkdownRendererContext& b) {
    return a.designSystem.colors == b.designSystem.colors &&
           a.designSystem.typography.design == b.designSystem.typography.design &&
           a.designSystem.codeTheme == b.designSystem.codeTheme &&
           a.previewFontSize == b.previewFontSize && a.documentDirectory == b.documentDirectory;
}

} // namespace

const int* PreviewContentView::KnownHeights::at(int width) const {
    for (size_t i = 0; i < m_count; ++i)
        if (m_entries[i].first == width)
            return &m_entries[i].second;
    return nullptr;
}

void PreviewContentView::KnownHeights::remember(int width, int height) {
    const auto end = m_entries.begin() + m_count;
    auto kept = std::remove_if(m_entries.begin(), end,
                               [width](const auto& entry) { return entry.first == width; });
    // Full: the oldest goes.
    if (kept == m_entries.end()) {
        std::move(m_entries.begin() + 1, m_entries.end(), m_entries.begin());
        --kept;
    }
    *kept = {width, height};
    m_count = std::uint8_t(kept - m_entries.begin() + 1);
}

PreviewContentView::PreviewContentView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    m_parsed = MarkdownParser::parse(QString());
    m_nextSlice.setSingleShot(true);
    m_nextSlice.setInterval(0);
    connect(&m_nextSlice, &QTimer::timeout, this, &PreviewContentView::applySlice);
}

PreviewContentView::~PreviewContentView() = default;

int PreviewContentView::innerWidth() const {
    return qMax(1, m_width - 2 * paddingX);
}

void PreviewContentView::setRendererContext(const MarkdownRendererContext& context) {
    const bool restyle = !sameLook(m_context, context);
    m_context = context;
    if (!restyle)
        return;
    QPalette surface = palette();
    surface.setColor(QPalette::Window, m_context.designSystem.colors.previewSurface);
    setPalette(surface);
    dropViews();
    resetCalibration();
    m_scale = 1;
    settle();
}

void PreviewContentView::releaseView(Row& row) {
    if (!row.view)
        return;
    row.view->hide();
    // A click inside the view may be what led here.
    row.view->deleteLater();
    row.view = nullptr;
    row.built.reset();
}

void PreviewContentView::dropViews() {
    for (const size_t index : m_built)
        releaseView(m_rows[index]);
    m_built.clear();
    for (Row& row : m_rows) {
        row.heightWidth = -1;
        row.estimateWidth = -1;
        row.measured = false;
        row.measuredByWidth.clear();
    }
    // Rows made for a parse on its way in are guessed again in the new look.
    for (std::optional<Applying>* applying : {&m_applying, &m_waiting})
        if (*applying)
            for (Row& row : (*applying)->rows)
                row.estimateWidth = -1;
}

void PreviewContentView::setDocument(std::shared_ptr<const ParsedMarkdown> parsed) {
    m_applying.reset();
    m_waiting.reset();
    m_settling = false;
    m_nextSlice.stop();
    Applying applying{parsed ? std::move(parsed) : MarkdownParser::parse(QString()), nullptr, {}};
    prepare(applying, QDeadlineTimer(QDeadlineTimer::Forever));
    commit(applying);
    settle();
}

void PreviewContentView::showDocument(std::shared_ptr<const ParsedMarkdown> parsed,
                                      std::shared_ptr<const PreviewRowMatcher::Plan> plan) {
    if (!parsed)
        return;
    Applying applying{std::move(parsed), std::move(plan), {}};
    if (m_applying) {
        m_waiting = std::move(applying);
        return;
    }
    m_applying = std::move(applying);
    applySlice();
}

void PreviewContentView::applySlice() {
    m_deadline = QDeadlineTimer(m_sliceMs);
    m_sliceMade = false;
    if (m_applying) {
        if (prepare(*m_applying, m_deadline)) {
            Applying ready = std::move(*m_applying);
            m_applying = std::exchange(m_waiting, std::nullopt);
            commit(ready);
            settle();
        }
    } else if (m_settling) {
        settle();
    }
    m_deadline = QDeadlineTimer(QDeadlineTimer::Forever);
    m_settling = inReachUnmade();
    if (m_applying || m_settling)
        m_nextSlice.start();
}

// Makes the new rows between, in the plan's order, until the deadline.
bool PreviewContentView::prepare(Applying& applying, const QDeadlineTimer& deadline) {
    const ParsedMarkdown& parsed = *applying.parsed;
    if (!applying.plan || applying.plan->from != m_parsed->serial ||
        applying.plan->to != parsed.serial) {
        applying.plan = std::make_shared<const PreviewRowMatcher::Plan>(
            PreviewRowMatcher::plan(*m_parsed, parsed, slicing));
        applying.rows.clear();
    }
    const PreviewRowMatcher::Plan& plan = *applying.plan;
    const size_t head = replacedRows(plan, m_parsed->document.children).first;
    applying.rows.reserve(plan.pieces.size());
    for (size_t made = 0; applying.rows.size() < plan.pieces.size(); ++made) {
        // The clock is read now and then: it costs more than a row.
        if (made % 32 == 31 && deadline.hasExpired())
            return false;
        const size_t i = applying.rows.size();
        const PreviewRowMatcher::Piece& piece = plan.pieces[i];
        Row row;
        row.node = piece.block;
        row.slice = piece.slice;
        row.inlines = piece.inlines;
        row.firstLine = piece.firstLine;
        row.lastLine = piece.lastLine;
        row.joined = piece.slice.openTop || piece.inlines.openTop;
        row.key = plan.keys[i];
        // A kept row brings its own when the parse is swapped in.
        if (plan.kept[i] < 0 && i < plan.estimateFrom.size() && plan.estimateFrom[i] >= 0) {
            // Reading the rows of every piece a table's moved rows changed would cost as much as
            // the table; the estimate of the piece at its place is as good.
            const Row& old = m_rows[head + size_t(plan.estimateFrom[i])];
            row.empty = old.empty;
            row.estimate = old.estimate;
            row.estimateWidth = old.estimateWidth;
        } else if (plan.kept[i] < 0) {
            row.empty = MarkdownBlockView::showsNothing(*piece.block);
            if (!row.empty)
                rawEstimate(row);
        }
        applying.rows.push_back(std::move(row));
    }
    return true;
}

// Swaps the parse in: the kept rows move into place, the rest let their views go.
void PreviewContentView::commit(Applying& applying) {
    const PreviewRowMatcher::Plan& plan = *applying.plan;
    std::shared_ptr<const ParsedMarkdown> previous = std::exchange(m_parsed, applying.parsed);
    const MarkdownNodeList oldBlocks = previous->document.children;
    const auto [head, tail] = replacedRows(plan, oldBlocks);
    std::vector<Row>& middle = applying.rows;
    const size_t count = middle.size();
    takeKeptRows(plan, head, middle);
    for (size_t i = head; i < tail; ++i)
        releaseView(m_rows[i]);
    repointUnchangedRows(plan, oldBlocks, head, tail);
    spliceRows(head, tail, middle);
    reindexBuilt(head, tail, count);
    MarkdownParseCache::discard(std::move(previous));
}

// The rows of blocks the parse kept of the previous one stay without being
// compared: those above the edit as they are, those below it moved. Returns
// the rows between, which the plan replaces.
std::pair<size_t, size_t>
PreviewContentView::replacedRows(const PreviewRowMatcher::Plan& plan,
                                 const MarkdownNodeList& oldBlocks) const {
    const auto blockOf = [&](const Row& row) { return size_t(row.node - oldBlocks.begin()); };
    const size_t head =
        size_t(std::partition_point(m_rows.begin(), m_rows.end(),
                                    [&](const Row& row) { return blockOf(row) < plan.keptAbove; }) -
               m_rows.begin());
    const size_t tail =
        size_t(std::partition_point(m_rows.begin() + qsizetype(head), m_rows.end(),
                                    [&](const Row& row) {
                                        return blockOf(row) < oldBlocks.size() - plan.keptBelow;
                                    }) -
               m_rows.begin());
    Q_ASSERT(tail - head == plan.replaced);
    return {head, tail};
}

// A replaced row the plan matched brings its view and heights to its new place.
void PreviewContentView::takeKeptRows(const PreviewRowMatcher::Plan& plan, size_t head,
                                      std::vector<Row>& middle) {
    for (size_t i = 0; i < middle.size(); ++i) {
        if (plan.kept[i] < 0)
            continue;
        Row& old = m_rows[head + size_t(plan.kept[i])];
        Row kept = std::move(old);
        old.view = nullptr;
        kept.node = middle[i].node;
        kept.slice = middle[i].slice;
        kept.inlines = middle[i].inlines;
        kept.firstLine = middle[i].firstLine;
        kept.lastLine = middle[i].lastLine;
        kept.joined = middle[i].joined;
        kept.key = middle[i].key;
        middle[i] = std::move(kept);
    }
}

// The rows above and below the replaced ones point into the new parse, those
// below moved with its lines.
void PreviewContentView::repointUnchangedRows(const PreviewRowMatcher::Plan& plan,
                                              const MarkdownNodeList& oldBlocks, size_t head,
                                              size_t tail) {
    const MarkdownNodeList newBlocks = m_parsed->document.children;
    const auto blockOf = [&](const Row& row) { return row.node - oldBlocks.begin(); };
    const ptrdiff_t blocksAdded = ptrdiff_t(newBlocks.size()) - ptrdiff_t(oldBlocks.size());
    for (size_t i = tail; i < m_rows.size(); ++i) {
        Row& row = m_rows[i];
        row.node = newBlocks.begin() + (blockOf(row) + blocksAdded);
        row.firstLine += plan.lineShift;
        row.lastLine += plan.lineShift;
    }
    for (size_t i = 0; i < head; ++i)
        m_rows[i].node = newBlocks.begin() + blockOf(m_rows[i]);
}

// In place where the counts agree, so that the rows below move only when
// they must; all of them replaced (a first parse), the new ones are taken as they are.
void PreviewContentView::spliceRows(size_t head, size_t tail, std::vector<Row>& middle) {
    const size_t count = middle.size();
    const size_t common = qMin(tail - head, count);
    if (head == 0 && tail == m_rows.size()) {
        std::swap(m_rows, middle);
        return;
    }
    std::move(middle.begin(), middle.begin() + qsizetype(common), m_rows.begin() + qsizetype(head));
    if (count > common)
        m_rows.insert(m_rows.begin() + qsizetype(tail),
                      std::make_move_iterator(middle.begin() + qsizetype(common)),
                      std::make_move_iterator(middle.end()));
    else
        m_rows.erase(m_rows.begin() + qsizetype(head + common), m_rows.begin() + qsizetype(tail));
}

// The list of rows with a view follows the splice, and each view's anchor
// the new text.
void PreviewContentView::reindexBuilt(size_t head, size_t tail, size_t count) {
    std::vector<size_t> built;
    built.reserve(m_built.size());
    for (const size_t index : m_built)
        if (index < head)
            built.push_back(index);
        else if (index >= tail)
            built.push_back(index - tail + head + count);
    for (size_t i = 0; i < count; ++i)
        if (m_rows[head + i].view)
            built.push_back(head + i);
    m_built = std::move(built);
    for (const size_t index : m_built)
        if (Row& row = m_rows[index]; row.built) {
            row.built->anchor->markdown = m_parsed->text;
            row.built->anchor->lineShift = row.node->range.startLine - row.built->startLine;
        }
}

bool PreviewContentView::inReachUnmade() const {
    const auto [first, last] = rowsInReach();
    for (size_t i = first; i < last; ++i)
        if (const Row& row = m_rows[i]; !row.empty && (!row.view || !row.measured))
            return true;
    return false;
}

void PreviewContentView::setLayoutWidth(int width) {
    width = qMax(1, width);
    if (width == m_width) {
        Q_EMIT contentHeightChanged(m_height);
        return;
    }
    m_width = width;
    resetCalibration();
    settle();
}

int PreviewContentView::setVisibleRange(int top, int height) {
    m_visibleTop = top;
    m_visibleHeight = qMax(0, height);
    const int shift = materialize();
    place();
    return shift;
}

void PreviewContentView::settle() {
    if (m_estimatedSum > 0)
        m_scale = qBound(0.5, m_measuredSum / m_estimatedSum, 2.0);
    relayout();
    materialize();
    place();
    Q_EMIT contentHeightChanged(m_height);
}

void PreviewContentView::build(Row& row, size_t index) {
    row.built = std::make_unique<Built>(
        Built{std::make_shared<SourceAnchor>(SourceAnchor{m_parsed->text, 0}),
              row.node->range.startLine, 0});
    MarkdownRendererContext context = m_context;
    context.markdown = m_parsed->text;
    context.anchor = row.built->anchor;
    row.view = new MarkdownBlockView(*row.node, context, this, row.slice, row.inlines);
    m_built.push_back(index);
    ++m_buildCount;
}

bool PreviewContentView::measure(Row& row, bool fresh) {
    const int width = innerWidth();
    if (fresh)
        row.measuredByWidth.clear();
    const int height = row.view->hasHeightForWidth() ? row.view->heightForWidth(width)
                                                     : row.view->sizeHint().height();
    row.measuredByWidth.remember(width, height);
    const bool changed = height != row.height;
    row.height = height;
    row.heightWidth = width;
    row.measured = true;
    m_measuredSum += height;
    m_estimatedSum += rawEstimate(row);
    return changed;
}

int PreviewContentView::rawEstimate(Row& row) {
    const int width = innerWidth();
    if (row.estimateWidth != width) {
        row.estimate = PreviewHeightEstimate::height(*row.node, width, m_context.previewFontSize,
                                                     row.slice, row.inlines);
        row.estimateWidth = width;
    }
    return row.estimate;
}

int PreviewContentView::rowHeight(Row& row) {
    if (row.empty)
        return 0;
    const int width = innerWidth();
    if (row.measured && row.heightWidth == width)
        return row.height;
    row.heightWidth = width;
    // Heights laid out once stay known per width, with or without a view.
    const int* known = row.measuredByWidth.at(width);
    row.measured = known != nullptr;
    row.height = known ? *known : int(std::lround(rawEstimate(row) * m_scale));
    return row.height;
}

void PreviewContentView::resetCalibration() {
    m_measuredSum = 0;
    m_estimatedSum = 0;
}

void PreviewContentView::relayout() {
    int y = paddingY;
    bool first = true;
    for (Row& row : m_rows) {
        const int height = rowHeight(row);
        if (!row.empty) {
            if (!first && !row.joined)
                y += spacing;
            first = false;
        }
        row.top = y;
        y += height;
    }
    m_height = y + paddingY;
}

std::pair<size_t, size_t> PreviewContentView::rowsWithin(int top, int bottom) const {
    const auto begin = std::partition_point(
        m_rows.begin(), m_rows.end(), [top](const Row& row) { return row.top + row.height < top; });
    const auto end = std::partition_point(begin, m_rows.end(),
                                          [bottom](const Row& row) { return row.top <= bottom; });
    return {size_t(begin - m_rows.begin()), size_t(end - m_rows.begin())};
}

std::pair<size_t, size_t> PreviewContentView::rowsInReach() const {
    const int ahead = qMax(lookAhead, m_visibleHeight);
    return rowsWithin(m_visibleTop - ahead, m_visibleTop + m_visibleHeight + ahead);
}

int PreviewContentView::materialize() {
    // While a parse comes in, no call makes or lays out views for longer
    // than a slice, and a slice makes or lays out at least one.
    const bool inSlice = !m_deadline.isForever();
    const QDeadlineTimer deadline =
        !inSlice && isApplying() ? QDeadlineTimer(m_sliceMs) : m_deadline;
    bool made = false;
    int shift = 0;
    bool changed = false;
    const auto sliceOver = [&] { return (inSlice ? m_sliceMade : made) && deadline.hasExpired(); };
    // The rest in the next slice.
    const auto later = [&] {
        if (changed)
            relayout();
        m_settling = true;
        if (!m_nextSlice.isActive())
            m_nextSlice.start();
        return shift;
    };
    // Measuring moves the rows below; a few rounds reach the rows that come
    // into reach that way.
    for (int round = 0; round < 8; ++round) {
        const auto [first, last] = rowsInReach();
        changed = false;
        for (size_t i = first; i < last; ++i) {
            Row& row = m_rows[i];
            if (row.empty)
                continue;
            // Making a view and laying it out (a long paragraph takes each
            // its slice) are two steps.
            if (!row.view) {
                if (sliceOver())
                    return later();
                build(row, i);
                made = m_sliceMade = true;
            }
            if (row.measured)
                continue;
            if (sliceOver())
                return later();
            made = m_sliceMade = true;
            const int before = row.height;
            const bool above = row.top + row.height <= m_visibleTop;
            if (measure(row, false)) {
                changed = true;
                if (above) {
                    shift += row.height - before;
                    m_visibleTop += row.height - before;
                }
            }
        }
        if (!changed)
            break;
        relayout();
    }
    return shift;
}

void PreviewContentView::place() {
    m_placing = true;
    const auto [first, last] = rowsInReach();
    const int width = innerWidth();
    ++m_tick;
    for (size_t i = first; i < last; ++i) {
        Row& row = m_rows[i];
        if (!row.view || !row.measured)
            continue;
        const QRect place(paddingX, row.top - m_visibleTop, width, row.height);
        if (row.view->geometry() != place)
            row.view->setGeometry(place);
        if (row.view->isHidden())
            row.view->show();
        row.built->lastShown = m_tick;
    }
    for (const size_t index : m_built) {
        Row& row = m_rows[index];
        if ((index < first || index >= last) && !row.view->isHidden())
            row.view->hide();
    }
    releaseOutOfReach(first, last);
    m_placing = false;
}

void PreviewContentView::releaseOutOfReach(size_t first, size_t last) {
    std::vector<size_t> waiting;
    for (const size_t index : m_built)
        if (index < first || index >= last)
            waiting.push_back(index);
    const std::vector<size_t> gone =
        LeastRecentlyUsed::beyond(std::move(waiting), size_t(keptViews),
                                  [this](size_t i) { return m_rows[i].built->lastShown; });
    if (gone.empty())
        return;
    for (const size_t index : gone)
        releaseView(m_rows[index]);
    std::erase_if(m_built, [this](size_t index) { return !m_rows[index].view; });
}

void PreviewContentView::remeasureLive() {
    const auto [first, last] = rowsInReach();
    bool changed = false;
    for (size_t i = first; i < last; ++i)
        if (Row& row = m_rows[i]; row.view && row.measured)
            changed = measure(row, true) || changed;
    if (changed)
        settle();
}

bool PreviewContentView::event(QEvent* event) {
    // A row asked for another size (a picture finished loading, a row was shown).
    if (event->type() == QEvent::LayoutRequest && !m_placing)
        remeasureLive();
    return QWidget::event(event);
}

MarkdownBlockView* PreviewContentView::rowView(int row) const {
    return row >= 0 && row < rowCount() ? m_rows[size_t(row)].view : nullptr;
}

QRect PreviewContentView::rowRect(int row) const {
    if (row < 0 || row >= rowCount())
        return {};
    const Row& r = m_rows[size_t(row)];
    return {paddingX, r.top, innerWidth(), r.height};
}

bool PreviewContentView::isRowMeasured(int row) const {
    return row >= 0 && row < rowCount() && m_rows[size_t(row)].measured;
}

TableSlice PreviewContentView::rowSlice(int row) const {
    return row >= 0 && row < rowCount() ? m_rows[size_t(row)].slice : TableSlice{};
}

InlineSlice PreviewContentView::rowInlines(int row) const {
    return row >= 0 && row < rowCount() ? m_rows[size_t(row)].inlines : InlineSlice{};
}
