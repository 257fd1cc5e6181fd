#pragma once

#include "widgets/ThemeRoles.h"
#include "widgets/ThemedButton.h"

// A button without chrome: a text, a symbol after it, or a symbol alone, in a
// design-system font and colour. Used for "Clear", "Show more", the remove
// buttons of recent files and the about window's links.
class PlainButton : public ThemedButton {
    Q_OBJECT
public:
    PlainButton(FontRole font, ColorRole color, QWidget* parent = nullptr);

    void setSymbol(const QString& name, int pixelSize);
    QString symbol() const { return m_symbol; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont currentFont() const;
    int contentWidth(const QFontMetrics& metrics) const;

    FontRole m_font;
    ColorRole m_color;
    QString m_symbol;
    int m_symbolSize = 0;
};
