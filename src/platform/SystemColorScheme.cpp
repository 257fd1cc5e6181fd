#include "platform/SystemColorScheme.h"

#include "platform/Logging.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

// Read() wraps the value in one or two variants depending on the portal version.
QVariant unwrap(QVariant v) {
    while (v.canConvert<QDBusVariant>() && v.typeId() == qMetaTypeId<QDBusVariant>())
        v = v.value<QDBusVariant>().variant();
    return v;
}
} // namespace

SystemColorScheme& SystemColorScheme::shared() {
    static SystemColorScheme* instance = new SystemColorScheme();
    return *instance;
}

SystemColorScheme::SystemColorScheme() {
    refresh();
}

void SystemColorScheme::refresh() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (!m_connected) {
        m_connected = bus.connect(portalService, portalPath, settingsInterface,
                                  QStringLiteral("SettingChanged"), this,
                                  SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    }
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface,
                                                       QStringLiteral("Read"));
    call << appearanceGroup << colorSchemeKey;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusMessage reply = w->reply();
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            takePortalValue(reply.arguments().constFirst());
        // No portal at all is a desktop without one: light, as designed.
        else if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown"))
            qCDebug(quonPlatform) << "no desktop portal:" << reply.errorMessage();
        else
            qCWarning(quonPlatform)
                << "no colour scheme from the desktop portal:" << reply.errorMessage();
        w->deleteLater();
    });
}

void SystemColorScheme::onSettingChanged(const QString& group, const QString& key,
                                         const QDBusVariant& value) {
    if (group == appearanceGroup && key == colorSchemeKey)
        takePortalValue(value.variant());
}

void SystemColorScheme::takePortalValue(const QVariant& value) {
    const QVariant v = unwrap(value);
    bool ok = false;
    const uint scheme = v.toUInt(&ok);
    setDark(ok && scheme == 1);
}

void SystemColorScheme::setDark(bool dark) {
    if (dark == m_dark)
        return;
    m_dark = dark;
    Q_EMIT changed();
}
