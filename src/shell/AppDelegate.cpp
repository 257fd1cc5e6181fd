#include "shell/AppDelegate.h"

#include "core/AppLanguageManager.h"
#include "core/FeatureTourController.h"
#include "core/Preferences.h"
#include "shell/AppNotifications.h"
#include "shell/DocumentController.h"
#include "shell/DocumentOpener.h"
#include "shell/LaunchArguments.h"
#include "shell/SceneManager.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

AppDelegate::AppDelegate(DocumentController& controller, SceneManager& scenes, QObject* parent)
    : QObject(parent), m_controller(controller), m_scenes(scenes) {
    m_hooks.quitApplication = [] { QCoreApplication::quit(); };
    m_hooks.presentTour = [] { FeatureTourController::shared().present(); };
}

AppDelegate::~AppDelegate() {
    if (qApp)
        qApp->removeEventFilter(this);
}

void AppDelegate::applicationWillFinishLaunching() {
    AppLanguageManager::applySavedPreference();
    LocalizationRoot::install();
}

void AppDelegate::applicationDidFinishLaunching(const QStringList& arguments) {
    qApp->installEventFilter(this);
    connect(&m_controller, &DocumentController::documentWindowClosed, this,
            &AppDelegate::documentWindowWillClose);
    m_hooks.broadcastFinderMenu();
    m_hooks.registerExtension();
    // A timer of this delegate's own, which goes with it.
    auto* tourDelay = new QTimer(this);
    tourDelay->setSingleShot(true);
    tourDelay->setTimerType(Qt::PreciseTimer); // never early
    connect(tourDelay, &QTimer::timeout, this, &AppDelegate::launchTourStep);
    connect(tourDelay, &QTimer::timeout, tourDelay, &QObject::deleteLater);
    tourDelay->start(tourDelayMs);
    handleArguments(arguments, true);
}

void AppDelegate::handleForwardedArguments(const QStringList& arguments) {
    handleArguments(arguments, false);
}

void AppDelegate::handleArguments(const QStringList& arguments, bool atLaunch) {
    QStringList urls;
    QStringList files;
    for (const QString& argument : arguments)
        (LaunchArguments::isUrl(argument) ? urls : files).append(argument);
    const int requests = openUrls(urls, atLaunch);
    DocumentOpener::open(files);
    const bool nothingOnScreen = m_controller.documentCount() == 0 && visibleWindowCount() == 0;
    if (!atLaunch && files.isEmpty() && requests == 0)
        reopen();
    else if ((requests == 0 || !files.isEmpty()) && nothingOnScreen)
        // Nothing asked for, or nothing of it opened (alerted or declined):
        // home, never no window at all.
        m_scenes.presentHome();
    // A new-file request alone that ends with nothing on screen must not
    // leave quon running unseen.
    scheduleIdleCheck();
}

int AppDelegate::openUrls(const QStringList& rawUrls, bool atLaunch) {
    QStringList kept;
    for (const QString& url : rawUrls)
        if (isNewFileRequest(url))
            kept.append(url);
    if (kept.isEmpty())
        return 0;
    // Only a launch for a new file keeps the welcome window and tour away; a
    // running quon's windows stay as they are.
    if (atLaunch) {
        s_suppressWelcomeOnce = true;
        m_launchedForNewFile = true;
    }
    const QPointer<AppDelegate> self(this);
    for (const QString& url : kept) {
        const QWidget* home = m_scenes.welcomeWindow();
        const bool homeShown = home && home->isVisible();
        m_hooks.handleNewFileUrl(url, [self, homeShown] {
            if (self)
                self->newFileRequestEnded(homeShown);
        });
    }
    return static_cast<int>(kept.size());
}

void AppDelegate::newFileRequestEnded(bool homeWasShown) {
    // The home window made way for the question; it comes back. A quon
    // started for the request alone has nothing left to show and quits.
    if (homeWasShown)
        m_scenes.showWelcomeWindow();
    scheduleIdleCheck();
}

void AppDelegate::reopen() {
    if (visibleWindowCount() == 0) {
        m_scenes.presentHome();
        return;
    }
    QWidget* question = QApplication::activeModalWidget();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != question && window->isVisible() && window->windowType() != Qt::Popup &&
            window->windowType() != Qt::ToolTip) {
            window->raise();
            window->activateWindow();
        }
    }
    // A question up (it may have no parent to keep it above) comes last, on
    // top: under a window it blocks, quon would look frozen.
    if (question) {
        question->raise();
        question->activateWindow();
    }
}

bool AppDelegate::consumeSuppressWelcomeOnce() {
    const bool was = s_suppressWelcomeOnce;
    s_suppressWelcomeOnce = false;
    return was;
}

bool AppDelegate::isNewFileRequest(const QString& rawUrl) {
    const qsizetype colon = rawUrl.indexOf(QLatin1Char(':'));
    if (colon <= 0 || QStringView(rawUrl).left(colon) != QLatin1String("quon"))
        return false;
    QStringView rest = QStringView(rawUrl).mid(colon + 1);
    if (!rest.startsWith(QLatin1String("//")))
        return false;
    rest = rest.mid(2);
    qsizetype end = rest.size();
    for (QChar stop : {QLatin1Char('/'), QLatin1Char('?'), QLatin1Char('#')})
        if (const qsizetype at = rest.indexOf(stop); at >= 0 && at < end)
            end = at;
    QStringView host = rest.left(end);
    if (const qsizetype at = host.lastIndexOf(QLatin1Char('@')); at >= 0)
        host = host.mid(at + 1);
    if (const qsizetype at = host.indexOf(QLatin1Char(':')); at >= 0)
        host = host.left(at);
    return host == QLatin1String("new-file");
}

bool AppDelegate::shouldPresentTour(bool suppressWelcome, bool onboardingCompleted,
                                    bool showTourOnLaunch) {
    if (suppressWelcome)
        return false;
    return !onboardingCompleted || showTourOnLaunch;
}

bool AppDelegate::shouldShowWelcomeAfterLastWindow(int openDocuments,
                                                   std::optional<bool> showHome) {
    return openDocuments == 0 && showHome.value_or(true);
}

bool AppDelegate::shouldQuitWhenIdle(int visibleWindows, int openDocuments, bool dialogUp) {
    return visibleWindows == 0 && openDocuments == 0 && !dialogUp;
}

int AppDelegate::visibleWindowCount() {
    int count = 0;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (window->isVisible() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::Desktop)
            ++count;
    }
    return count;
}

void AppDelegate::launchTourStep() {
    const Preferences& prefs = Preferences::shared();
    // The home window may have used up the flag already; the launch was still
    // for a new file.
    if (shouldPresentTour(s_suppressWelcomeOnce || m_launchedForNewFile,
                          prefs.onboardingCompleted(), prefs.showFeatureTourOnLaunch()))
        m_hooks.presentTour();
    // Launch handling ends here; a later request must not find the flag set.
    s_suppressWelcomeOnce = false;
}

void AppDelegate::documentWindowWillClose() {
    // After the close in progress has been processed.
    QTimer::singleShot(0, this, &AppDelegate::lastWindowCheck);
}

void AppDelegate::lastWindowCheck() {
    if (m_controller.isQuitting())
        return;
    const auto showHome =
        Preferences::shared().storedBoolean(PreferenceKeys::showHomeAfterClosingLastWindow);
    if (shouldShowWelcomeAfterLastWindow(m_controller.documentCount(), showHome))
        AppNotifications::postShowWelcomeWindow();
    scheduleIdleCheck();
}

bool AppDelegate::eventFilter(QObject* watched, QEvent* event) {
    // Only a window the user closes says they may be done. Windows hidden on
    // the way to something else (home before a document or the open dialog,
    // a dialog after its answer) never do, and document windows end in the
    // last-window check.
    if (event->type() == QEvent::Close && watched->isWidgetType()) {
        const auto* window = static_cast<QWidget*>(watched);
        if (window->isWindow() && !qobject_cast<const QDialog*>(window) &&
            !m_controller.documentFor(window))
            scheduleIdleCheck();
    }
    return QObject::eventFilter(watched, event);
}

void AppDelegate::scheduleIdleCheck() {
    if (m_idleCheckPending)
        return;
    m_idleCheckPending = true;
    QTimer::singleShot(0, this, &AppDelegate::idleCheck);
}

void AppDelegate::idleCheck() {
    m_idleCheckPending = false;
    const bool dialogUp =
        QApplication::activeModalWidget() != nullptr || QGuiApplication::modalWindow() != nullptr;
    if (shouldQuitWhenIdle(visibleWindowCount(), m_controller.documentCount(), dialogUp))
        m_hooks.quitApplication();
}
