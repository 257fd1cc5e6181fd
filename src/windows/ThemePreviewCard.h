#pragma once

#include "core/DesignSystem.h"
#include "widgets/ThemedButton.h"

// A clickable preview of one colour theme: a small document mock-up drawn in
// the theme's own palette, with the theme's name and description under it,
// each on as many lines as it needs.
// The border, the caption and the check mark follow the window's theme.
// A click runs the action; the card is marked by setSelected() alone.
class ThemePreviewCard : public ThemedButton {
    Q_OBJECT
public:
    static constexpr int mockupPadding = 10;
    static constexpr double cornerRadius = 8;

    // name and subtitle are source texts, shown translated.
    ThemePreviewCard(const char* name, const char* subtitle, const DesignSystem::Colors& palette,
                     bool usesSerif, QWidget* parent = nullptr);

    const DesignSystem::Colors& themePalette() const { return m_palette; }
    bool usesSerif() const { return m_usesSerif; }
    bool isSelected() const { return isChecked(); }
    void setSelected(bool selected);
    // Where the mock-up is drawn, in the card's coordinates.
    QRect mockupRect() const;
    QFont headingFont() const;

    // The caption's lines at a card width: the name's, then the
    // description's, each broken between words and never cut short.
    struct Caption {
        QStringList name;
        QStringList subtitle;
    };
    Caption caption(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void nextCheckState() override {}
    void paintEvent(QPaintEvent* event) override;

private:
    int mockupHeight() const;
    int captionHeight(int width) const;
    void drawMockup(QPainter& p, const QRect& area) const;
    void drawCaption(QPainter& p, const QRect& area) const;

    const char* m_subtitle;
    const DesignSystem::Colors& m_palette;
    bool m_usesSerif;
};
