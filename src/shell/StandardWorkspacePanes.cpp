#include "shell/StandardWorkspacePanes.h"

#include "core/AppearanceService.h"
#include "core/Preferences.h"
#include "editor/EditorText.h"
#include "editor/MarkdownSyntaxHighlighter.h"

#include <QPlainTextEdit>

namespace {

HighlightConfig highlightConfig() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    const double size = Preferences::shared().editorFontSize();
    HighlightConfig config;
    config.fontSize = size;
    config.theme = EditorTheme::from(ds);
    config.baseFont = DesignSystem::Typography::font(
        Preferences::shared().useSystemFont() ? FontDesign::Default : FontDesign::Monospaced, size);
    return config;
}

} // namespace

StandardWorkspacePanes::StandardWorkspacePanes(QWidget* parent) : WorkspacePanes(parent) {
    m_editor = new QPlainTextEdit(parent);
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->document()->setDocumentMargin(24);
    m_highlighter = new MarkdownSyntaxHighlighter(m_editor->document(), highlightConfig());
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_applying)
            Q_EMIT editorTextEdited(EditorText::text(m_editor->document()));
    });
    m_preview = new QWidget(parent);
    m_preview->setAutoFillBackground(true);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            &StandardWorkspacePanes::restyle);
    connect(&Preferences::shared(), &Preferences::changed, this, [this](const QString& key) {
        if (key == QLatin1String(PreferenceKeys::editorFontSize) ||
            key == QLatin1String(PreferenceKeys::useSystemFont))
            restyle();
    });
    restyle();
}

StandardWorkspacePanes::~StandardWorkspacePanes() = default;

QWidget* StandardWorkspacePanes::editor() const {
    return m_editor;
}

void StandardWorkspacePanes::setEditorText(const QString& text) {
    m_applying = true;
    if (!m_hasText) {
        // The first text starts the undo history.
        m_hasText = true;
        m_editor->setPlainText(text);
    } else {
        // One undo step that rewrites only what differs; the caret stays put.
        const int caret = m_editor->textCursor().position();
        const int end = qMin(caret, int(text.size()));
        EditorText::replace(m_editor, {0, EditorText::length(m_editor->document())}, text,
                            {end, end});
    }
    m_applying = false;
}

void StandardWorkspacePanes::setPreviewMarkdown(const QString&) {}

void StandardWorkspacePanes::setDocumentDirectory(const QString&) {}

void StandardWorkspacePanes::setScrollSyncEnabled(bool) {}

void StandardWorkspacePanes::restyle() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    const HighlightConfig config = highlightConfig();
    m_editor->setFont(config.baseFont);
    QPalette p = m_editor->palette();
    p.setColor(QPalette::Base, ds.colors.editorSurface);
    p.setColor(QPalette::Text, ds.colors.text);
    m_editor->setPalette(p);
    m_highlighter->setConfig(config);
    QPalette preview = m_preview->palette();
    preview.setColor(QPalette::Window, ds.colors.previewSurface);
    m_preview->setPalette(preview);
}

WorkspacePaneFactory StandardWorkspacePanes::factory() {
    return [](QWidget* parent) { return new StandardWorkspacePanes(parent); };
}
