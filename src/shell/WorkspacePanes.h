#pragma once

#include "core/DocumentSearchState.h"
#include "core/TextSnapshot.h"

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

// A document window's editor and preview as the workspace drives them, with
// the scroll link between them. The workspace keeps both panes for the life
// of the window and only shows or hides them, so a mode switch keeps the
// editor's undo history, caret and scroll.
class WorkspacePanes : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual QWidget* editor() const = 0;
    virtual QWidget* preview() const = 0;

    // The document's text when the window opens.
    virtual void setEditorText(const QString& text) = 0;
    // An edit that comes from outside the editor (a reload, a preview
    // checkbox): applied as one undoable edit.
    virtual void editEditorText(int position, int removed, const QString& added) = 0;
    // Where the preview reads the document's text, when it parses.
    virtual void setPreviewSource(std::function<TextSnapshot()> source) = 0;
    // The text changed. Only called while the preview is shown; a hidden
    // preview catches up when it is shown again.
    virtual void previewTextChanged() = 0;
    // The folder relative image paths resolve against; empty when untitled.
    virtual void setDocumentDirectory(const QString& folder) = 0;
    // Split mode links both scroll views and aligns them; other modes unlink.
    virtual void setScrollSyncEnabled(bool enabled) = 0;
    // Escape for the editor's slash menu: closes it when shown (true).
    virtual bool closeSlashMenu() { return false; }
    // Escape for the formatting bar's link field: closes the bar when the
    // field is shown (true).
    virtual bool closeFormattingLinkField() { return false; }
    // Closes the editor's slash menu and formatting bar, which would float
    // over a window-wide overlay such as the command palette.
    virtual void closeEditorPopovers() {}

    // The window's find, for the editor to paint and reveal: the search
    // state, whether the find bar is shown, and the session, whose every new
    // id the editor answers with findSessionStarted.
    virtual void setSearchState(const DocumentSearchState& state) = 0;
    virtual void setFindActive(bool active) = 0;
    virtual void setFindSessionId(int id) = 0;

Q_SIGNALS:
    // The user edited the text in the editor: `removed` units at `position`
    // became `added` (line breaks as LF).
    void editorTextEdited(int position, int removed, const QString& added);
    // "Find in Document" from the editor.
    void findRequested();
    // The editor's answer to a new find session: its selected text of 1 to
    // 199 units, or "".
    void findSessionStarted(const QString& seed);
    // The preview changed the source itself (a task checkbox).
    void previewSourceChanged(const QString& text);
    // "Find in Editor" from the preview's menu.
    void findInEditorRequested(const QString& text);
};

// Makes the panes of one window, their widgets parented to `parent`.
using WorkspacePaneFactory = std::function<WorkspacePanes*(QWidget* parent)>;
