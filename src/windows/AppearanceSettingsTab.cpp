#include "windows/AppearanceSettingsTab.h"

#include "core/L10n.h"
#include "core/PreferenceEnums.h"
#include "core/Preferences.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/ThemedLabel.h"
#include "widgets/ToggleSwitch.h"
#include "windows/PreferenceBinding.h"
#include "windows/ThemePreviewCard.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>

namespace {

constexpr int gridColumns = 3;

// clang-format off
constexpr const char* schemeNote = L10n::mark("Choose a theme for each mode below. System follows Linux.");
constexpr const char* fontsNoteText = L10n::mark("Applies to preview headings and body text. Editor stays monospaced.");
// clang-format on

// What a card shows of its theme: its palette and whether its heading is serif.
struct ThemeLook {
    const DesignSystem::Colors& palette;
    bool usesSerif;
};

ThemeLook look(LightTheme theme) {
    switch (theme) {
    case LightTheme::WarmEditorial:
        return {DesignSystem::Colors::light(), true};
    case LightTheme::Porcelain:
        return {DesignSystem::Colors::porcelain(), false};
    case LightTheme::Sage:
        return {DesignSystem::Colors::sage(), false};
    }
    return {DesignSystem::Colors::light(), true};
}

ThemeLook look(DarkTheme theme) {
    switch (theme) {
    case DarkTheme::SleekPro:
        return {DesignSystem::Colors::dark(), false};
    case DarkTheme::Depth:
        return {DesignSystem::Colors::depth(), false};
    case DarkTheme::Ember:
        return {DesignSystem::Colors::ember(), true};
    }
    return {DesignSystem::Colors::dark(), false};
}

SegmentedPicker::Segment schemeSegment(Appearance value) {
    return {rawValue(value), [value] { return label(value); }};
}

} // namespace

AppearanceSettingsTab::AppearanceSettingsTab(QWidget* parent)
    : SettingsForm(formHeightValue, parent) {
    using namespace PreferenceKeys;
    SettingsSection* appearance = addSection(L10n::mark("Appearance"));
    m_scheme =
        new SegmentedPicker({schemeSegment(Appearance::Light), schemeSegment(Appearance::Dark),
                             schemeSegment(Appearance::System)});
    appearance->addRow(L10n::mark("Color scheme"), m_scheme);
    appearance->addNote(schemeNote);
    PreferenceBinding::bindSegments(m_scheme, appearancePreference);

    m_lightCards = addThemeSection<LightTheme>(L10n::mark("Light theme"), lightThemeChoice);
    m_darkCards = addThemeSection<DarkTheme>(L10n::mark("Dark theme"), darkThemeChoice);

    SettingsSection* fonts = addSection(L10n::mark("Fonts"));
    m_syncFonts = new ToggleSwitch;
    fonts->addRow(L10n::mark("Use one font for both themes"), m_syncFonts);
    PreferenceBinding::bindSwitch(m_syncFonts, syncFonts);
    m_lightFont = fontPicker(lightFontChoice);
    m_lightFontRow = fonts->addRow(L10n::mark("Light theme font"), m_lightFont);
    m_darkFont = fontPicker(darkFontChoice);
    m_darkFontRow = fonts->addRow(L10n::mark("Dark theme font"), m_darkFont);
    // Not on the dark font's row, which syncing hides.
    m_fontsNote = fonts->addNoteRow(fontsNoteText);
    // Synced, one picker edits the light choice; the dark one is kept, unseen.
    PreferenceBinding::follow(this, syncFonts, [this] {
        const bool synced = Preferences::shared().syncFonts();
        m_lightFontRow->setTitle(synced ? L10n::mark("Font") : L10n::mark("Light theme font"));
        m_darkFontRow->setVisible(!synced);
    });
}

template <typename Theme>
QList<ThemePreviewCard*> AppearanceSettingsTab::addThemeSection(const char* title,
                                                                const char* key) {
    SettingsSection* section = addSection(title);
    auto* grid = new QWidget;
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setHorizontalSpacing(10);
    layout->setVerticalSpacing(12);
    QList<ThemePreviewCard*> cards;
    const QString name = QString::fromLatin1(key);
    for (const auto& theme : PreferenceEnums::cases<Theme>()) {
        const ThemeLook themeLook = look(theme.value);
        auto* card = new ThemePreviewCard(theme.label, theme.subtitle, themeLook.palette,
                                          themeLook.usesSerif, grid);
        const int index = int(cards.size());
        // A card whose caption takes more lines makes the row taller; the
        // others keep to its top.
        layout->addWidget(card, index / gridColumns, index % gridColumns, Qt::AlignTop);
        const QString raw = QString::fromLatin1(theme.raw);
        // Only this scheme's choice: the colour scheme itself stays as it is.
        connect(card, &ThemePreviewCard::clicked, card,
                [name, raw] { Preferences::shared().setString(name, raw); });
        PreferenceBinding::follow(card, key, [card, name, raw] {
            card->setSelected(Preferences::shared().string(name) == raw);
        });
        cards.append(card);
    }
    for (int column = 0; column < gridColumns; ++column)
        layout->setColumnStretch(column, 1);
    section->addRow(grid);
    return cards;
}

QComboBox* AppearanceSettingsTab::fontPicker(const char* key) {
    auto* picker = new QComboBox;
    // Wide enough for its items in every language.
    picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const FontChoice choice : allCases<FontChoice>())
        picker->addItem(label(choice), rawValue(choice));
    PreferenceBinding::bindChoice(picker, key);
    return picker;
}

void AppearanceSettingsTab::retranslateFontPickers() {
    const QList<FontChoice> choices = allCases<FontChoice>();
    for (QComboBox* picker : {m_lightFont, m_darkFont})
        for (int i = 0; i < choices.size(); ++i)
            picker->setItemText(i, label(choices.at(i)));
}

void AppearanceSettingsTab::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslateFontPickers();
    SettingsForm::changeEvent(event);
}
