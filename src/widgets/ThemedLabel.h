#pragma once

#include "widgets/ThemeRoles.h"

#include <QLabel>

// A label in a design-system font and colour that restyles itself live. Given
// a source text it also retranslates itself; elided, it keeps to one line and
// cuts the end (or the middle) off when narrow, and asks for no more width
// than an ellipsis.
class ThemedLabel : public QLabel {
    Q_OBJECT
public:
    ThemedLabel(FontRole font, ColorRole color, QWidget* parent = nullptr);

    // A fixed interface text (marked for translation), shown translated.
    void setSourceText(const char* text);
    void setElided(bool elided, Qt::TextElideMode mode = Qt::ElideRight);
    void setColorRole(ColorRole color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void restyle();
    int oneLineHeight() const;

    FontRole m_font;
    ColorRole m_color;
    const char* m_sourceText = nullptr;
    bool m_elided = false;
    Qt::TextElideMode m_elideMode = Qt::ElideRight;
};
