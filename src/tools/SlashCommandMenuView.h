#pragma once

#include "tools/SlashCommand.h"
#include "tools/SlashCommandMenuColors.h"

#include <QAbstractScrollArea>
#include <QList>

class QPropertyAnimation;

// The list inside the slash-command popover: the commands under upper-case
// category headers, one highlighted row that follows the keyboard and a hover
// highlight for the mouse. It keeps no state beyond the hovered row; the
// popover controller sets the commands and the selection and hears of clicks.
// It never takes keyboard focus, so typing stays in the editor.
class SlashCommandMenuView : public QAbstractScrollArea {
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
    int contentHeight() const;
    // A row's rectangle in the viewport as scrolled now.
    QRect rowRect(int index) const;

Q_SIGNALS:
    void commandClicked(const SlashCommand& command);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    struct Item {
        int top;
        int commandIndex; // -1 for a header
        SlashCommandCategory category;
    };
    void layoutItems();
    void updateScrollRange();
    void scrollToSelection();
    int rowAt(const QPoint& viewportPosition) const;
    void setHovered(int index);
    void paintHeader(QPainter& painter, const Item& item, int width) const;
    void paintRow(QPainter& painter, const Item& item, int width) const;

    QList<SlashCommand> m_commands;
    QList<Item> m_items;
    int m_selected = 0;
    int m_hovered = -1;
    int m_pressed = -1;
    SlashCommandMenuColors m_colors;
    QPropertyAnimation* m_scroll = nullptr;
};
