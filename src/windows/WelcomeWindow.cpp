#include "windows/WelcomeWindow.h"

#include "core/L10n.h"
#include "shell/AppNotifications.h"
#include "shell/DocumentController.h"
#include "shell/DocumentOpener.h"
#include "shell/EscapeDispatcher.h"
#include "shell/SceneManager.h"
#include "shell/WindowCommands.h"
#include "shell/WindowMenuBar.h"
#include "windows/FeatureTourOverlayContainer.h"
#include "windows/RecentFilesSection.h"
#include "windows/WelcomeView.h"

#include <QAction>
#include <QEvent>
#include <QPointer>
#include <QShowEvent>
#include <QTimer>

WelcomeWindow::WelcomeWindow(DocumentController& controller, SceneManager& scenes,
                             RecentFilesStore& store, QWidget* parent)
    : QMainWindow(parent), m_controller(controller) {
    m_view = new WelcomeView(store, this);
    setCentralWidget(m_view);

    // The same menus as every window, built by the one builder. New and Open
    // dismiss the home window first; queued, so it hides before the new
    // window or the open dialog appears, and not inside the click that asked.
    ApplicationCommands application = ApplicationCommands::shared();
    application.newDocument = [this] { QTimer::singleShot(0, this, &WelcomeWindow::newDocument); };
    application.openDocument = [this] {
        QTimer::singleShot(0, this, &WelcomeWindow::openDocument);
    };
    // The quit still comes should this window go first.
    application.quit = [&controller] {
        QTimer::singleShot(0, &controller, [&controller] { controller.quit(); });
    };
    if (!application.showAbout)
        application.showAbout = [scenes = QPointer<SceneManager>(&scenes)] {
            if (scenes)
                scenes->showAboutWindow();
        };
    FocusedValues values;
    values.openWelcomeWindow = &WelcomeWindow::openWelcomeWindow;
    m_commands = new WindowCommands(this, values, application);
    setMenuBar(new WindowMenuBar(*m_commands, this));

    connect(m_view, &WelcomeView::newDocumentRequested, newAction(), &QAction::trigger);
    connect(m_view, &WelcomeView::openDocumentRequested, openAction(), &QAction::trigger);
    // Queued: a conversion question must not run inside the drop.
    connect(m_view, &WelcomeView::filesDropped, this, &WelcomeWindow::openDroppedFiles,
            Qt::QueuedConnection);
    connect(m_view, &WelcomeView::recentFileChosen, this, &WelcomeWindow::openRecentFile);
    // The tour shows over the home window as over every document window.
    new FeatureTourOverlayContainer(this, *new EscapeDispatcher(this));
    retranslate();
}

void WelcomeWindow::openWelcomeWindow() {
    AppNotifications::postShowWelcomeWindow();
}

void WelcomeWindow::newDocument() {
    AppNotifications::postDismissWelcomeWindow();
    m_controller.newDocument();
}

void WelcomeWindow::openDocument() {
    AppNotifications::postDismissWelcomeWindow();
    m_controller.openWithDialog(nullptr);
    // Cancelled, or nothing opened: with no document up, home comes back.
    if (m_controller.documentCount() == 0)
        AppNotifications::postShowWelcomeWindow();
}

void WelcomeWindow::openDroppedFiles(const QList<QUrl>& files) {
    QStringList paths;
    for (const QUrl& url : files)
        paths.append(url.toLocalFile());
    DocumentOpener::open(paths);
}

void WelcomeWindow::openRecentFile(const QUrl& url) {
    // A file that is gone or unreadable has been alerted; home comes back and
    // the entry stays until the user removes it.
    if (!DocumentOpener::open(url.toLocalFile()))
        AppNotifications::postShowWelcomeWindow();
}

void WelcomeWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void WelcomeWindow::showEvent(QShowEvent* event) {
    // Each time the window comes back it starts with the short list.
    if (!event->spontaneous())
        m_view->recentSection()->setShowsAll(false);
    QMainWindow::showEvent(event);
}

void WelcomeWindow::retranslate() {
    setWindowTitle(L10n::tr("quon"));
}

QAction* WelcomeWindow::newAction() const {
    return m_commands->newDocument;
}

QAction* WelcomeWindow::openAction() const {
    return m_commands->openDocument;
}

QAction* WelcomeWindow::aboutAction() const {
    return m_commands->about;
}
