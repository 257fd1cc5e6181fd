#include "shell/WindowListMenu.h"

#include "shell/DocumentController.h"
#include "shell/MenuEntryTitle.h"
#include "shell/WindowFront.h"
#include "shell/WindowMenuBar.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

WindowListMenu::WindowListMenu(QMenu* menu, QWidget* owner, DocumentController& controller)
    : QObject(menu), m_menu(menu), m_owner(owner), m_controller(&controller) {
    m_separator = m_menu->addSeparator();
    // Made when the menu opens (or at once while it is open): a window
    // opened, closed or renamed would otherwise rebuild the list of every window.
    connect(&controller, &DocumentController::windowListChanged, this, [this] {
        m_stale = true;
        if (m_menu->isVisible())
            rebuildIfStale();
    });
    connect(m_menu, &QMenu::aboutToShow, this, &WindowListMenu::rebuildIfStale);
}

void WindowListMenu::attach(QWidget* window, DocumentController& controller) {
    auto* main = qobject_cast<QMainWindow*>(window);
    if (auto* menus = main ? qobject_cast<WindowMenuBar*>(main->menuWidget()) : nullptr)
        new WindowListMenu(menus->windowMenu(), window, controller);
}

QList<QAction*> WindowListMenu::entries() {
    rebuildIfStale();
    return m_entries;
}

void WindowListMenu::rebuildIfStale() {
    if (!m_stale)
        return;
    m_stale = false;
    // An entry may be mid-trigger: the old ones go on the next turn.
    for (QAction* entry : std::as_const(m_entries)) {
        m_menu->removeAction(entry);
        entry->deleteLater();
    }
    m_entries.clear();
    // The controller may be gone before the windows.
    const QList<MarkdownDocument*> documents =
        m_controller ? m_controller->documents() : QList<MarkdownDocument*>();
    for (MarkdownDocument* document : documents) {
        QWidget* window = m_controller->windowFor(document);
        auto* entry = new QAction(MenuEntryTitle::of(m_controller->displayName(document)), this);
        // Only the menu's own window carries a mark; the others no empty box.
        entry->setCheckable(window == m_owner);
        entry->setChecked(window == m_owner);
        connect(entry, &QAction::triggered, this,
                [this, entry, window = QPointer<QWidget>(window)] {
                    // The mark stays on this menu's own window.
                    entry->setChecked(window == m_owner);
                    if (window)
                        WindowFront::bring(window);
                });
        m_menu->addAction(entry);
        m_entries.append(entry);
    }
    m_separator->setVisible(!m_entries.isEmpty());
}
