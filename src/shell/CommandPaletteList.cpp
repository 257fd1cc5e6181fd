#include "shell/CommandPaletteList.h"

#include "core/AppearanceService.h"
#include "core/SingleLineText.h"
#include "editor/ScrollViewStyling.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <utility>

namespace {

constexpr int rowPaddingX = 8, rowPaddingY = 7;
constexpr int symbolHeight = 14, gap = 8, subtitleGap = 1;

const DesignSystem& design() {
    return AppearanceService::shared().designSystem();
}

QFont titleFont() {
    QFont font = design().typography.callout;
    font.setWeight(QFont::Medium);
    return font;
}

int rowHeight(const CommandPaletteAction& action) {
    int text = QFontMetrics(titleFont()).height();
    if (action.subtitle)
        text += subtitleGap + QFontMetrics(design().typography.caption).height();
    return 2 * rowPaddingY + qMax(text, symbolHeight);
}

} // namespace

CommandPaletteList::CommandPaletteList(QWidget* parent) : PaintedRowList(parent) {
    verticalScrollBar()->setSingleStep(24);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    ScrollViewStyling::apply(this, design().colors.accent);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this, [this] {
        ScrollViewStyling::apply(this, design().colors.accent);
        layoutRows();
    });
}

void CommandPaletteList::setActions(const QList<CommandPaletteAction>& actions, int selected) {
    m_actions = actions;
    m_selected = selected;
    forgetPress();
    layoutRows();
    revealSelection();
}

void CommandPaletteList::setSelectedIndex(int selected) {
    m_selected = selected;
    revealSelection();
    viewport()->update();
}

void CommandPaletteList::layoutRows() {
    m_tops.clear();
    int top = padding;
    for (const CommandPaletteAction& action : std::as_const(m_actions)) {
        m_tops.append(top);
        top += rowHeight(action) + spacing;
    }
    updateGeometry();
    updateScrollRange();
    viewport()->update();
}

int CommandPaletteList::contentHeight() const {
    if (m_actions.isEmpty())
        return 0;
    return m_tops.last() + rowHeight(m_actions.last()) + padding;
}

void CommandPaletteList::setHeightLimit(int limit) {
    limit = qBound(0, limit, int(maximumHeight));
    if (limit == m_heightLimit)
        return;
    m_heightLimit = limit;
    updateGeometry();
}

QSize CommandPaletteList::sizeHint() const {
    return {QAbstractScrollArea::sizeHint().width(), qMin(contentHeight(), m_heightLimit)};
}

void CommandPaletteList::resizeEvent(QResizeEvent* event) {
    PaintedRowList::resizeEvent(event);
    revealSelection();
}

QRect CommandPaletteList::rowRect(int index) const {
    if (index < 0 || index >= m_actions.size())
        return {};
    return {padding, m_tops[index] - verticalScrollBar()->value(),
            viewport()->width() - 2 * padding, rowHeight(m_actions[index])};
}

void CommandPaletteList::revealSelection() {
    const QRect row = rowRect(m_selected);
    if (row.isNull())
        return;
    // The least scroll that shows the whole row with the list's padding.
    QScrollBar* bar = verticalScrollBar();
    if (row.top() - padding < 0)
        bar->setValue(bar->value() + row.top() - padding);
    else if (row.bottom() + 1 + padding > viewport()->height())
        bar->setValue(bar->value() + row.bottom() + 1 + padding - viewport()->height());
}

void CommandPaletteList::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        layoutRows();
    PaintedRowList::changeEvent(event);
}

void CommandPaletteList::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < m_actions.size(); ++i) {
        const QRect row = rowRect(i);
        if (row.bottom() < 0)
            continue;
        if (row.top() > viewport()->height())
            break;
        paintRow(painter, i, row);
    }
}

void CommandPaletteList::paintRow(QPainter& painter, int index, const QRect& row) const {
    const DesignSystem& ds = design();
    const CommandPaletteAction& action = m_actions[index];
    const bool selected = index == m_selected;
    if (selected)
        fillHighlight(painter, row, ds.colors.accent);
    const QColor primary = selected ? ds.colors.onAccent : ds.colors.text;
    const QColor secondary = selected ? ds.colors.onAccent.withAlpha(0.8) : ds.colors.mutedText;
    const QRect inner = row.adjusted(rowPaddingX, rowPaddingY, -rowPaddingX, -rowPaddingY);

    drawSymbol(painter, inner, action.systemImage,
               selected ? ds.colors.onAccent : ds.colors.secondaryText);

    const QFont caption = ds.typography.caption;
    const QFontMetrics titleMetrics(titleFont()), captionMetrics(caption);
    int textRight = inner.right();
    if (action.shortcutHint) {
        const int hintWidth = captionMetrics.horizontalAdvance(*action.shortcutHint);
        painter.setFont(caption);
        painter.setPen(secondary);
        painter.drawText(QRect(textRight + 1 - hintWidth, inner.top(), hintWidth, inner.height()),
                         Qt::AlignRight | Qt::AlignVCenter, *action.shortcutHint);
        textRight -= hintWidth + gap;
    }
    const int textLeft = inner.left() + symbolWidth + gap;
    const int textWidth = qMax(0, textRight + 1 - textLeft);
    painter.setFont(titleFont());
    painter.setPen(primary);
    painter.drawText(QRect(textLeft, inner.top(), textWidth, titleMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(SingleLineText::flattened(action.title),
                                             Qt::ElideRight, textWidth));
    if (action.subtitle) {
        painter.setFont(caption);
        painter.setPen(secondary);
        painter.drawText(QRect(textLeft, inner.top() + titleMetrics.height() + subtitleGap,
                               textWidth, captionMetrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         captionMetrics.elidedText(SingleLineText::flattened(*action.subtitle),
                                                   Qt::ElideRight, textWidth));
    }
}
