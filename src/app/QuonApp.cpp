#include "app/QuonApp.h"

#include "common/AppIdentity.h"
#include "core/AppearanceService.h"
#include "core/FinderSharedSettings.h"
#include "core/RecentFilesStore.h"
#include "platform/AppIcon.h"
#include "platform/FinderExtensionManager.h"
#include "platform/FreedMemory.h"
#include "platform/SingleInstance.h"
#include "shell/AppDelegate.h"
#include "shell/DocumentController.h"
#include "shell/FinderNewFileService.h"
#include "shell/LaunchArguments.h"
#include "shell/SceneManager.h"
#include "windows/AboutWindow.h"
#include "windows/FeatureTourOverlayContainer.h"
#include "windows/SettingsWindow.h"
#include "windows/WelcomeWindow.h"

#include <QApplication>
#include <QDir>
#include <QSessionManager>
#include <QStyleFactory>
#include <cstdio>

int QuonApp::run(int argc, char** argv) {
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw.append(QString::fromLocal8Bit(argv[i]));
    const LaunchArguments::Reading reading = LaunchArguments::read(raw, QDir::currentPath());
    // Said here, by the process the user ran, whether it starts quon or hands over.
    for (const LaunchArguments::Refusal& refusal : reading.refused)
        std::fputs(LaunchArguments::refusalLine(refusal).toLocal8Bit().constData(), stderr);
    const QStringList& arguments = reading.taken;

    // Before the application object: a second quon connects to no display.
    SingleInstance instance(SingleInstance::defaultSocketPath());
    if (instance.forwardToRunningInstance(arguments))
        return 0;

    FreedMemory::returnLargeBlocksAtOnce();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quon"));
    QApplication::setOrganizationName(QStringLiteral("quon"));
    QApplication::setDesktopFileName(QStringLiteral(QUON_APP_ID));
    QApplication::setWindowIcon(AppIcon::icon());
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Quitting is the delegate's decision, dialogs and all.
    QApplication::setQuitOnLastWindowClosed(false);
    instance.listen();

    DocumentController& controller = DocumentController::shared();
    SceneManager scenes(controller);
    scenes.setWelcomeWindowFactory([&controller, &scenes] {
        return new WelcomeWindow(controller, scenes, RecentFilesStore::shared());
    });
    scenes.setAboutWindowFactory(
        [&scenes] { return new AboutWindow(scenes.applicationCommands()); });
    // The tour shows over every document window.
    scenes.setDocumentOverlays(&FeatureTourOverlayContainer::install);
    AppDelegate delegate(controller, scenes);
    delegate.hooks().broadcastFinderMenu = &FinderSharedSettings::broadcastFromApp;
    delegate.hooks().registerExtension = &FinderExtensionManager::registerIfNeeded;
    delegate.hooks().handleNewFileUrl = &FinderNewFileService::handle;
    scenes.setSettingsWindowFactory([&controller, &scenes] {
        return new SettingsWindow(SettingsServices::standard(controller),
                                  scenes.applicationCommands());
    });
    delegate.applicationWillFinishLaunching();
    AppearanceService::shared();

    QObject::connect(&instance, &SingleInstance::argumentsReceived, &delegate,
                     &AppDelegate::handleForwardedArguments);
    QObject::connect(&controller, &DocumentController::quitConfirmed, &app, &QApplication::quit);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &controller,
                     [&controller](QSessionManager& manager) {
                         if (manager.allowsInteraction()) {
                             if (!controller.reviewUnsavedDocuments())
                                 manager.cancel();
                             manager.release();
                         }
                     });

    delegate.applicationDidFinishLaunching(arguments);
    return app.exec();
}
