#pragma once

#include <QMenuBar>

class OpenRecentMenu;
class WindowCommands;

// The menu bar of one window, built from that window's commands: every
// window gets the same menus, and an item is enabled exactly when the value
// its command calls is present in that window.
class WindowMenuBar : public QMenuBar {
    Q_OBJECT
public:
    WindowMenuBar(WindowCommands& commands, QWidget* parent = nullptr);

    QMenu* fileMenu() const { return m_file; }
    // Null when the application opens no recent files.
    OpenRecentMenu* openRecentMenu() const { return m_recent; }
    QMenu* editMenu() const { return m_edit; }
    QMenu* viewMenu() const { return m_view; }
    QMenu* windowMenu() const { return m_window; }
    QMenu* helpMenu() const { return m_help; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    WindowCommands& m_commands;
    QMenu* m_file = nullptr;
    OpenRecentMenu* m_recent = nullptr;
    QMenu* m_edit = nullptr;
    QMenu* m_view = nullptr;
    QMenu* m_window = nullptr;
    QMenu* m_help = nullptr;
};
