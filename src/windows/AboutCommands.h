#pragma once

#include <QString>

class QAction;
class QObject;
class SceneManager;

// The "About quon" command: opens the about window, or brings the one that is
// already open to the front.
namespace AboutCommands {

QString title();
// The action's owner retranslates it with title().
QAction* makeAboutAction(SceneManager& scenes, QObject* parent);

} // namespace AboutCommands
