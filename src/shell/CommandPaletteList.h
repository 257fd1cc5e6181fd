#pragma once

#include "shell/CommandPaletteAction.h"
#include "widgets/PaintedRowList.h"

#include <QList>

// The palette's rows: symbol, title, optional subtitle and trailing hint, the
// highlighted row filled with the accent. At most maximumHeight high (less
// when limited), scrolling beyond, and the highlighted row is always
// scrolled into view.
class CommandPaletteList : public PaintedRowList {
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
    int contentHeight() const override;
    QRect rowRect(int index) const override;

    // Lower than the rows want in a short window: the list then scrolls.
    void setHeightLimit(int limit);
    QSize sizeHint() const override;
    // A scroll area would ask for room for its scroll bar's arrows.
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    int rowCount() const override { return int(m_actions.size()); }
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void layoutRows();
    void revealSelection();
    void paintRow(QPainter& painter, int index, const QRect& row) const;

    QList<CommandPaletteAction> m_actions;
    QList<int> m_tops; // of each row, in content coordinates
    int m_selected = 0;
    int m_heightLimit = maximumHeight;
};
