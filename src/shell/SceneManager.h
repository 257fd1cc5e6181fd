#pragma once

#include "shell/FocusedValues.h"
#include "shell/WorkspaceView.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>

class DocumentController;

// The windows quon can show: the single welcome, settings and about windows
// and the document windows, at their sizes. The welcome window opens and
// closes on the application notifications, which this object observes for
// the whole process. Language and appearance reach every window through the
// process-wide localisation root and appearance service.
class SceneManager : public QObject {
    Q_OBJECT
public:
    using WindowFactory = std::function<QWidget*()>;

    static constexpr QSize welcomeSize{720, 560};
    static constexpr QSize documentSize{1200, 780};
    static constexpr QSize aboutSize{360, 420};

    // Gives the controller its document windows.
    explicit SceneManager(DocumentController& controller, QObject* parent = nullptr);
    ~SceneManager() override;

    void setWelcomeWindowFactory(WindowFactory factory) { m_welcomeFactory = std::move(factory); }
    void setSettingsWindowFactory(WindowFactory factory) { m_settingsFactory = std::move(factory); }
    void setAboutWindowFactory(WindowFactory factory) { m_aboutFactory = std::move(factory); }
    // What every document window shows over its content (the tour).
    void setDocumentOverlays(DocumentOverlays overlays) {
        m_documentOverlays = std::move(overlays);
    }

    // The shared application commands without those of windows that cannot
    // be shown (no factory): what every window's menus offer.
    ApplicationCommands applicationCommands() const;

    void showWelcomeWindow();
    void dismissWelcomeWindow();
    void showSettingsWindow();
    void showAboutWindow();

    // What a launch or a reopen with nothing to show brings up: the welcome
    // window; until there is one, an untitled document.
    void presentHome();

    QWidget* welcomeWindow() const { return m_welcome; }
    QWidget* settingsWindow() const { return m_settings; }
    QWidget* aboutWindow() const { return m_about; }

private:
    // Creates the window once (sized by size), then shows and raises it.
    QWidget* showSingle(QPointer<QWidget>& slot, const WindowFactory& factory,
                        const std::function<void(QWidget*)>& size);

    DocumentController& m_controller;
    WindowFactory m_welcomeFactory;
    WindowFactory m_settingsFactory;
    WindowFactory m_aboutFactory;
    DocumentOverlays m_documentOverlays;
    QPointer<QWidget> m_welcome;
    QPointer<QWidget> m_settings;
    QPointer<QWidget> m_about;
};
