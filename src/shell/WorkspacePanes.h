#pragma once

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

    // Text that comes from outside the editor (a reload, a preview checkbox):
    // applied as one undoable edit.
    virtual void setEditorText(const QString& text) = 0;
    // Only called while the preview is shown; a hidden preview catches up
    // when it is shown again.
    virtual void setPreviewMarkdown(const QString& markdown) = 0;
    // The folder relative image paths resolve against; empty when untitled.
    virtual void setDocumentDirectory(const QString& folder) = 0;
    // Split mode links both scroll views and aligns them; other modes unlink.
    virtual void setScrollSyncEnabled(bool enabled) = 0;
    // Escape for the editor's slash menu: closes it when shown (true).
    virtual bool closeSlashMenu() { return false; }
    // Escape for the formatting bar's link field: closes the bar when the
    // field is shown (true).
    virtual bool closeFormattingLinkField() { return false; }

Q_SIGNALS:
    // The user edited the text in the editor.
    void editorTextEdited(const QString& text);
    // The preview changed the source itself (a task checkbox).
    void previewSourceChanged(const QString& text);
    // "Find in Editor" from the preview's menu.
    void findInEditorRequested(const QString& text);
};

// Makes the panes of one window, their widgets parented to `parent`.
using WorkspacePaneFactory = std::function<WorkspacePanes*(QWidget* parent)>;
