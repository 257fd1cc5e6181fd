#include "windows/GeneralSettingsTab.h"

#include "core/AppDataResetService.h"
#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "core/PreferenceEnums.h"
#include "core/Preferences.h"
#include "shell/AppNotifications.h"
#include "widgets/FormButton.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/ThemedLabel.h"
#include "widgets/ToggleSwitch.h"
#include "windows/PreferenceBinding.h"
#include "windows/SettingsDialogs.h"

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QPushButton>
#include <QTimer>

namespace {

// clang-format off
constexpr const char* languageNote = L10n::mark("App language follows the Linux system language when set to System.");
constexpr const char* showHomeNote = L10n::mark("Opens the Welcome window when you close the last open document.");
constexpr const char* startsEmptyNote = L10n::mark("When off, new documents include a short Markdown sample showing the basics.");
constexpr const char* tourOnLaunchNote = L10n::mark("After the first tour, this is off by default. Turn it on to see the tour again each time you open quon.");
constexpr const char* clearDataNote = L10n::mark("Removes settings, recent files, and onboarding state. Your documents on disk are not affected.");
// clang-format on

QString systemLanguageLabel() {
    return L10n::tr("System", "language.choice.system");
}

// Each language in its own name, whatever the interface speaks.
const char* nativeLanguageName(AppLanguage language) {
    switch (language) {
    case AppLanguage::System:
        return nullptr;
    case AppLanguage::English:
        return "English";
    case AppLanguage::Polish:
        return "Polski";
    case AppLanguage::Spanish:
        return "Español";
    }
    return nullptr;
}

SegmentedPicker::Segment viewModeSegment(ViewMode mode) {
    return {rawValue(mode).toLower(), [mode] { return displayName(mode); }};
}

ToggleSwitch* addSwitch(SettingsSection* section, const char* title, const char* note,
                        const char* key) {
    auto* control = new ToggleSwitch;
    section->addRow(title, control);
    section->addNote(note);
    PreferenceBinding::bindSwitch(control, key);
    return control;
}

} // namespace

GeneralSettingsTab::GeneralSettingsTab(Services services, QWidget* parent)
    : SettingsForm(formHeightValue, parent), m_services(std::move(services)) {
    using namespace PreferenceKeys;
    SettingsSection* language = addSection(L10n::mark("Language"));
    m_language = new QComboBox;
    // Wide enough for its items in every language.
    m_language->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const AppLanguage choice : allCases<AppLanguage>()) {
        const char* name = nativeLanguageName(choice);
        m_language->addItem(name ? QString::fromUtf8(name) : systemLanguageLabel(),
                            rawValue(choice));
    }
    language->addRow(L10n::mark("App Language"), m_language);
    language->addNote(languageNote);
    PreferenceBinding::bindChoice(m_language, appLanguagePreference);

    SettingsSection* behavior = addSection(L10n::mark("Behavior"));
    m_viewMode =
        new SegmentedPicker({viewModeSegment(ViewMode::Edit), viewModeSegment(ViewMode::Split),
                             viewModeSegment(ViewMode::Preview)});
    behavior->addRow(L10n::mark("Default View Mode"), m_viewMode);
    PreferenceBinding::bindSegments(m_viewMode, defaultViewMode);
    m_showHome = addSwitch(behavior, L10n::mark("Show Home after closing last document"),
                           showHomeNote, showHomeAfterClosingLastWindow);
    m_startsEmpty = addSwitch(behavior, L10n::mark("New documents start empty"), startsEmptyNote,
                              newDocumentStartsEmpty);
    m_tourOnLaunch = addSwitch(behavior, L10n::mark("Show feature tour on launch"),
                               tourOnLaunchNote, showFeatureTourOnLaunch);
    m_showTour = new FormButton(L10n::mark("Show feature tour now"));
    behavior->addRow(m_showTour)->line()->addStretch(1);
    connect(m_showTour, &QPushButton::clicked, this, &GeneralSettingsTab::showFeatureTourNow);

    SettingsSection* data = addSection(L10n::mark("Data"));
    m_clearData = new FormButton(L10n::mark("Clear App Data…"));
    // A destructive action reads in red, light or dark.
    const auto redden = [this] {
        QPalette red = m_clearData->palette();
        red.setColor(QPalette::ButtonText, AppearanceService::shared().designSystem().isDark()
                                               ? QColor(0xff, 0x6b, 0x5e)
                                               : QColor(0xc4, 0x2b, 0x1c));
        m_clearData->setPalette(red);
    };
    redden();
    connect(&AppearanceService::shared(), &AppearanceService::changed, m_clearData, redden);
    data->addRow(m_clearData)->line()->addStretch(1);
    data->addNote(clearDataNote);
    connect(m_clearData, &QPushButton::clicked, this, &GeneralSettingsTab::clearAppData);

    retranslate();
}

void GeneralSettingsTab::showFeatureTourNow() {
    AppNotifications::postShowWelcomeWindow();
    // Not tied to this window: closing it meanwhile still starts the tour.
    const auto present = m_services.presentFeatureTour;
    QTimer::singleShot(tourDelayMs, qApp, [present] {
        if (present)
            present();
    });
}

void GeneralSettingsTab::clearAppData() {
    SettingsDialogs& dialogs =
        m_services.dialogs ? *m_services.dialogs : SettingsDialogs::standard();
    if (!dialogs.confirmClearAppData(window(), AppDataResetService::keptCopies()))
        return;
    // After the question has gone: the Save prompts of the documents follow.
    const auto clear = m_services.clearDataAndQuit;
    QTimer::singleShot(0, qApp, [clear] {
        if (clear)
            clear();
    });
}

void GeneralSettingsTab::retranslate() {
    // Texts change in place: no control is rebuilt, least of all the
    // language menu whose choice caused the change.
    m_language->setItemText(0, systemLanguageLabel());
}

void GeneralSettingsTab::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    SettingsForm::changeEvent(event);
}
