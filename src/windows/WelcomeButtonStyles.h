#pragma once

#include "core/DesignSystem.h"
#include "widgets/ThemedButton.h"

// What a large home-window button looks like in one state.
struct WelcomeButtonLook {
    static constexpr int verticalPadding = 10;
    static constexpr int horizontalPadding = 16;
    static constexpr double cornerRadius = 10;

    QFont font;
    QColor foreground;
    QColor background;
    QColor border; // invalid: no border
};

// Filled in the accent colour: the main choice.
namespace WelcomePrimaryButtonStyle {
WelcomeButtonLook look(const DesignSystem& ds, bool pressed);
} // namespace WelcomePrimaryButtonStyle

// Bordered on the segment track: the second choice.
namespace WelcomeSecondaryButtonStyle {
WelcomeButtonLook look(const DesignSystem& ds, bool pressed);
} // namespace WelcomeSecondaryButtonStyle

// A large button with a symbol and a text in one of the two styles; it
// follows the active design system. The action and shortcut are the caller's.
class WelcomeButton : public ThemedButton {
    Q_OBJECT
public:
    enum class Style { Primary, Secondary };

    WelcomeButton(Style style, QWidget* parent = nullptr);

    void setSymbol(const QString& name);
    // The whole button drawn at this opacity (a disabled choice is dimmed).
    void setOpacity(double opacity);
    double opacity() const { return m_opacity; }

    Style style() const { return m_style; }
    WelcomeButtonLook look() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int symbolSize(const QFontMetrics& metrics) const;
    int labelWidth(const QFontMetrics& metrics) const;

    Style m_style;
    QString m_symbol;
    double m_opacity = 1.0;
};
