#pragma once

#include "core/PreferenceEnums.h"
#include "export/DocumentActions.h"

#include <QUrl>
#include <functional>
#include <optional>

// What a window offers the menus and the toolbar. A command is enabled exactly
// while the value it calls is present: document windows publish the document
// members, the welcome window openWelcomeWindow, other windows nothing.
struct FocusedValues {
    std::optional<DocumentActions> documentActions;
    std::function<void()> commandPaletteToggle;
    std::function<void()> documentSearchToggle;
    std::function<void()> focusModeToggle;
    std::function<void(ViewMode)> viewModeSwitch;
    // The window's document as the document controller saves and copies it.
    std::function<void()> saveDocument;
    std::function<void()> saveDocumentAs;
    std::function<void()> duplicateDocument;

    std::function<void()> openWelcomeWindow;
};

// The commands every window's menus carry whatever window it is. The
// application fills them in once at start-up; a missing one leaves its item out.
struct ApplicationCommands {
    std::function<void()> newDocument;
    std::function<void()> openDocument;
    // Opens a file of File > Open Recent.
    std::function<void(const QUrl&)> openRecentFile;
    std::function<void()> quit;
    std::function<void()> showSettings;
    std::function<void()> showAbout;
    // Posts "quon.showWelcomeWindow".
    std::function<void()> showWelcomeWindow;

    static ApplicationCommands& shared();
};
