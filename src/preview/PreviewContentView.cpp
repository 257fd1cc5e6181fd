#include "preview/PreviewContentView.h"

#include "preview/MarkdownBlockView.h"
#include "preview/PreviewHeightEstimate.h"
#include "preview/PreviewRowMatcher.h"

#include <QEvent>
#include <QPointer>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

constexpr size_t rememberedWidths = 4;

bool sameLook(const MarkdownRendererContext& a, const MarkdownRendererContext& b) {
    return a.designSystem.colors == b.designSystem.colors &&
           a.designSystem.typography.design == b.designSystem.typography.design &&
           a.designSystem.codeTheme == b.designSystem.codeTheme &&
           a.previewFontSize == b.previewFontSize && a.documentDirectory == b.documentDirectory;
}

} // namespace

PreviewContentView::PreviewContentView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    m_parsed = MarkdownParser::parse(QString());
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

void PreviewContentView::dropViews() {
    for (Row& row : m_rows) {
        if (row.view) {
            row.view->hide();
            // A click inside the view may be what led here.
            row.view->deleteLater();
            row.view = nullptr;
        }
        row.anchor.reset();
        row.heightWidth = -1;
        row.estimateWidth = -1;
        row.measured = false;
        row.measuredByWidth.clear();
    }
}

void PreviewContentView::setDocument(std::shared_ptr<const ParsedMarkdown> parsed) {
    if (!parsed)
        parsed = MarkdownParser::parse(QString());
    std::vector<Row> before = std::move(m_rows);
    const std::shared_ptr<const ParsedMarkdown> previous = std::exchange(m_parsed, parsed);

    const std::vector<MarkdownNode>& blocks = parsed->document.children;
    std::vector<size_t> keys;
    keys.reserve(blocks.size());
    for (const MarkdownNode& block : blocks)
        keys.push_back(PreviewRowMatcher::key(*parsed, block));
    std::vector<size_t> beforeKeys;
    beforeKeys.reserve(before.size());
    for (const Row& row : before)
        beforeKeys.push_back(row.key);
    const std::vector<int> kept = PreviewRowMatcher::match(*previous, beforeKeys, *parsed, keys);

    m_rows.clear();
    m_rows.reserve(blocks.size());
    for (size_t i = 0; i < blocks.size(); ++i) {
        Row row;
        if (kept[i] >= 0) {
            row = std::move(before[size_t(kept[i])]);
            before[size_t(kept[i])].view = nullptr;
            if (row.anchor) {
                row.anchor->markdown = parsed->text;
                row.anchor->lineShift = blocks[i].range.startLine - row.builtStartLine;
            }
        } else {
            row.empty = MarkdownBlockView::showsNothing(blocks[i]);
        }
        row.node = &blocks[i];
        row.key = keys[i];
        m_rows.push_back(std::move(row));
    }
    for (Row& gone : before) {
        if (gone.view) {
            gone.view->hide();
            gone.view->deleteLater();
        }
    }
    settle();
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

void PreviewContentView::build(Row& row) {
    row.anchor = std::make_shared<SourceAnchor>(SourceAnchor{m_parsed->text, 0});
    row.builtStartLine = row.node->range.startLine;
    MarkdownRendererContext context = m_context;
    context.markdown = m_parsed->text;
    context.anchor = row.anchor;
    row.view = new MarkdownBlockView(*row.node, context, this);
    ++m_buildCount;
}

bool PreviewContentView::measure(Row& row, bool fresh) {
    const int width = innerWidth();
    if (fresh)
        row.measuredByWidth.clear();
    const int height = row.view->hasHeightForWidth() ? row.view->heightForWidth(width)
                                                     : row.view->sizeHint().height();
    std::erase_if(row.measuredByWidth, [width](const auto& entry) { return entry.first == width; });
    if (row.measuredByWidth.size() >= rememberedWidths)
        row.measuredByWidth.erase(row.measuredByWidth.begin());
    row.measuredByWidth.emplace_back(width, height);
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
        row.estimate = PreviewHeightEstimate::height(*row.node, width, m_context.previewFontSize);
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
    const auto known = std::find_if(row.measuredByWidth.begin(), row.measuredByWidth.end(),
                                    [width](const auto& entry) { return entry.first == width; });
    row.measured = row.view && known != row.measuredByWidth.end();
    row.height = row.measured ? known->second : int(std::lround(rawEstimate(row) * m_scale));
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
            if (!first)
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

int PreviewContentView::materialize() {
    int shift = 0;
    // Measuring moves the rows below; a few rounds reach the rows that come
    // into reach that way.
    for (int round = 0; round < 8; ++round) {
        const int ahead = qMax(lookAhead, m_visibleHeight);
        const auto [first, last] =
            rowsWithin(m_visibleTop - ahead, m_visibleTop + m_visibleHeight + ahead);
        bool changed = false;
        for (size_t i = first; i < last; ++i) {
            Row& row = m_rows[i];
            if (row.empty)
                continue;
            if (!row.view)
                build(row);
            if (row.measured)
                continue;
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
    const int ahead = qMax(lookAhead, m_visibleHeight);
    const auto [first, last] =
        rowsWithin(m_visibleTop - ahead, m_visibleTop + m_visibleHeight + ahead);
    QSet<QWidget*> shown;
    const int width = innerWidth();
    for (size_t i = first; i < last; ++i) {
        Row& row = m_rows[i];
        if (!row.view || !row.measured)
            continue;
        const QRect place(paddingX, row.top, width, row.height);
        if (row.view->geometry() != place)
            row.view->setGeometry(place);
        if (row.view->isHidden())
            row.view->show();
        shown.insert(row.view);
    }
    // Views far from the visible part stay as they are, hidden, until needed.
    for (Row& row : m_rows)
        if (row.view && !row.view->isHidden() && !shown.contains(row.view))
            row.view->hide();
    m_placing = false;
}

void PreviewContentView::remeasureLive() {
    const int ahead = qMax(lookAhead, m_visibleHeight);
    const auto [first, last] =
        rowsWithin(m_visibleTop - ahead, m_visibleTop + m_visibleHeight + ahead);
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

int PreviewContentView::builtRowCount() const {
    return int(std::count_if(m_rows.begin(), m_rows.end(),
                             [](const Row& row) { return row.view != nullptr; }));
}
