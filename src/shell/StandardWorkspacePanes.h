#pragma once

#include "shell/WorkspacePanes.h"

class MarkdownSyntaxHighlighter;
class QPlainTextEdit;

// The panes of the application's document windows.
//
// Interim: until the editor pane (EditorView) and the preview pane
// (PreviewView with its ScrollSyncEngine) are in, the editor is a plain text
// view coloured by the Markdown highlighter and the preview is an empty
// surface. Swapping them in touches only this class.
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

    QPlainTextEdit* m_editor = nullptr;
    QWidget* m_preview = nullptr;
    MarkdownSyntaxHighlighter* m_highlighter = nullptr;
    bool m_applying = false;
    bool m_hasText = false;
};
