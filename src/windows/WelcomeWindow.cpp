#include "windows/WelcomeWindow.h"

#include "core/L10n.h"
#include "shell/AppNotifications.h"
#include "shell/DocumentController.h"
#include "shell/DocumentOpener.h"
#include "windows/AboutCommands.h"
#include "windows/WelcomeView.h"

#include <QAction>
#include <QEvent>
#include <QMenuBar>

WelcomeWindow::WelcomeWindow(DocumentController& controller, SceneManager& scenes,
                             RecentFilesStore& store, QWidget* parent)
    : QMainWindow(parent), m_controller(controller) {
    m_view = new WelcomeView(store, this);
    setCentralWidget(m_view);

    // Queued: the window hides before the new window or the open dialog
    // appears, and not from inside the click or key press that asked.
    m_fileMenu = menuBar()->addMenu(QString());
    m_new = m_fileMenu->addAction(QString());
    m_new->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(m_new, &QAction::triggered, this, &WelcomeWindow::newDocument, Qt::QueuedConnection);
    m_open = m_fileMenu->addAction(QString());
    m_open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(m_open, &QAction::triggered, this, &WelcomeWindow::openDocument, Qt::QueuedConnection);
    m_fileMenu->addSeparator();
    m_quit = m_fileMenu->addAction(QString());
    m_quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(
        m_quit, &QAction::triggered, &m_controller, [this] { m_controller.quit(); },
        Qt::QueuedConnection);
    m_helpMenu = menuBar()->addMenu(QString());
    m_about = AboutCommands::makeAboutAction(scenes, this);
    m_helpMenu->addAction(m_about);

    connect(m_view, &WelcomeView::newDocumentRequested, m_new, &QAction::trigger);
    connect(m_view, &WelcomeView::openDocumentRequested, m_open, &QAction::trigger);
    // Queued: a conversion question must not run inside the drop.
    connect(m_view, &WelcomeView::filesDropped, this, &WelcomeWindow::openDroppedFiles,
            Qt::QueuedConnection);
    connect(m_view, &WelcomeView::recentFileChosen, this, &WelcomeWindow::openRecentFile);
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

void WelcomeWindow::retranslate() {
    setWindowTitle(L10n::tr("quon"));
    m_fileMenu->setTitle(L10n::tr("File"));
    m_new->setText(L10n::tr("New"));
    m_open->setText(L10n::tr("Open…"));
    m_quit->setText(L10n::tr("Quit"));
    m_helpMenu->setTitle(L10n::tr("Help"));
    m_about->setText(AboutCommands::title());
}
