#pragma once

#include "windows/SettingsForm.h"

#include <functional>

class QComboBox;
class QPushButton;
class SegmentedPicker;
class SettingsDialogs;
class ToggleSwitch;

// The General tab: interface language, default view mode, the switches of
// the home window, new documents and the tour, "Show feature tour now" and
// "Clear App Data…".
class GeneralSettingsTab : public SettingsForm {
    Q_OBJECT
public:
    static constexpr int formHeightValue = 520;
    static constexpr int tourDelayMs = 250;

    struct Services {
        // Starts the feature tour at its first slide in every window.
        std::function<void()> presentFeatureTour;
        // Closes every document (each through its own Save prompt), then
        // wipes the application's data and quits; nothing when cancelled.
        std::function<void()> clearDataAndQuit;
        SettingsDialogs* dialogs = nullptr;
    };

    explicit GeneralSettingsTab(Services services, QWidget* parent = nullptr);

    QComboBox* languagePicker() const { return m_language; }
    SegmentedPicker* viewModePicker() const { return m_viewMode; }
    ToggleSwitch* showHomeSwitch() const { return m_showHome; }
    ToggleSwitch* startsEmptySwitch() const { return m_startsEmpty; }
    ToggleSwitch* tourOnLaunchSwitch() const { return m_tourOnLaunch; }
    QPushButton* showTourButton() const { return m_showTour; }
    QPushButton* clearDataButton() const { return m_clearData; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void showFeatureTourNow();
    void clearAppData();
    void retranslate();

    Services m_services;
    QComboBox* m_language = nullptr;
    SegmentedPicker* m_viewMode = nullptr;
    ToggleSwitch* m_showHome = nullptr;
    ToggleSwitch* m_startsEmpty = nullptr;
    ToggleSwitch* m_tourOnLaunch = nullptr;
    QPushButton* m_showTour = nullptr;
    QPushButton* m_clearData = nullptr;
};
