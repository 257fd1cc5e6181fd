#pragma once

#include <QDBusVariant>
#include <QObject>

// The desktop's light or dark preference from the freedesktop settings portal
// ("org.freedesktop.appearance" / "color-scheme", 1 = dark). Asked without
// blocking; light until the portal answers, and light without a portal.
class SystemColorScheme : public QObject {
    Q_OBJECT
public:
    static SystemColorScheme& shared();

    bool isDark() const { return m_dark; }
    // Asks the portal again (the answer arrives later through changed()).
    void refresh();
    // For tests and for desktops that report the scheme another way.
    void setDark(bool dark);

Q_SIGNALS:
    void changed();

private Q_SLOTS:
    void onSettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    SystemColorScheme();
    void takePortalValue(const QVariant& value);

    bool m_dark = false;
    bool m_connected = false;
};
