#pragma once

#include "shell/WorkspacePanes.h"

class EditorView;

// The panes of the application's document windows.
//
// Interim: until the preview pane (PreviewView with its ScrollSyncEngine) is
// in, the preview is an empty surface. Swapping it in touches only this class.
class StandardWorkspacePanes : public WorkspacePanes {
    Q_OBJECT
public:
    explicit StandardWorkspacePanes(QWidget* parent);
    ~StandardWorkspacePanes() override;

    QWidget* editor() const override;
    QWidget* preview() const override { return m_preview; }
    void setEditorText(const QString& text) override;
    void setPreviewMarkdown(const QString& markdown) override;
    void setDocumentDirectory(const QString& folder) override;
    void setScrollSyncEnabled(bool enabled) override;

    static WorkspacePaneFactory factory();

private:
    void restyle();

    EditorView* m_editor = nullptr;
    QWidget* m_preview = nullptr;
};
