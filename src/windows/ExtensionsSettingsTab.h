#pragma once

#include "windows/SettingsForm.h"

#include <functional>

class FormButton;
class PlainButton;
class ProgressButton;
class SymbolLabel;
class ThemedLabel;
class ToggleSwitch;

// The Extensions tab, for the Files (Nautilus) plug-in: whether it is
// installed, installing it, restarting Files, which of its two menu items
// Files offers, and whether files created from Files open afterwards.
class ExtensionsSettingsTab : public SettingsForm {
    Q_OBJECT
public:
    static constexpr int formHeightValue = 500;
    static constexpr int firstRecheckMs = 500;
    static constexpr int secondRecheckMs = 1200;

    struct Services {
        std::function<bool()> isEnabled;
        std::function<bool()> isFileManagerInstalled;
        // Calls back from the event loop with whether the plug-in is in place.
        std::function<void(std::function<void(bool)>)> enable;
        std::function<void()> restartFileManager;
        // The command that installs the plug-in by hand, ready to copy.
        std::function<void(QWidget* parent)> showInstallCommand;
        // Sends both menu switches to the running plug-in.
        std::function<void()> broadcastMenuSettings;

        static Services standard();
    };

    explicit ExtensionsSettingsTab(Services services = Services::standard(),
                                   QWidget* parent = nullptr);

    bool isExtensionEnabled() const { return m_isEnabled; }
    bool isEnabling() const { return m_isEnabling; }
    SymbolLabel* statusSymbol() const { return m_symbol; }
    ThemedLabel* statusLabel() const { return m_status; }
    PlainButton* refreshButton() const { return m_refresh; }
    SettingsRow* enabledRow() const { return m_enabledRow; }
    SettingsRow* disabledRow() const { return m_disabledRow; }
    FormButton* restartButton() const { return m_restart; }
    ProgressButton* enableButton() const { return m_enable; }
    ThemedLabel* notInstalledNote() const { return m_notInstalled; }
    FormButton* installCommandButton() const { return m_installCommand; }
    ToggleSwitch* newFileSwitch() const { return m_newFile; }
    ToggleSwitch* newMarkdownFileSwitch() const { return m_newMarkdownFile; }
    ToggleSwitch* openCreatedSwitch() const { return m_openCreated; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refreshStatus();
    void enableExtension();
    void finishEnabling();
    void updateState();

    Services m_services;
    bool m_isEnabled = false;
    bool m_isEnabling = false;
    SymbolLabel* m_symbol = nullptr;
    ThemedLabel* m_status = nullptr;
    PlainButton* m_refresh = nullptr;
    SettingsRow* m_enabledRow = nullptr;
    SettingsRow* m_disabledRow = nullptr;
    FormButton* m_restart = nullptr;
    ProgressButton* m_enable = nullptr;
    ThemedLabel* m_notInstalled = nullptr;
    FormButton* m_installCommand = nullptr;
    ToggleSwitch* m_newFile = nullptr;
    ToggleSwitch* m_newMarkdownFile = nullptr;
    ToggleSwitch* m_openCreated = nullptr;
};
