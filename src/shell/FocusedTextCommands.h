#pragma once

#include "shell/TextEditing.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <optional>

class QAction;
class QWidget;

// Keeps a window's Undo, Redo, Cut, Copy, Paste and Select All actions on the
// text widget that has focus in that window: each is enabled exactly while
// it can act there, following focus, the widget's text and the clipboard.
class FocusedTextCommands : public QObject {
    Q_OBJECT
public:
    explicit FocusedTextCommands(QWidget* window);

    void setAction(TextEditing::Command command, QAction* action);
    void run(TextEditing::Command command);
    // The focused text widget of the window, or null; while the menu bar
    // or a menu has the focus, the one before.
    QWidget* target() const { return m_target; }
    void refresh();

private:
    // Typing changes what the text allows, never the clipboard, which can
    // be slow to ask: Paste follows focus and the clipboard only.
    void refreshAllBut(std::optional<TextEditing::Command> skipped);
    void focusChanged(QWidget* now);
    void setTarget(QWidget* target);

    QWidget* m_window;
    QPointer<QWidget> m_target;
    QMetaObject::Connection m_targetConnections[4];
    std::array<QAction*, 6> m_actions{};
};
