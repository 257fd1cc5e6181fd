#pragma once

#include "shell/CommandPaletteAction.h"

#include <QAbstractScrollArea>
#include <QList>

// The palette's rows: symbol, title, optional subtitle and trailing hint, the
// highlighted row filled with the accent. Drawn, not built of widgets; at most
// maximumHeight high, scrolling beyond, and the highlighted row is always
// scrolled into view. It never takes keyboard focus.
class CommandPaletteList : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int maximumHeight = 300;
    static constexpr int padding = 8;
    static constexpr int spacing = 2;

    explicit CommandPaletteList(QWidget* parent = nullptr);

    // A highlight outside the list highlights nothing.
    void setActions(const QList<CommandPaletteAction>& actions, int selected);
    const QList<CommandPaletteAction>& actions() const { return m_actions; }
    int selectedIndex() const { return m_selected; }
    void setSelectedIndex(int selected);

    // All rows with their padding, and a row's rectangle in the viewport as
    // scrolled now (empty outside the list).
    int contentHeight() const;
    QRect rowRect(int index) const;

    QSize sizeHint() const override;
    // A scroll area would ask for room for its scroll bar's arrows.
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void rowClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void layoutRows();
    void updateScrollRange();
    void revealSelection();
    int rowAt(const QPoint& position) const;
    void paintRow(QPainter& painter, int index, const QRect& row) const;

    QList<CommandPaletteAction> m_actions;
    QList<int> m_tops; // of each row, in content coordinates
    int m_selected = 0;
    int m_pressed = -1;
};
