#include "shell/WindowFront.h"

#include <QDialog>
#include <QWidget>

void WindowFront::bring(QWidget* window) {
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
    for (QDialog* question :
         window->findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (question->isVisible()) {
            question->raise();
            question->activateWindow();
        }
    }
}
