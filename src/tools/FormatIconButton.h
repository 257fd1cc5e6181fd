#pragma once

#include "tools/SelectionFormattingBar.h"

#include <QAbstractButton>

// A symbol button of the formatting bar, without chrome. A format button
// (bold, italic...) lies on a rounded accent tint while active and on the
// hover background while the pointer is over it; a plain one (the menu
// labels, the link row's buttons) draws only its symbol. The bar chooses the
// symbol's colour. It never takes keyboard focus.
class FormatIconButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int cornerRadius = 6;

    FormatIconButton(const QString& symbol, int symbolSize, const QSize& frame,
                     QWidget* parent = nullptr);

    void setColors(const SelectionFormattingBar::Colors& colors);
    void setPlain(bool plain);
    bool isActive() const { return m_active; }
    void setActive(bool active);
    bool isHovered() const { return m_hovered; }
    QColor symbolColour() const { return m_symbolColour; }
    void setSymbolColour(const QColor& colour);

    // What lies under the symbol: the accent tint while active, hovered or
    // not; else the hover background under the pointer; else nothing.
    static QColor background(const SelectionFormattingBar::Colors& colors, bool active,
                             bool hovered);

    QSize sizeHint() const override { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString m_symbol;
    int m_symbolSize;
    QSize m_frame;
    SelectionFormattingBar::Colors m_colors;
    QColor m_symbolColour;
    bool m_plain = false;
    bool m_active = false;
    bool m_hovered = false;
};
