#pragma once

#include <QObject>
#include <QPointer>

class DocumentController;
class QAction;
class QMenu;
class QWidget;

// The open document windows at the end of a window's Window menu, by title
// in the order they opened, the window the menu belongs to checked. Choosing
// one brings that window to the front. The list follows the document
// controller as windows open, close and change their titles, made again when
// the menu opens after a change.
class WindowListMenu : public QObject {
    Q_OBJECT
public:
    WindowListMenu(QMenu* menu, QWidget* owner, DocumentController& controller);

    // Puts a list on the Window menu of a window that carries the standard
    // menus; other windows are left as they are.
    static void attach(QWidget* window, DocumentController& controller);

    // The entries, one per document window, as the menu would show them now.
    QList<QAction*> entries();

private:
    void rebuildIfStale();

    QMenu* m_menu;
    QPointer<QWidget> m_owner;
    QPointer<DocumentController> m_controller;
    QAction* m_separator = nullptr;
    QList<QAction*> m_entries;
    bool m_stale = true;
};
