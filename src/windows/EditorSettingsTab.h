#pragma once

#include "windows/SettingsForm.h"

class QLabel;
class QSlider;
class ToggleSwitch;

// The Editor tab: the editor's font and font size, and the preview's font
// size. Every open document window follows each change at once.
class EditorSettingsTab : public SettingsForm {
    Q_OBJECT
public:
    static constexpr int formHeightValue = 280;

    explicit EditorSettingsTab(QWidget* parent = nullptr);

    ToggleSwitch* systemFontSwitch() const { return m_systemFont; }
    QSlider* editorSizeSlider() const { return m_editorSize; }
    QSlider* previewSizeSlider() const { return m_previewSize; }
    QLabel* editorSizeLabel() const { return m_editorLabel; }
    QLabel* previewSizeLabel() const { return m_previewLabel; }

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* sizeControl(const char* key, int minimum, int maximum, QSlider*& slider,
                         QLabel*& label);

    ToggleSwitch* m_systemFont = nullptr;
    QSlider* m_editorSize = nullptr;
    QSlider* m_previewSize = nullptr;
    QLabel* m_editorLabel = nullptr;
    QLabel* m_previewLabel = nullptr;
};
