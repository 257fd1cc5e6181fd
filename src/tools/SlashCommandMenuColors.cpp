#include "tools/SlashCommandMenuColors.h"

#include <QPalette>

namespace {

QColor withAlpha(QColor colour, double alpha) {
    colour.setAlphaF(float(colour.alphaF() * alpha));
    return colour;
}

} // namespace

SlashCommandMenuColors SlashCommandMenuColors::from(const std::optional<EditorTheme>& theme,
                                                    const QPalette& system) {
    if (theme) {
        return {theme->text,
                theme->secondaryText,
                theme->mutedText,
                theme->accent,
                withAlpha(theme->accent, 0.14),
                withAlpha(theme->codeBackground, 0.55),
                withAlpha(theme->codeBackground, 0.92),
                withAlpha(theme->mutedText, 0.25)};
    }
    const QColor primary = system.color(QPalette::WindowText);
    const QColor secondary = system.color(QPalette::PlaceholderText);
    const QColor accent = system.color(QPalette::Highlight);
    return {primary,
            secondary,
            secondary,
            accent,
            withAlpha(accent, 0.14),
            withAlpha(primary, 0.05),
            system.color(QPalette::Window),
            withAlpha(primary, 0.12)};
}
