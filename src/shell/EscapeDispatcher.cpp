#include "shell/EscapeDispatcher.h"

#include <QShortcut>
#include <QWidget>

EscapeDispatcher::EscapeDispatcher(QWidget* window) : QObject(window) {
    m_shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    m_shortcut->setContext(Qt::WindowShortcut);
    connect(m_shortcut, &QShortcut::activated, this, &EscapeDispatcher::dispatch);
}

void EscapeDispatcher::setHandler(Stage stage, std::function<bool()> handler) {
    m_handlers[size_t(stage)] = std::move(handler);
}

bool EscapeDispatcher::dispatch() {
    for (const auto& handler : m_handlers) {
        if (handler && handler())
            return true;
    }
    return false;
}
