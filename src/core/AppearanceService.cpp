#include "core/AppearanceService.h"

#include "core/Preferences.h"
#include "platform/SystemColorScheme.h"

#include <QApplication>
#include <QPalette>

namespace {
bool isAppearanceKey(const QString& key) {
    using namespace PreferenceKeys;
    return key == QLatin1String(appearancePreference) || key == QLatin1String(lightThemeChoice) ||
           key == QLatin1String(darkThemeChoice) || key == QLatin1String(lightFontChoice) ||
           key == QLatin1String(darkFontChoice) || key == QLatin1String(syncFonts);
}
} // namespace

AppearanceService& AppearanceService::shared() {
    static AppearanceService* instance = new AppearanceService();
    return *instance;
}

AppearanceService::AppearanceService() {
    connect(&Preferences::shared(), &Preferences::changed, this, [this](const QString& key) {
        if (!isAppearanceKey(key))
            return;
        // A switch to "system" must not keep a scheme detected long ago.
        if (key == QLatin1String(PreferenceKeys::appearancePreference))
            SystemColorScheme::shared().refresh();
        recompute();
    });
    connect(&SystemColorScheme::shared(), &SystemColorScheme::changed, this,
            &AppearanceService::recompute);
    recompute();
}

void AppearanceService::recompute() {
    const AppearanceInputs inputs = AppearanceInputs::fromPreferences();
    const ColorScheme system =
        SystemColorScheme::shared().isDark() ? ColorScheme::Dark : ColorScheme::Light;
    m_scheme = AppearanceResolver::resolvedScheme(inputs, system);
    m_designSystem = AppearanceResolver::designSystem(inputs, system);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setPalette(palette(m_designSystem));
    Q_EMIT changed();
}

QPalette AppearanceService::palette(const DesignSystem& ds) {
    const auto& c = ds.colors;
    QPalette p;
    p.setColor(QPalette::Window, c.background);
    p.setColor(QPalette::WindowText, c.text);
    p.setColor(QPalette::Base, c.editorSurface);
    p.setColor(QPalette::AlternateBase, c.chrome);
    p.setColor(QPalette::Text, c.text);
    p.setColor(QPalette::Button, c.chrome);
    p.setColor(QPalette::ButtonText, c.text);
    p.setColor(QPalette::BrightText, c.onAccent);
    p.setColor(QPalette::ToolTipBase, c.chrome);
    p.setColor(QPalette::ToolTipText, c.text);
    p.setColor(QPalette::PlaceholderText, c.mutedText);
    p.setColor(QPalette::Highlight, c.accent);
    p.setColor(QPalette::HighlightedText, c.onAccent);
    p.setColor(QPalette::Link, c.accent);
    p.setColor(QPalette::LinkVisited, c.accent);
    p.setColor(QPalette::Mid, c.divider);
    // Disabled text is muted and flat. Fusion etches it with Light drawn a
    // pixel below: the default white etch made disabled items of dark themes
    // look light and enabled, a transparent one leaves no trace.
    p.setColor(QPalette::Disabled, QPalette::Text, c.mutedText);
    p.setColor(QPalette::Disabled, QPalette::WindowText, c.mutedText);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, c.mutedText);
    p.setColor(QPalette::Disabled, QPalette::Light, QColor(Qt::transparent));
    return p;
}
