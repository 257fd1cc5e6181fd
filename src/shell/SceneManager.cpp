#include "shell/SceneManager.h"

#include "shell/AppDelegate.h"
#include "shell/AppNotifications.h"
#include "shell/DocumentController.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/WindowFront.h"
#include "shell/WindowListMenu.h"
#include "shell/WorkspaceView.h"

#include <QApplication>
#include <QWidget>

SceneManager::SceneManager(DocumentController& controller, QObject* parent)
    : QObject(parent), m_controller(controller) {
    // The commands outlive this object, in the process-wide commands, in
    // every window's copy and in the controller: once it is gone they do nothing.
    const QPointer<SceneManager> self(this);
    const auto guarded = [self](void (*run)(SceneManager&)) {
        return [self, run] {
            if (self)
                run(*self);
        };
    };
    ApplicationCommands& app = ApplicationCommands::shared();
    app.newDocument = guarded([](SceneManager& s) { s.m_controller.newDocument(); });
    app.openDocument = guarded(
        [](SceneManager& s) { s.m_controller.openWithDialog(QApplication::activeWindow()); });
    // Straight to the controller, which alerts when the file cannot be opened.
    app.openRecentFile = [self](const QUrl& url) {
        if (self)
            self->m_controller.open(url.toLocalFile());
    };
    app.quit = guarded([](SceneManager& s) { s.m_controller.quit(); });
    app.showSettings = guarded([](SceneManager& s) { s.showSettingsWindow(); });
    app.showAbout = guarded([](SceneManager& s) { s.showAboutWindow(); });
    app.showWelcomeWindow = &AppNotifications::postShowWelcomeWindow;

    m_controller.setWindowFactory(
        [self](MarkdownDocument& document, DocumentController& owner) -> QMainWindow* {
            if (!self)
                return nullptr;
            WorkspaceServices services;
            services.application = self->applicationCommands();
            services.panes = StandardWorkspacePanes::factory();
            services.saveDocument = [&owner, &document] { owner.save(&document); };
            services.saveDocumentAs = [&owner, &document] { owner.saveAs(&document); };
            services.duplicateDocument = [&owner, &document] { owner.duplicate(&document); };
            services.dismissWelcomeWindow = &AppNotifications::postDismissWelcomeWindow;
            services.overlays = self->m_documentOverlays;
            auto* window = new WorkspaceView(document, std::move(services));
            window->resize(documentSize);
            WindowListMenu::attach(window, owner);
            return window;
        });
    connect(&AppNotifications::shared(), &AppNotifications::showWelcomeWindow, this,
            &SceneManager::showWelcomeWindow);
    connect(&AppNotifications::shared(), &AppNotifications::dismissWelcomeWindow, this,
            &SceneManager::dismissWelcomeWindow);
}

SceneManager::~SceneManager() {
    delete m_welcome;
    delete m_settings;
    delete m_about;
}

ApplicationCommands SceneManager::applicationCommands() const {
    ApplicationCommands commands = ApplicationCommands::shared();
    // Windows that do not exist yet get no menu item.
    if (!m_settingsFactory)
        commands.showSettings = nullptr;
    if (!m_aboutFactory)
        commands.showAbout = nullptr;
    return commands;
}

QWidget* SceneManager::showSingle(QPointer<QWidget>& slot, const WindowFactory& factory,
                                  const std::function<void(QWidget*)>& size) {
    if (!slot) {
        if (!factory)
            return nullptr;
        slot = factory();
        size(slot);
        WindowListMenu::attach(slot, m_controller);
    }
    WindowFront::bring(slot);
    return slot;
}

void SceneManager::showWelcomeWindow() {
    // A new-file request at launch keeps the home window away.
    if (AppDelegate::consumeSuppressWelcomeOnce()) {
        dismissWelcomeWindow();
        return;
    }
    showSingle(m_welcome, m_welcomeFactory, [](QWidget* window) {
        // Grows freely, shrinks no further than its content allows.
        window->resize(welcomeSize);
        window->setMinimumSize(window->minimumSizeHint());
    });
}

void SceneManager::dismissWelcomeWindow() {
    if (m_welcome)
        m_welcome->hide();
}

void SceneManager::showSettingsWindow() {
    showSingle(m_settings, m_settingsFactory, [](QWidget*) {});
}

void SceneManager::showAboutWindow() {
    // Its content's size, and never less than the default.
    showSingle(m_about, m_aboutFactory, [](QWidget* window) {
        window->setFixedSize(window->sizeHint().expandedTo(aboutSize));
    });
}

void SceneManager::presentHome() {
    if (m_welcomeFactory)
        showWelcomeWindow();
    else
        m_controller.newDocument();
}
