#pragma once

#include "windows/SettingsForm.h"

class QComboBox;
class SegmentedPicker;
class ThemePreviewCard;
class ToggleSwitch;

// The Appearance tab: the colour scheme, a card per light and per dark theme
// (each drawn in its own palette), and the font of each scheme or one font
// for both. It only writes the preferences; every window restyles itself.
class AppearanceSettingsTab : public SettingsForm {
    Q_OBJECT
public:
    static constexpr int formHeightValue = 660;

    explicit AppearanceSettingsTab(QWidget* parent = nullptr);

    SegmentedPicker* schemePicker() const { return m_scheme; }
    QList<ThemePreviewCard*> lightCards() const { return m_lightCards; }
    QList<ThemePreviewCard*> darkCards() const { return m_darkCards; }
    ToggleSwitch* syncFontsSwitch() const { return m_syncFonts; }
    // "Font" while synced, else "Light theme font".
    QComboBox* lightFontPicker() const { return m_lightFont; }
    // Hidden while synced.
    QComboBox* darkFontPicker() const { return m_darkFont; }
    SettingsRow* lightFontRow() const { return m_lightFontRow; }
    SettingsRow* darkFontRow() const { return m_darkFontRow; }
    // "Applies to preview headings…", under the font pickers either way.
    ThemedLabel* fontsNote() const { return m_fontsNote; }

protected:
    void changeEvent(QEvent* event) override;

private:
    template <typename Theme>
    QList<ThemePreviewCard*> addThemeSection(const char* title, const char* key);
    QComboBox* fontPicker(const char* key);
    void retranslateFontPickers();

    SegmentedPicker* m_scheme = nullptr;
    QList<ThemePreviewCard*> m_lightCards;
    QList<ThemePreviewCard*> m_darkCards;
    ToggleSwitch* m_syncFonts = nullptr;
    QComboBox* m_lightFont = nullptr;
    QComboBox* m_darkFont = nullptr;
    SettingsRow* m_lightFontRow = nullptr;
    SettingsRow* m_darkFontRow = nullptr;
    ThemedLabel* m_fontsNote = nullptr;
};
