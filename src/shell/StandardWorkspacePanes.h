#pragma once

#include "shell/WorkspacePanes.h"

#include <QPointer>

class EditorView;
class PreviewView;
class QAbstractScrollArea;
class ScrollSyncEngine;

// The panes of the application's document windows: the editor, the preview
// and the window's scroll synchroniser between them.
class StandardWorkspacePanes : public WorkspacePanes {
    Q_OBJECT
public:
    explicit StandardWorkspacePanes(QWidget* parent);
    ~StandardWorkspacePanes() override;

    QWidget* editor() const override;
    QWidget* preview() const override;
    void setEditorText(const QString& text) override;
    void editEditorText(int position, int removed, const QString& added) override;
    void setPreviewSource(std::function<TextSnapshot()> source) override;
    void previewTextChanged() override;
    void setDocumentDirectory(const QString& folder) override;
    void setScrollSyncEnabled(bool enabled) override;
    bool closeSlashMenu() override;
    void setSearchState(const DocumentSearchState& state) override;
    void setFindActive(bool active) override;
    void setFindSessionId(int id) override;
    bool closeFormattingLinkField() override;
    void closeEditorPopovers() override;

    static WorkspacePaneFactory factory();

private:
    EditorView* m_editor = nullptr;
    PreviewView* m_preview = nullptr;
    ScrollSyncEngine* m_sync = nullptr;
    // As the panes reported them; linked again on every return to Split.
    QPointer<QAbstractScrollArea> m_editorScroll;
    QPointer<QAbstractScrollArea> m_previewScroll;
};
