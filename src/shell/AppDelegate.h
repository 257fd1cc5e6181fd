#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

class DocumentController;
class SceneManager;

// What the application does around its windows: the language before any
// window, the arguments of a launch and of later `quon ...` calls, the
// "quon://new-file" requests, the feature tour after launch, the welcome
// window after the last document closes, and quitting once the user is done
// and nothing is left on screen (there is no dock to come back from): after
// they closed the last window, never after a cancelled dialog, a failed open
// or a Save prompt.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    // Launch steps whose services arrive later; each does nothing until set.
    struct Hooks {
        std::function<void()> broadcastFinderMenu = [] {};
        std::function<void()> registerExtension = [] {};
        std::function<void()> presentTour = [] {};
        // Serves a request; calls `ended` when it ends without a document window.
        std::function<void(const QString& rawUrl, std::function<void()> ended)> handleNewFileUrl =
            [](const QString&, const std::function<void()>&) {};
        std::function<void()> quitApplication;
    };

    static constexpr int tourDelayMs = 400;

    AppDelegate(DocumentController& controller, SceneManager& scenes, QObject* parent = nullptr);
    ~AppDelegate() override;

    Hooks& hooks() { return m_hooks; }

    // Applies the saved interface language; before the first window.
    void applicationWillFinishLaunching();
    // Watches windows, runs the launch steps and handles the launch arguments
    // (absolute paths and raw URLs).
    void applicationDidFinishLaunching(const QStringList& arguments);
    // The arguments of a later `quon ...`, handed over by the running instance.
    void handleForwardedArguments(const QStringList& arguments);
    // Keeps the new-file requests and hands them on; the number kept.
    int openUrls(const QStringList& rawUrls, bool atLaunch);
    // `quon` again with nothing to open.
    void reopen();

    // Set while a new-file request given at launch is served: no tour, no
    // welcome window. Cleared once launch handling ends.
    static bool suppressWelcomeOnce() { return s_suppressWelcomeOnce; }
    static void setSuppressWelcomeOnce(bool on) { s_suppressWelcomeOnce = on; }
    static bool consumeSuppressWelcomeOnce();

    // Scheme exactly "quon" and host exactly "new-file", read from the raw
    // text: QUrl would lower-case both.
    static bool isNewFileRequest(const QString& rawUrl);
    static bool shouldPresentTour(bool suppressWelcome, bool onboardingCompleted,
                                  bool showTourOnLaunch);
    // showHome is the stored "showHomeAfterClosingLastWindow" (none: absent
    // or not a Boolean).
    static bool shouldShowWelcomeAfterLastWindow(int openDocuments, std::optional<bool> showHome);
    static bool shouldQuitWhenIdle(int visibleWindows, int openDocuments, bool dialogUp);
    // Top-level windows on screen, menus and tool tips aside.
    static int visibleWindowCount();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handleArguments(const QStringList& arguments, bool atLaunch);
    void launchTourStep();
    void documentWindowWillClose();
    void lastWindowCheck();
    void newFileRequestEnded(bool homeWasShown);
    void scheduleIdleCheck();
    void idleCheck();

    static inline bool s_suppressWelcomeOnce = false;

    DocumentController& m_controller;
    SceneManager& m_scenes;
    Hooks m_hooks;
    bool m_idleCheckPending = false;
    // This process was started to serve a new-file request: no tour.
    bool m_launchedForNewFile = false;
};
