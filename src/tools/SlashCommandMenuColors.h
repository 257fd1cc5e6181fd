#pragma once

#include "editor/EditorTheme.h"

#include <QColor>
#include <optional>

class QPalette;

// The slash-command menu's colours, taken from the editor theme so the menu
// matches the editor, or from the system palette without a theme. The menu
// draws with the first six; the popover around it with the last two.
struct SlashCommandMenuColors {
    QColor text;
    QColor secondaryText;
    QColor mutedText;
    QColor accent;
    QColor selectionBackground;
    QColor hoverBackground;
    QColor chromeBackground;
    QColor border;

    static SlashCommandMenuColors from(const std::optional<EditorTheme>& theme,
                                       const QPalette& system);

    bool operator==(const SlashCommandMenuColors&) const = default;
};
