#pragma once

#include "windows/SettingsForm.h"

#include <functional>

class ProgressButton;
class SettingsDialogs;
class SymbolLabel;
class ThemedLabel;

// The Files tab: whether quon opens Markdown files by default, and the button
// that makes it so. The status is asked again each time the tab is shown,
// at once after a successful change and once more 0.7 s later.
class FilesSettingsTab : public SettingsForm {
    Q_OBJECT
public:
    static constexpr int formHeightValue = 240;
    static constexpr int recheckDelayMs = 700;

    struct Services {
        // Answers from the event loop.
        std::function<void(std::function<void(bool)>)> isDefaultHandler;
        // Empty message on success.
        std::function<void(std::function<void(const QString& errorMessage)>)> setAsDefault;
        SettingsDialogs* dialogs = nullptr;

        static Services standard();
    };

    explicit FilesSettingsTab(Services services = Services::standard(), QWidget* parent = nullptr);

    bool isDefaultHandler() const { return m_isDefault; }
    bool isSettingDefault() const { return m_isSettingDefault; }
    ProgressButton* setDefaultButton() const { return m_button; }
    ThemedLabel* statusLabel() const { return m_status; }
    SymbolLabel* statusSymbol() const { return m_symbol; }

    // The alert's message: the error, a blank line and the tip.
    static QString errorMessage(const QString& error);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refreshStatus();
    void setAsDefaultHandler();
    void setDefault(bool isDefault);
    void updateState();

    Services m_services;
    bool m_isDefault = false;
    bool m_isSettingDefault = false;
    SymbolLabel* m_symbol = nullptr;
    ThemedLabel* m_status = nullptr;
    ProgressButton* m_button = nullptr;
};
