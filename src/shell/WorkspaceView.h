#pragma once

#include "core/PreferenceEnums.h"
#include "shell/CommandPaletteAction.h"
#include "shell/FocusedValues.h"
#include "shell/WorkspacePanes.h"

#include <QMainWindow>
#include <QPointer>
#include <QUrl>

class CommandPaletteView;
class DocumentSearch;
class EscapeDispatcher;
class FindBarView;
class MarkdownDocument;
class OutsideChangeWatch;
class QSplitter;
class SnapshotFade;
class StatusBarView;
class TransitionSlot;
class WindowCommands;
class WindowMenuBar;
class WindowToolbar;
class WorkspaceAlerts;

// Puts on a document window what shows over every one (the tour), with the
// window's Escape dispatcher.
using DocumentOverlays = std::function<void(QWidget* window, EscapeDispatcher& escape)>;

// What a document window needs from the rest of the application.
struct WorkspaceServices {
    WorkspaceServices(); // standard alerts and application commands, no panes

    WorkspacePaneFactory panes;
    WorkspaceAlerts* alerts = nullptr;
    ApplicationCommands application;
    // The document controller's work on this window's document.
    std::function<void()> saveDocument;
    std::function<void()> saveDocumentAs;
    std::function<void()> duplicateDocument;
    // Posts "quon.dismissWelcomeWindow".
    std::function<void()> dismissWelcomeWindow;
    DocumentOverlays overlays;
};

// The window of one Markdown document: editor and preview in the Edit, Split
// or Preview layout, the toolbar, the status bar, the menus, focus mode and
// the outside-change prompt. The document belongs to the document controller;
// the window follows its text and file and writes edits back to it.
class WorkspaceView : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int minimumPaneWidth = 380;
    static constexpr int viewModeTransitionMs = 120;

    WorkspaceView(MarkdownDocument& document, WorkspaceServices services,
                  QWidget* parent = nullptr);
    ~WorkspaceView() override;

    MarkdownDocument& document() const { return m_document; }
    QUrl fileUrl() const { return m_fileUrl; }
    // The folder of the file; empty for a document never saved.
    QString documentDirectory() const;

    ViewMode viewMode() const { return m_mode; }
    // Switches at once; in a shown window the old panes fade out over the new.
    void setViewMode(ViewMode mode);
    bool isFocusMode() const { return m_focusMode; }
    void setFocusMode(bool on);
    bool isCommandPaletteOpen() const { return m_paletteOpen; }
    // Opens a new palette over the content (closing the editor's popovers),
    // or closes the open one.
    void setCommandPaletteOpen(bool open);
    // The open palette; null while closed (also while one fades out).
    CommandPaletteView* commandPalette() const;
    // The palette's list as the window stands now.
    QList<CommandPaletteAction> commandPaletteActions() const;
    bool isFindBarPresented() const;
    // Shows the find bar and starts a find session, seeded from the
    // editor's selection; Preview switches to Split.
    void openFindBar();
    // Opens the find bar searching for the text, trimmed ("Find in Editor"
    // from the preview); blank text does nothing.
    void findInEditor(const QString& text);
    // Hides the find bar and clears the search.
    void closeFindBar();
    DocumentSearch& search() const { return *m_search; }
    FindBarView* findBar() const { return m_findBar; }
    // Edit or Split, not in focus mode, not dismissed.
    bool showsSlashCommandsHint() const;

    // What the window publishes to its menus and toolbar.
    FocusedValues focusedValues();
    DocumentActions documentActions();

    WindowCommands& commands() const { return *m_commands; }
    WindowToolbar* toolbar() const { return m_toolbar; }
    WindowMenuBar* windowMenuBar() const { return m_menuBar; }
    StatusBarView* statusBarView() const { return m_status; }
    WorkspacePanes* panes() const { return m_panes; }
    OutsideChangeWatch& outsideChangeWatch() const { return *m_watch; }
    EscapeDispatcher& escapeDispatcher() const { return *m_escape; }
    // The find bar's place above the panes, and the slot the slash hint
    // fills below them.
    TransitionSlot* findBarSlot() const { return m_findSlot; }
    TransitionSlot* slashHintSlot() const { return m_hintSlot; }
    // The picture of the panes that fades out after a change of view mode.
    SnapshotFade* viewModeFade() const { return m_modeFade; }

Q_SIGNALS:
    void viewModeChanged(ViewMode mode);
    void focusModeChanged(bool on);
    void commandPaletteOpenChanged(bool open);
    void findBarPresentedChanged(bool presented);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The find bar, the panes, the slash hint and the status bar, top to bottom.
    void buildContent();
    // Each returns what goes in the column.
    QWidget* buildPanes(QWidget* central);
    QWidget* buildSlashHint(QWidget* central);
    // The commands, the menus and the toolbar.
    void buildChrome();
    void setUpEscape();
    void connectPanes();
    void connectFind();
    // Preferences, appearance and recent files.
    void connectApplication();
    void appear();
    void applyMode();
    void focusPaneForMode(bool editorWasShown);
    void fileUrlChanged();
    void documentTextEdited(qsizetype position, qsizetype removed, const QString& added);
    void editorTextEdited(int position, int removed, const QString& added);
    void pushPreview();
    void updateChrome();
    void restyle();
    // Closes the palette; Preview becomes Split.
    void showEditorForFind();
    void findBarPresented(bool presented);
    void searchStateChanged();
    void refreshCommandPalette();

    MarkdownDocument& m_document;
    WorkspaceServices m_services;
    QUrl m_fileUrl;
    ViewMode m_mode = ViewMode::Split;
    bool m_focusMode = false;
    bool m_paletteOpen = false;
    bool m_appeared = false;
    bool m_previewStale = true;
    // An edit the editor reported is being applied to the document.
    bool m_applyingEditorEdit = false;

    WorkspacePanes* m_panes = nullptr;
    QSplitter* m_splitter = nullptr;
    SnapshotFade* m_modeFade = nullptr;
    TransitionSlot* m_findSlot = nullptr;
    FindBarView* m_findBar = nullptr;
    DocumentSearch* m_search = nullptr;
    TransitionSlot* m_hintSlot = nullptr;
    StatusBarView* m_status = nullptr;
    WindowCommands* m_commands = nullptr;
    WindowMenuBar* m_menuBar = nullptr;
    WindowToolbar* m_toolbar = nullptr;
    OutsideChangeWatch* m_watch = nullptr;
    EscapeDispatcher* m_escape = nullptr;
    QPointer<CommandPaletteView> m_palette;
};
