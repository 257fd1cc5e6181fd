#include "tools/SlashCommandMenuView.h"

#include "core/DesignSystem.h"
#include "core/L10n.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScrollBar>
#include <algorithm>

namespace {

constexpr int rowInset = 4;      // around each row, outside its highlight
constexpr int contentInset = 10; // inside a row or header
constexpr int scrollMs = 120;

QFont menuFont(double pixels, QFont::Weight weight = QFont::Normal) {
    return DesignSystem::Typography::font(FontDesign::Default, pixels, weight);
}

} // namespace

SlashCommandMenuView::SlashCommandMenuView(QWidget* parent) : PaintedRowList(parent) {
    verticalScrollBar()->setSingleStep(rowHeight / 2);
    viewport()->setMouseTracking(true);
    m_scroll = new QPropertyAnimation(verticalScrollBar(), "value", this);
    m_scroll->setDuration(scrollMs);
    m_scroll->setEasingCurve(QEasingCurve::OutCubic);
    m_colors = SlashCommandMenuColors::from(std::nullopt, palette());
}

void SlashCommandMenuView::setCommands(const QList<SlashCommand>& commands, int selectedIndex) {
    const bool newList = commands != m_commands;
    const bool newSelection = selectedIndex != m_selected;
    m_commands = commands;
    m_selected = selectedIndex;
    if (newList) {
        m_hovered = -1;
        forgetPress();
        layoutItems();
        m_scroll->stop();
        verticalScrollBar()->setValue(0);
    } else if (newSelection) {
        scrollToSelection();
    }
    viewport()->update();
}

void SlashCommandMenuView::setColors(const SlashCommandMenuColors& colors) {
    if (colors == m_colors)
        return;
    m_colors = colors;
    viewport()->update();
}

void SlashCommandMenuView::layoutItems() {
    m_items.clear();
    int top = 0;
    for (SlashCommandCategory category : allSlashCommandCategories) {
        bool header = false;
        for (int i = 0; i < m_commands.size(); ++i) {
            if (m_commands[i].category != category)
                continue;
            if (!header) {
                m_items.append({top, -1, category});
                top += headerHeight;
                header = true;
            }
            m_items.append({top, i, category});
            top += rowHeight;
        }
    }
    updateScrollRange();
}

int SlashCommandMenuView::sectionCount() const {
    return int(std::count_if(m_items.cbegin(), m_items.cend(),
                             [](const Item& item) { return item.commandIndex < 0; }));
}

int SlashCommandMenuView::contentHeight() const {
    return m_items.isEmpty() ? 0 : m_items.last().top + rowHeight;
}

QRect SlashCommandMenuView::rowRect(int index) const {
    for (const Item& item : m_items) {
        if (item.commandIndex == index)
            return {rowInset, item.top - verticalScrollBar()->value(),
                    viewport()->width() - 2 * rowInset, rowHeight};
    }
    return {};
}

void SlashCommandMenuView::scrollToSelection() {
    const QRect row = rowRect(m_selected);
    if (row.isNull())
        return;
    QScrollBar* bar = verticalScrollBar();
    const int centred = row.center().y() + bar->value() - viewport()->height() / 2;
    const int target = qBound(bar->minimum(), centred, bar->maximum());
    m_scroll->stop();
    if (target == bar->value())
        return;
    m_scroll->setStartValue(bar->value());
    m_scroll->setEndValue(target);
    m_scroll->start();
}

void SlashCommandMenuView::setHovered(int index) {
    if (index == m_hovered)
        return;
    m_hovered = index;
    viewport()->update();
}

void SlashCommandMenuView::mouseMoveEvent(QMouseEvent* event) {
    setHovered(rowAt(event->position().toPoint()));
    event->accept();
}

bool SlashCommandMenuView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave)
        setHovered(-1);
    return PaintedRowList::viewportEvent(event);
}

void SlashCommandMenuView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    const int width = viewport()->width();
    if (m_commands.isEmpty()) {
        painter.setFont(menuFont(12));
        painter.setPen(m_colors.mutedText);
        painter.drawText(QRect(contentInset, 14, width - 2 * contentInset, rowHeight),
                         Qt::AlignLeft | Qt::AlignTop, L10n::tr("No matching commands"));
        return;
    }
    const int scrolled = verticalScrollBar()->value();
    for (const Item& item : m_items) {
        const int top = item.top - scrolled;
        if (top > viewport()->height() || top + rowHeight < 0)
            continue;
        if (item.commandIndex < 0)
            paintHeader(painter, item, width);
        else
            paintRow(painter, item, width);
    }
}

void SlashCommandMenuView::paintHeader(QPainter& painter, const Item& item, int width) const {
    const int top = item.top - verticalScrollBar()->value();
    painter.setFont(menuFont(10, QFont::DemiBold));
    painter.setPen(m_colors.mutedText);
    const QRect box(contentInset, top + 8, width - 2 * contentInset, headerHeight - 12);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, title(item.category).toUpper());
}

void SlashCommandMenuView::paintRow(QPainter& painter, const Item& item, int width) const {
    const SlashCommand& command = m_commands[item.commandIndex];
    const bool selected = item.commandIndex == m_selected;
    const QRect row(rowInset, item.top - verticalScrollBar()->value(), width - 2 * rowInset,
                    rowHeight);
    if (selected || item.commandIndex == m_hovered)
        fillHighlight(painter, row,
                      selected ? m_colors.selectionBackground : m_colors.hoverBackground);
    const QRect inner = row.adjusted(contentInset, 7, -contentInset, -7);
    drawSymbol(painter, inner, command.systemImage,
               selected ? m_colors.accent : m_colors.secondaryText);

    const int textLeft = inner.left() + symbolWidth + 10;
    const int textWidth = inner.right() - textLeft;
    const QFont titleFont = menuFont(12, selected ? QFont::DemiBold : QFont::Normal);
    const QFont subtitleFont = menuFont(10);
    const QFontMetrics titleMetrics(titleFont), subtitleMetrics(subtitleFont);
    const int textHeight = titleMetrics.height() + 1 + subtitleMetrics.height();
    const int textTop = inner.center().y() + 1 - textHeight / 2;
    painter.setFont(titleFont);
    painter.setPen(m_colors.text);
    painter.drawText(QRect(textLeft, textTop, textWidth, titleMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, command.title);
    painter.setFont(subtitleFont);
    painter.setPen(m_colors.mutedText);
    painter.drawText(
        QRect(textLeft, textTop + titleMetrics.height() + 1, textWidth, subtitleMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        subtitleMetrics.elidedText(command.subtitle, Qt::ElideRight, textWidth));
}
