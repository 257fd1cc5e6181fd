#pragma once

#include <QString>
#include <functional>
#include <optional>

// One command of a window's command palette. The window builds the list with
// texts already translated; the palette shows, filters and runs the actions.
struct CommandPaletteAction {
    QString id; // unique within one list
    QString title;
    std::optional<QString> subtitle;
    QString systemImage; // a Symbols name
    // The keys of the menu command that does the same; shown, never bound.
    std::optional<QString> shortcutHint;
    // Runs on a later turn of the event loop than the choice, after the
    // palette has closed.
    std::function<void()> perform;
    // Matched by the filter too, never shown: a file's full name, extension
    // included, beside the title without it.
    QString alsoMatches;
};
