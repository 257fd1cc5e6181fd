#include "shell/AppNotifications.h"

AppNotifications& AppNotifications::shared() {
    static AppNotifications* instance = new AppNotifications();
    return *instance;
}

void AppNotifications::postShowWelcomeWindow() {
    Q_EMIT shared().showWelcomeWindow();
}

void AppNotifications::postDismissWelcomeWindow() {
    Q_EMIT shared().dismissWelcomeWindow();
}

void AppNotifications::post(const QString& name) {
    if (name == QLatin1String(showWelcomeWindowName))
        postShowWelcomeWindow();
    else if (name == QLatin1String(dismissWelcomeWindowName))
        postDismissWelcomeWindow();
}
