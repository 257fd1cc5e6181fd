#pragma once

#include "support/WorkspaceWindow.h"

#include <QSize>

class EditorView;
class MarkdownTextView;
class SelectionFormattingPopoverController;
class SlashCommandPopoverController;

// A shown document window with the real panes and its editor's text focused:
// the editor's popovers as a user meets them.
struct EditorWindow : WorkspaceWindow {
    EditorView* editor = nullptr;
    MarkdownTextView* text = nullptr;

    // An empty size keeps the window's own.
    explicit EditorWindow(ViewMode mode = ViewMode::Edit, QSize size = {});

    // The caret's rectangle at a position of the text (the caret's own when
    // negative), in the window.
    QRect caretInWindow(int position = -1) const;
    SlashCommandPopoverController* slashMenu() const;
    SelectionFormattingPopoverController* formattingBar() const;
};

// Keys as a user's: to whatever has the focus.
namespace Keyboard {
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Typing, with "\n" as Return and "\b" as Backspace.
void type(const char* text);
} // namespace Keyboard
