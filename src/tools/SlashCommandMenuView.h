#pragma once

#include "tools/SlashCommand.h"
#include "tools/SlashCommandMenuColors.h"
#include "widgets/PaintedRowList.h"

#include <QList>

class QPropertyAnimation;

// The list inside the slash-command popover: the commands under upper-case
// category headers, one highlighted row that follows the keyboard and a hover
// highlight for the mouse. It keeps no state beyond the hovered row; the
// popover controller sets the commands and the selection and hears of clicks
// (rowClicked gives the command's index).
class SlashCommandMenuView : public PaintedRowList {
    Q_OBJECT
public:
    static constexpr int headerHeight = 28;
    static constexpr int rowHeight = 44;
    static constexpr int maximumListHeight = 280;

    explicit SlashCommandMenuView(QWidget* parent = nullptr);

    // A new list starts scrolled to the top; a new selection in the same list
    // is scrolled to the middle of the view.
    void setCommands(const QList<SlashCommand>& commands, int selectedIndex);
    void setColors(const SlashCommandMenuColors& colors);

    const QList<SlashCommand>& commands() const { return m_commands; }
    int selectedIndex() const { return m_selected; }
    int hoveredIndex() const { return m_hovered; }
    // The number of headers the list shows.
    int sectionCount() const;
    // The height of all headers and rows.
    int contentHeight() const override;
    QRect rowRect(int index) const override;

protected:
    int rowCount() const override { return int(m_commands.size()); }
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    struct Item {
        int top;
        int commandIndex; // -1 for a header
        SlashCommandCategory category;
    };
    void layoutItems();
    void scrollToSelection();
    void setHovered(int index);
    void paintHeader(QPainter& painter, const Item& item, int width) const;
    void paintRow(QPainter& painter, const Item& item, int width) const;

    QList<SlashCommand> m_commands;
    QList<Item> m_items;
    int m_selected = 0;
    int m_hovered = -1;
    SlashCommandMenuColors m_colors;
    QPropertyAnimation* m_scroll = nullptr;
};
