#pragma once

#include <QObject>

// The application-wide notifications that show and dismiss the welcome window.
// Anyone may post them; the scene manager, which outlives the welcome window,
// observes them.
class AppNotifications : public QObject {
    Q_OBJECT
public:
    static constexpr char showWelcomeWindowName[] = "quon.showWelcomeWindow";
    static constexpr char dismissWelcomeWindowName[] = "quon.dismissWelcomeWindow";

    static AppNotifications& shared();

    static void postShowWelcomeWindow();
    static void postDismissWelcomeWindow();
    // Posts by name; unknown names are ignored.
    static void post(const QString& name);

Q_SIGNALS:
    void showWelcomeWindow();
    void dismissWelcomeWindow();

private:
    AppNotifications() = default;
};
