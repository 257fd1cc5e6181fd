#include "core/FinderSharedSettings.h"

#include "common/AppIdentity.h"
#include "core/Preferences.h"
#include "platform/Logging.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QVariantMap>

bool FinderSharedSettings::showNewFile() {
    return Preferences::shared().finderMenuShowNewFile();
}

bool FinderSharedSettings::showNewMarkdownFile() {
    return Preferences::shared().finderMenuShowNewMarkdownFile();
}

void FinderSharedSettings::broadcastFromApp() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral(QUON_DBUS_PATH),
                                                     QStringLiteral(QUON_DBUS_INTERFACE),
                                                     QStringLiteral(QUON_FINDER_MENU_SIGNAL));
    signal << QVariantMap{
        {QStringLiteral(QUON_FINDER_MENU_SHOW_NEW_FILE_KEY), showNewFile()},
        {QStringLiteral(QUON_FINDER_MENU_SHOW_NEW_MARKDOWN_FILE_KEY), showNewMarkdownFile()},
    };
    if (!bus.send(signal))
        qCWarning(quonPlatform) << "the Files plug-in's settings were not sent:"
                                << bus.lastError().message();
}
