#pragma once

#include "core/DesignSystem.h"
#include "core/PreferenceEnums.h"

#include <optional>

enum class ColorScheme { Light, Dark };

// The six appearance preferences as stored.
struct AppearanceInputs {
    QString appearance = QStringLiteral("light");
    QString lightTheme = QStringLiteral("warmEditorial");
    QString darkTheme = QStringLiteral("sleekPro");
    QString lightFont = QStringLiteral("serif");
    QString darkFont = QStringLiteral("system");
    bool syncFonts = false;

    static AppearanceInputs fromPreferences();
};

// Turns the appearance preferences into the active design system.
namespace AppearanceResolver {

// Unrecognised values count as System.
Appearance appearance(const QString& raw);
ColorScheme resolvedScheme(const AppearanceInputs& inputs, ColorScheme system);
// The scheme a window is forced into, or none when it follows the system.
std::optional<ColorScheme> forcedScheme(const AppearanceInputs& inputs);
FontDesign fontDesign(FontChoice choice);
FontDesign resolvedFontDesign(const AppearanceInputs& inputs, ColorScheme scheme);
const DesignSystem::Colors& palette(const AppearanceInputs& inputs, ColorScheme scheme);
DesignSystem designSystem(const AppearanceInputs& inputs, ColorScheme system);

} // namespace AppearanceResolver
