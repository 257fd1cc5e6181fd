#pragma once

#include "editor/EditorText.h"

class MarkdownTextView;
class QKeyEvent;
struct EditorTheme;

// What the editor asks of the editing tools' popovers. The slash-command and
// the selection formatting popover controllers implement these.

// The "/" menu at the caret.
class EditorSlashPopover {
public:
    virtual ~EditorSlashPopover() = default;
    // Arrows, Return, Enter and Escape while commands are listed: true when
    // the key was used.
    virtual bool handleKeyDown(QKeyEvent* event) = 0;
    // Whether handleKeyDown would use the key now: the editor then claims it
    // ahead of the window's shortcuts.
    virtual bool wantsKey(const QKeyEvent* event) const = 0;
    virtual bool isShown() const = 0;
    // Shown with at least one command listed.
    virtual bool isListingCommands() const = 0;
    // Applies the selected command in place of the "/" trigger.
    virtual void confirmSelection() = 0;
    // Re-reads the trigger at the caret after an edit or a caret move.
    virtual void textChanged(MarkdownTextView* view) = 0;
    virtual void close() = 0;
    virtual void setTheme(const EditorTheme& theme) = 0;
};

// The formatting bar over a selection.
class EditorFormattingPopover {
public:
    virtual ~EditorFormattingPopover() = default;
    // Every change of the selection, whether the caret moved or not.
    virtual void selectionChanged(MarkdownTextView* view, EditorText::Range selection) = 0;
    virtual void close() = 0;
    virtual void setTheme(const EditorTheme& theme) = 0;
    // Escape for the link address field: closes the bar and gives the
    // keyboard back to the editor when the field is shown (true).
    virtual bool closeLinkField() = 0;
};
