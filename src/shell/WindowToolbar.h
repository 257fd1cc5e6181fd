#pragma once

#include <QToolBar>

class ModeSwitcher;
class QMenu;
class QToolButton;
class WindowCommands;

// A document window's toolbar: the mode switcher on the left; on the right
// Home, Command Palette, Find, "Share & Export" and Settings. Every control
// is a view of one of the window's shared commands.
class WindowToolbar : public QToolBar {
    Q_OBJECT
public:
    WindowToolbar(WindowCommands& commands, QWidget* parent = nullptr);

    ModeSwitcher* modeSwitcher() const { return m_switcher; }
    // Colours Find in the accent while the find bar is shown.
    void setFindBarPresented(bool presented);

    QToolButton* homeButton() const { return m_home; }
    QToolButton* paletteButton() const { return m_palette; }
    QToolButton* findButton() const { return m_find; }
    QToolButton* shareButton() const { return m_share; }
    QToolButton* settingsButton() const { return m_settings; }
    QMenu* shareMenu() const { return m_shareMenu; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QToolButton* addButton(QAction* action);
    void fillShareMenu();
    void retranslate();
    void restyle();

    WindowCommands& m_commands;
    ModeSwitcher* m_switcher = nullptr;
    QToolButton* m_home = nullptr;
    QToolButton* m_palette = nullptr;
    QToolButton* m_find = nullptr;
    QToolButton* m_share = nullptr;
    QToolButton* m_settings = nullptr;
    QMenu* m_shareMenu = nullptr;
    bool m_findBarPresented = false;
};
