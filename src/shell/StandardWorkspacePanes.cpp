#include "shell/StandardWorkspacePanes.h"

#include "core/AppearanceService.h"
#include "editor/EditorView.h"

StandardWorkspacePanes::StandardWorkspacePanes(QWidget* parent) : WorkspacePanes(parent) {
    m_editor = new EditorView(parent);
    connect(m_editor, &EditorView::textEdited, this, &WorkspacePanes::editorTextEdited);
    m_preview = new QWidget(parent);
    m_preview->setAutoFillBackground(true);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            &StandardWorkspacePanes::restyle);
    restyle();
}

StandardWorkspacePanes::~StandardWorkspacePanes() = default;

QWidget* StandardWorkspacePanes::editor() const {
    return m_editor;
}

void StandardWorkspacePanes::setEditorText(const QString& text) {
    // The editor applies it as one undoable edit that keeps caret and scroll.
    m_editor->setText(text);
}

void StandardWorkspacePanes::setPreviewMarkdown(const QString&) {}

void StandardWorkspacePanes::setDocumentDirectory(const QString& folder) {
    m_editor->setDocumentDirectory(folder);
}

void StandardWorkspacePanes::setScrollSyncEnabled(bool) {}

void StandardWorkspacePanes::restyle() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    QPalette preview = m_preview->palette();
    preview.setColor(QPalette::Window, ds.colors.previewSurface);
    m_preview->setPalette(preview);
}

WorkspacePaneFactory StandardWorkspacePanes::factory() {
    return [](QWidget* parent) { return new StandardWorkspacePanes(parent); };
}
