#pragma once

#include "editor/EditorPopovers.h"
#include "editor/EditorTheme.h"
#include "tools/SlashCommand.h"
#include "tools/SlashCommandMenuView.h"
#include "widgets/PopoverFrame.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <optional>

class AnchoredOverlay;

// Runs the slash-command menu of one editor: watches the text and the caret
// for a "/" trigger, keeps the filtered commands and the highlighted row,
// shows the menu under the caret line (above it when there is no room below)
// as an overlay in the editor's window, takes Down, Up, Return, keypad Enter
// and Escape while it lists commands, and hands the chosen command to the
// engine.
//
// Closed until a text or caret change finds a trigger with matching commands;
// open while later changes keep finding one (the highlight goes back to the
// first row whenever the query changes). It closes when the trigger goes, no
// command matches, text is selected, Escape is pressed, a command is applied,
// the mouse is pressed anywhere outside it, or the editor is hidden (Preview
// mode, a closed window).
class SlashCommandPopoverController : public QObject, public EditorSlashPopover {
    Q_OBJECT
public:
    static constexpr int popoverWidth = 320;
    static constexpr int minimumPopoverHeight = 120;
    static constexpr int maximumPopoverHeight = 320;

    explicit SlashCommandPopoverController(QObject* parent = nullptr);
    ~SlashCommandPopoverController() override;

    bool handleKeyDown(QKeyEvent* event) override;
    bool wantsKey(const QKeyEvent* event) const override;
    bool isShown() const override;
    bool isListingCommands() const override;
    // Applies the highlighted command.
    void confirmSelection() override;
    void textChanged(MarkdownTextView* view) override;
    void close() override;
    void setTheme(const EditorTheme& theme) override;

    // Applies the given command in place of the trigger, then closes and
    // gives the keyboard back to the editor.
    void confirmSelection(const SlashCommand& command);

    const std::optional<SlashCommandContext>& context() const { return m_context; }
    const QList<SlashCommand>& filteredCommands() const { return m_filtered; }
    int selectedIndex() const { return m_selected; }
    // The popover and the list in it; they exist from the start, shown or not.
    PopoverFrame* popover() const { return m_frame; }
    SlashCommandMenuView* menuView() const { return m_menu; }

    // The popover's height for a list of rows in sections.
    static int popoverHeight(int sections, int rows);

private:
    void makePopover();
    void rebuildMenu();
    void present();
    void moveSelection(int step);

    QPointer<MarkdownTextView> m_view;
    std::optional<EditorTheme> m_theme;
    std::optional<SlashCommandContext> m_context;
    QList<SlashCommand> m_filtered;
    int m_selected = 0;
    bool m_applying = false;
    AnchoredOverlay* m_overlay = nullptr;
    // Lives in the editor's window while shown, so the window may take it
    // along when it goes; made again when needed.
    QPointer<PopoverFrame> m_frame;
    QPointer<SlashCommandMenuView> m_menu;
};
