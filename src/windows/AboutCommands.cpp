#include "windows/AboutCommands.h"

#include "core/L10n.h"
#include "shell/SceneManager.h"

#include <QAction>

QString AboutCommands::title() {
    return L10n::tr("About quon");
}

QAction* AboutCommands::makeAboutAction(SceneManager& scenes, QObject* parent) {
    auto* action = new QAction(title(), parent);
    action->setMenuRole(QAction::AboutRole);
    QObject::connect(action, &QAction::triggered, &scenes, &SceneManager::showAboutWindow);
    return action;
}
