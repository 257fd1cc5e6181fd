#include "shell/WindowListMenu.h"

#include "shell/DocumentController.h"
#include "shell/MenuEntryTitle.h"
#include "shell/WindowMenuBar.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

namespace {

void bringToFront(QWidget* window) {
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

WindowListMenu::WindowListMenu(QMenu* menu, QWidget* owner, DocumentController& controller)
    : QObject(menu), m_menu(menu), m_owner(owner), m_controller(controller) {
    m_separator = m_menu->addSeparator();
    connect(&controller, &DocumentController::windowListChanged, this, &WindowListMenu::rebuild);
    rebuild();
}

void WindowListMenu::attach(QWidget* window, DocumentController& controller) {
    auto* main = qobject_cast<QMainWindow*>(window);
    if (auto* menus = main ? qobject_cast<WindowMenuBar*>(main->menuWidget()) : nullptr)
        new WindowListMenu(menus->windowMenu(), window, controller);
}

void WindowListMenu::rebuild() {
    // An entry may be mid-trigger: the old ones go on the next turn.
    for (QAction* entry : std::as_const(m_entries)) {
        m_menu->removeAction(entry);
        entry->deleteLater();
    }
    m_entries.clear();
    for (MarkdownDocument* document : m_controller.documents()) {
        QWidget* window = m_controller.windowFor(document);
        auto* entry = new QAction(MenuEntryTitle::of(m_controller.displayName(document)), this);
        // Only the menu's own window carries a mark; the others no empty box.
        entry->setCheckable(window == m_owner);
        entry->setChecked(window == m_owner);
        connect(entry, &QAction::triggered, this,
                [this, entry, window = QPointer<QWidget>(window)] {
                    // The mark stays on this menu's own window.
                    entry->setChecked(window == m_owner);
                    if (window)
                        bringToFront(window);
                });
        m_menu->addAction(entry);
        m_entries.append(entry);
    }
    m_separator->setVisible(!m_entries.isEmpty());
}
