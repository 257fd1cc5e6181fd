#pragma once

#include "shell/FocusedValues.h"
#include "windows/ExtensionsSettingsTab.h"
#include "windows/FilesSettingsTab.h"
#include "windows/GeneralSettingsTab.h"

#include <QMainWindow>

class AppearanceSettingsTab;
class DocumentController;
class EditorSettingsTab;
class QStackedWidget;
class QTabBar;
class WindowCommands;

// What the settings window's tabs need from the rest of the application.
struct SettingsServices {
    GeneralSettingsTab::Services general;
    FilesSettingsTab::Services files = FilesSettingsTab::Services::standard();
    ExtensionsSettingsTab::Services extensions = ExtensionsSettingsTab::Services::standard();

    // The real services: the one feature tour, and Clear & Quit through the
    // controller's quit.
    static SettingsServices standard(DocumentController& controller);
};

// The settings window: General, Editor, Appearance, Files and Extensions on
// a tab bar, 560 wide and as tall as the shown tab's form, under the menus
// every window carries.
class SettingsWindow : public QMainWindow {
    Q_OBJECT
public:
    enum Tab { General, Editor, Appearance, Files, Extensions };

    explicit SettingsWindow(SettingsServices services,
                            ApplicationCommands application = ApplicationCommands::shared(),
                            QWidget* parent = nullptr);

    QTabBar* tabBar() const { return m_tabBar; }
    Tab currentTab() const;
    void setCurrentTab(Tab tab);
    SettingsForm* form(Tab tab) const;
    GeneralSettingsTab* generalTab() const { return m_general; }
    EditorSettingsTab* editorTab() const { return m_editor; }
    AppearanceSettingsTab* appearanceTab() const { return m_appearance; }
    FilesSettingsTab* filesTab() const { return m_files; }
    ExtensionsSettingsTab* extensionsTab() const { return m_extensions; }
    WindowCommands& commands() const { return *m_commands; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void fitToCurrentTab();
    void retranslate();
    void restyle();

    QWidget* m_header = nullptr;
    QTabBar* m_tabBar = nullptr;
    QStackedWidget* m_stack = nullptr;
    GeneralSettingsTab* m_general = nullptr;
    EditorSettingsTab* m_editor = nullptr;
    AppearanceSettingsTab* m_appearance = nullptr;
    FilesSettingsTab* m_files = nullptr;
    ExtensionsSettingsTab* m_extensions = nullptr;
    WindowCommands* m_commands = nullptr;
};
