#include "editor/EditorView.h"

#include "core/AppearanceService.h"
#include "core/Preferences.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"

#include <QFontDatabase>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QString menlo = QStringLiteral("Menlo");

double usableSize(double size) {
    constexpr double fallback = 14, largest = 288;
    if (!std::isfinite(size) || size <= 0)
        return fallback;
    return qMin(size, largest);
}

} // namespace

EditorView::EditorView(QWidget* parent) : QWidget(parent) {
    const Preferences& prefs = Preferences::shared();
    m_editor = new MarkdownTextEditor(configFor(AppearanceService::shared().designSystem(),
                                                prefs.editorFontSize(), prefs.useSystemFont()),
                                      this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);
    setFocusProxy(m_editor);

    connect(m_editor, &MarkdownTextEditor::textEdited, this, &EditorView::textEdited);
    connect(m_editor, &MarkdownTextEditor::scrollViewReady, this, &EditorView::scrollViewReady);
    connect(m_editor, &MarkdownTextEditor::findRequested, this, &EditorView::findRequested);
    connect(m_editor, &MarkdownTextEditor::findSessionStarted, this,
            &EditorView::findSessionStarted);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            &EditorView::reconfigure);
    connect(&Preferences::shared(), &Preferences::changed, this, [this](const QString& key) {
        if (key == QLatin1String(PreferenceKeys::editorFontSize) ||
            key == QLatin1String(PreferenceKeys::useSystemFont))
            reconfigure();
    });
    reconfigure();
}

MarkdownTextView* EditorView::textView() const {
    return m_editor->textView();
}

QAbstractScrollArea* EditorView::scrollView() const {
    return m_editor->scrollView();
}

QString EditorView::text() const {
    return m_editor->text();
}

void EditorView::setText(const QString& text) {
    m_editor->setText(text);
}

void EditorView::replaceText(int position, int removed, const QString& added) {
    m_editor->replaceText(position, removed, added);
}

void EditorView::setDocumentDirectory(const QString& directory) {
    m_editor->setDocumentDirectory(directory);
}

void EditorView::setSearchState(const DocumentSearchState& state) {
    m_editor->setSearchState(state);
}

void EditorView::setFindActive(bool active) {
    m_editor->setFindActive(active);
}

void EditorView::setFindSessionId(int id) {
    m_editor->setFindSessionId(id);
}

const HighlightConfig& EditorView::highlightConfig() const {
    return m_editor->highlightConfig();
}

QFont EditorView::editorFont(double size, bool useSystemFont) {
    QFont font = DesignSystem::Typography::font(FontDesign::Monospaced, usableSize(size));
    QStringList families = DesignSystem::Typography::families(FontDesign::Monospaced);
    if (useSystemFont) {
        const QString system = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
        if (!system.isEmpty() && !families.contains(system))
            families.prepend(system);
    } else if (QFontDatabase::families().contains(menlo, Qt::CaseInsensitive)) {
        families.prepend(menlo);
    }
    font.setFamilies(families);
    return font;
}

HighlightConfig EditorView::configFor(const DesignSystem& designSystem, double size,
                                      bool useSystemFont) {
    return {usableSize(size), EditorTheme::from(designSystem), editorFont(size, useSystemFont)};
}

void EditorView::reconfigure() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    const Preferences& prefs = Preferences::shared();
    m_surface = ds.colors.editorSurface;
    m_editor->setHighlightConfig(configFor(ds, prefs.editorFontSize(), prefs.useSystemFont()));
    update();
}

void EditorView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), m_surface);
}
