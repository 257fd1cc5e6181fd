#include "shell/StandardWorkspacePanes.h"

#include "editor/EditorPopovers.h"
#include "editor/EditorView.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "preview/PreviewView.h"
#include "preview/ScrollSyncEngine.h"
#include "tools/EditorToolPopovers.h"

#include <QAbstractScrollArea>

StandardWorkspacePanes::StandardWorkspacePanes(QWidget* parent) : WorkspacePanes(parent) {
    m_editor = new EditorView(parent);
    EditorToolPopovers::attach(m_editor->editor());
    m_preview = new PreviewView(parent);
    m_sync = new ScrollSyncEngine(this);
    m_preview->setScrollSync(m_sync);
    connect(m_editor, &EditorView::textEdited, this, &WorkspacePanes::editorTextEdited);
    connect(m_editor, &EditorView::findRequested, this, &WorkspacePanes::findRequested);
    connect(m_editor, &EditorView::findSessionStarted, this, &WorkspacePanes::findSessionStarted);
    connect(m_preview, &PreviewView::sourceChanged, this, &WorkspacePanes::previewSourceChanged);
    connect(m_preview, &PreviewView::findInEditor, this, &WorkspacePanes::findInEditorRequested);
    connect(m_editor, &EditorView::scrollViewReady, this, [this](QAbstractScrollArea* area) {
        m_editorScroll = area;
        m_sync->linkEditor(area);
    });
    connect(m_preview, &PreviewView::scrollViewReady, this, [this](QAbstractScrollArea* area) {
        m_previewScroll = area;
        m_sync->linkPreview(area);
    });
}

StandardWorkspacePanes::~StandardWorkspacePanes() = default;

QWidget* StandardWorkspacePanes::editor() const {
    return m_editor;
}

QWidget* StandardWorkspacePanes::preview() const {
    return m_preview;
}

void StandardWorkspacePanes::setEditorText(const QString& text) {
    m_editor->setText(text);
}

void StandardWorkspacePanes::editEditorText(int position, int removed, const QString& added) {
    // One undoable edit that keeps caret and scroll.
    m_editor->replaceText(position, removed, added);
}

void StandardWorkspacePanes::setPreviewSource(std::function<TextSnapshot()> source) {
    m_preview->setMarkdownSource(std::move(source));
}

void StandardWorkspacePanes::previewTextChanged() {
    m_preview->markdownSourceChanged();
}

void StandardWorkspacePanes::setDocumentDirectory(const QString& folder) {
    m_editor->setDocumentDirectory(folder);
    m_preview->setDocumentDirectory(folder);
}

void StandardWorkspacePanes::setScrollSyncEnabled(bool enabled) {
    // Disabling forgets both scroll views; the panes stay, so entering Split
    // again links them again, which puts both at the top.
    m_sync->setEnabled(enabled);
    if (!enabled)
        return;
    if (m_editorScroll)
        m_sync->linkEditor(m_editorScroll);
    if (m_previewScroll)
        m_sync->linkPreview(m_previewScroll);
}

bool StandardWorkspacePanes::closeSlashMenu() {
    EditorSlashPopover* menu = m_editor->textView()->slashPopover();
    if (!menu || !menu->isShown())
        return false;
    menu->close();
    return true;
}

void StandardWorkspacePanes::setSearchState(const DocumentSearchState& state) {
    m_editor->setSearchState(state);
}

void StandardWorkspacePanes::setFindActive(bool active) {
    m_editor->setFindActive(active);
}

void StandardWorkspacePanes::setFindSessionId(int id) {
    m_editor->setFindSessionId(id);
}

bool StandardWorkspacePanes::closeFormattingLinkField() {
    EditorFormattingPopover* bar = m_editor->editor()->formattingPopover();
    return bar && bar->closeLinkField();
}

void StandardWorkspacePanes::closeEditorPopovers() {
    closeSlashMenu();
    if (EditorFormattingPopover* bar = m_editor->editor()->formattingPopover())
        bar->close();
}

WorkspacePaneFactory StandardWorkspacePanes::factory() {
    return [](QWidget* parent) { return new StandardWorkspacePanes(parent); };
}
