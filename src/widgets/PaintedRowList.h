#pragma once

#include <QAbstractScrollArea>

class QPainter;

// A list drawn row by row in a scroll area instead of built of widgets, for
// the lists inside popovers. It never takes keyboard focus, so typing stays
// where it was, and a click counts only when it is let go on the row it
// pressed. Subclasses lay the rows out and draw them.
class PaintedRowList : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit PaintedRowList(QWidget* parent = nullptr);

    // The height of all the list draws, and a row's rectangle in the viewport
    // as scrolled now (empty outside the list).
    virtual int contentHeight() const = 0;
    virtual QRect rowRect(int index) const = 0;

Q_SIGNALS:
    void rowClicked(int index);

protected:
    virtual int rowCount() const = 0;
    // The row under a point of the viewport, or -1.
    int rowAt(const QPoint& position) const;
    // After the content's or the viewport's height changed.
    void updateScrollRange();
    // A new list: a press on the old one clicks nothing.
    void forgetPress() { m_pressed = -1; }

    // A row's rounded highlight, and a symbol centred in the column at the
    // left of a row's inner rectangle; the text starts after symbolWidth.
    static void fillHighlight(QPainter& painter, const QRect& row, const QColor& colour);
    void drawSymbol(QPainter& painter, const QRect& inner, const QString& name,
                    const QColor& colour) const;
    static constexpr int symbolWidth = 18;

    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_pressed = -1;
};
