#pragma once

#include "editor/EditorPopovers.h"
#include "editor/EditorTheme.h"
#include "tools/SelectionFormattingBar.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <optional>

class AnchoredOverlay;
class PopoverFrame;

// Runs the formatting bar of one editor: shows it under the selection once
// the selection has stayed the same for a moment, fills it with what the
// selection holds (wrapped in which markers, which heading level its first
// line has), and applies its commands through the editing rules.
//
// The bar is an overlay in the editor's window, below the selection's
// bounding box (above it when there is no room below; over a selection in
// view as a whole never, so it stays out of sight until there is room) and
// never a focus holder: typing goes on in the editor. Only the link row's address field
// takes the keyboard, and gives it back to the editor when the link is
// inserted or Escape closes the bar.
//
// Hidden until a non-empty selection settles; a new selection while shown
// moves it once that one settles. It closes when the selection becomes empty,
// a command is applied, the mouse is pressed outside it, the editor is hidden
// (Preview mode, a closed window) or destroyed.
class SelectionFormattingPopoverController : public QObject, public EditorFormattingPopover {
    Q_OBJECT
public:
    // How long a selection must stay unchanged before the bar shows.
    static constexpr int settleDelay = 150; // ms

    explicit SelectionFormattingPopoverController(QObject* parent = nullptr);
    ~SelectionFormattingPopoverController() override;

    void selectionChanged(MarkdownTextView* view, EditorText::Range selection) override;
    void close() override;
    void setTheme(const EditorTheme& theme) override;
    bool closeLinkField() override;

    bool isShown() const;
    // A presentation waits for the selection to settle.
    bool isPending() const { return m_settle.isActive(); }
    // The popover and the bar in it; they exist from the start, shown or not.
    PopoverFrame* popover() const { return m_frame; }
    SelectionFormattingBar* bar() const { return m_bar; }

    // The bar's commands on the editor's selection; each closes the bar.
    // Heading level 0 (Normal Text) removes the heading marker of every
    // selected line when the first one is a heading.
    void applyHeading(int level);
    void apply(SelectionFormattingBar::Command command);
    // "[selected text](address)" in place of the selection; with nothing
    // selected the caret goes after the "[" for the label.
    void confirmLink(const QString& url);

    // The address as the link gets it: "https://" in front unless it has a
    // scheme ("://", "mailto:") or is a fragment or path ("#", "/", ".").
    static QString normalizedURL(const QString& url);
    // The clipboard's text when it is one URL with a scheme, else empty.
    static QString detectClipboardURL();

private:
    void makePopover();
    void restyle();
    void present();
    void fitPopover();
    // The editor gets the keyboard back when the bar holds it.
    void takeFocusBack();
    void returnFocusToEditor();
    MarkdownTextView* editableView() const;

    QPointer<MarkdownTextView> m_view;
    EditorText::Range m_pending;
    QTimer m_settle;
    std::optional<EditorTheme> m_theme;
    AnchoredOverlay* m_overlay = nullptr;
    // Lives in the editor's window while shown, so the window may take it
    // along when it goes; made again when needed.
    QPointer<PopoverFrame> m_frame;
    QPointer<SelectionFormattingBar> m_bar;
};
