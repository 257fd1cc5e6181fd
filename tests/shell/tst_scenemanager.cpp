#include "core/RecentFilesStore.h"
#include "shell/DocumentController.h"
#include "shell/SceneManager.h"
#include "shell/WindowCommands.h"
#include "support/ScriptedDialogs.h"
#include "windows/WelcomeWindow.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

class TestSceneManager : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The commands live on in the process-wide commands, in each window's
    // copy and in the controller: once their owner is gone they do nothing.
    void commandsOutliveTheSceneManager() {
        ScriptedDialogs::install();
        DocumentController controller;
        auto* scenes = new SceneManager(controller);
        const ApplicationCommands kept = scenes->applicationCommands();
        delete scenes;
        const ApplicationCommands& shared = ApplicationCommands::shared();
        for (const ApplicationCommands* commands : {&shared, &kept}) {
            commands->newDocument();
            commands->openRecentFile(QUrl::fromLocalFile(QStringLiteral("/nowhere.md")));
            commands->quit();
        }
        shared.showSettings();
        shared.showAbout();
        controller.newDocument(); // through the window factory it left
        QCOMPARE(controller.documentCount(), 0);
        QVERIFY(!controller.isQuitting());
    }

    // Quit chosen in the home window still comes once that window is gone.
    void quitFromAWelcomeWindowThatWentAway() {
        DocumentController controller;
        SceneManager scenes(controller);
        auto* welcome = new WelcomeWindow(controller, scenes, RecentFilesStore::shared());
        QSignalSpy quits(&controller, &DocumentController::quitConfirmed);
        welcome->findChild<WindowCommands*>()->quit->trigger();
        QCoreApplication::sendPostedEvents();
        delete welcome;
        QTRY_COMPARE(quits.size(), 1);
    }
};

QTEST_MAIN(TestSceneManager)
#include "tst_scenemanager.moc"
