#pragma once

#include "core/RecentFile.h"
#include "shell/CommandPaletteAction.h"

#include <QList>
#include <QUrl>
#include <functional>

class QAction;
class WindowCommands;

// What a document window's palette list depends on besides its commands.
struct CommandPaletteState {
    bool focusMode = false;
    bool findBarPresented = false;
    QUrl fileUrl;                  // empty for a document never saved
    QList<RecentFile> recentFiles; // newest first
    // Posts "quon.dismissWelcomeWindow".
    std::function<void()> dismissWelcomeWindow;
};

// The list a document window hands its command palette: the window's fixed
// commands (each runs the window's own shared command, and shows that
// command's keys), "Reveal in Files" for a document with a file, then recent
// files.
namespace CommandPaletteActionsBuilder {

inline constexpr int maximumRecentFiles = 6;

QList<CommandPaletteAction> build(const WindowCommands& commands, const CommandPaletteState& state);

// Of the first six recent files, every one but the window's own (compared
// with "." and ".." resolved), each opening its file.
QList<CommandPaletteAction> recentFileActions(const QList<RecentFile>& files, const QUrl& own);

// The command's keys as this platform writes them ("Ctrl+Shift+."); none
// without a shortcut.
std::optional<QString> shortcutHint(const QAction* action);

} // namespace CommandPaletteActionsBuilder
