#include "shell/FocusedTextCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

template <class Edit>
void followEdit(Edit* edit, QObject* receiver, const std::function<void()>& refresh,
                QMetaObject::Connection* connections) {
    connections[0] = QObject::connect(edit, &Edit::undoAvailable, receiver, refresh);
    connections[1] = QObject::connect(edit, &Edit::redoAvailable, receiver, refresh);
    connections[2] = QObject::connect(edit, &Edit::copyAvailable, receiver, refresh);
    // Select All follows the text; every check is constant time.
    connections[3] = QObject::connect(edit, &Edit::textChanged, receiver, refresh);
}

} // namespace

FocusedTextCommands::FocusedTextCommands(QWidget* window) : QObject(window), m_window(window) {
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusChanged(now); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &FocusedTextCommands::refresh);
    setTarget(TextEditing::target(window->focusWidget()));
}

void FocusedTextCommands::setAction(TextEditing::Command command, QAction* action) {
    m_actions[size_t(command)] = action;
    refresh();
}

void FocusedTextCommands::run(TextEditing::Command command) {
    TextEditing::run(m_target, command);
    refresh();
}

void FocusedTextCommands::focusChanged(QWidget* now) {
    // Focus in another window leaves this window's target as it was: it is
    // where the focus returns when this window is active again. The menu bar
    // takes the focus while its menus are used from the keyboard; their text
    // commands are for the text the user was in.
    if (now && now->window() == m_window && !qobject_cast<QMenuBar*>(now) &&
        !qobject_cast<QMenu*>(now))
        setTarget(TextEditing::target(now));
}

void FocusedTextCommands::setTarget(QWidget* target) {
    if (m_target == target)
        return;
    for (QMetaObject::Connection& c : m_targetConnections)
        disconnect(c);
    m_target = target;
    const std::function<void()> edited = [this] { refreshAllBut(TextEditing::Command::Paste); };
    if (auto* plain = qobject_cast<QPlainTextEdit*>(target)) {
        followEdit(plain, this, edited, m_targetConnections);
    } else if (auto* rich = qobject_cast<QTextEdit*>(target)) {
        followEdit(rich, this, edited, m_targetConnections);
    } else if (auto* line = qobject_cast<QLineEdit*>(target)) {
        m_targetConnections[0] = connect(line, &QLineEdit::textChanged, this, edited);
        m_targetConnections[1] = connect(line, &QLineEdit::selectionChanged, this, edited);
    }
    refresh();
}

void FocusedTextCommands::refresh() {
    refreshAllBut(std::nullopt);
}

void FocusedTextCommands::refreshAllBut(std::optional<TextEditing::Command> skipped) {
    for (size_t i = 0; i < m_actions.size(); ++i) {
        const auto command = TextEditing::Command(i);
        if (m_actions[i] && command != skipped)
            m_actions[i]->setEnabled(TextEditing::canRun(m_target, command));
    }
}
