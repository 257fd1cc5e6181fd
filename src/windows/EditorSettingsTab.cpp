#include "windows/EditorSettingsTab.h"

#include "core/L10n.h"
#include "core/Preferences.h"
#include "widgets/ThemedLabel.h"
#include "widgets/ToggleSwitch.h"
#include "windows/PreferenceBinding.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QSlider>

namespace {
constexpr int valueLabelWidth = 44;
} // namespace

EditorSettingsTab::EditorSettingsTab(QWidget* parent) : SettingsForm(formHeightValue, parent) {
    using namespace PreferenceKeys;
    SettingsSection* editor = addSection(L10n::mark("Editor"));
    m_systemFont = new ToggleSwitch;
    editor->addRow(L10n::mark("Use system monospace font"), m_systemFont);
    PreferenceBinding::bindSwitch(m_systemFont, useSystemFont);
    editor->addRow(L10n::mark("Font Size"),
                   sizeControl(editorFontSize, 10, 28, m_editorSize, m_editorLabel));

    SettingsSection* preview = addSection(L10n::mark("Preview"));
    preview->addRow(L10n::mark("Font Size"),
                    sizeControl(previewFontSize, 12, 24, m_previewSize, m_previewLabel));
}

QWidget* EditorSettingsTab::sizeControl(const char* key, int minimum, int maximum, QSlider*& slider,
                                        QLabel*& label) {
    auto* control = new QWidget;
    auto* row = new QHBoxLayout(control);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    slider = new QSlider(Qt::Horizontal, control);
    slider->setRange(minimum, maximum);
    slider->setSingleStep(1);
    slider->setPageStep(1);
    slider->setMinimumWidth(220);
    // The same width from 10 pt to 28 pt: the slider keeps its length.
    auto* value =
        new ThemedLabel(ThemeRoles::callout(), &DesignSystem::Colors::secondaryText, control);
    value->setFixedWidth(valueLabelWidth);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label = value;
    row->addWidget(slider, 1);
    row->addWidget(value);
    PreferenceBinding::bindSlider(slider, value, key);
    return control;
}

void EditorSettingsTab::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        m_editorLabel->setText(PreferenceBinding::pointsText(PreferenceKeys::editorFontSize));
        m_previewLabel->setText(PreferenceBinding::pointsText(PreferenceKeys::previewFontSize));
    }
    SettingsForm::changeEvent(event);
}
