#pragma once

#include "widgets/ThemeRoles.h"

#include <QWidget>

// One symbol drawn at a fixed size in a design-system colour, centred in a
// frame that may be wider than the symbol.
class SymbolLabel : public QWidget {
    Q_OBJECT
public:
    SymbolLabel(const QString& name, int pixelSize, ColorRole color, QWidget* parent = nullptr);

    void setSymbol(const QString& name);
    void setColorRole(ColorRole color);
    void setFrameWidth(int width);

    QString symbol() const { return m_name; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Paints a symbol centred in a rectangle; shared by the buttons.
    static void paint(QPainter& painter, const QString& name, const QColor& color,
                      const QRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_name;
    int m_pixelSize;
    int m_frameWidth = 0;
    ColorRole m_color;
};
