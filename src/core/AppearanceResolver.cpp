#include "core/AppearanceResolver.h"

#include "core/Preferences.h"

AppearanceInputs AppearanceInputs::fromPreferences() {
    const Preferences& p = Preferences::shared();
    return {p.appearancePreference(), p.lightThemeChoice(), p.darkThemeChoice(),
            p.lightFontChoice(),      p.darkFontChoice(),   p.syncFonts()};
}

Appearance AppearanceResolver::appearance(const QString& raw) {
    return fromRawValue<Appearance>(raw).value_or(Appearance::System);
}

std::optional<ColorScheme> AppearanceResolver::forcedScheme(const AppearanceInputs& inputs) {
    switch (appearance(inputs.appearance)) {
    case Appearance::Light:
        return ColorScheme::Light;
    case Appearance::Dark:
        return ColorScheme::Dark;
    case Appearance::System:
        break;
    }
    return std::nullopt;
}

ColorScheme AppearanceResolver::resolvedScheme(const AppearanceInputs& inputs,
                                               ColorScheme system) {
    return forcedScheme(inputs).value_or(system);
}

FontDesign AppearanceResolver::fontDesign(FontChoice choice) {
    switch (choice) {
    case FontChoice::System:
        return FontDesign::Default;
    case FontChoice::Serif:
        return FontDesign::Serif;
    case FontChoice::Rounded:
        return FontDesign::Rounded;
    case FontChoice::Mono:
        return FontDesign::Monospaced;
    }
    return FontDesign::Default;
}

FontDesign AppearanceResolver::resolvedFontDesign(const AppearanceInputs& inputs,
                                                  ColorScheme scheme) {
    const FontChoice light = fromRawValue<FontChoice>(inputs.lightFont).value_or(FontChoice::Serif);
    if (inputs.syncFonts || scheme == ColorScheme::Light)
        return fontDesign(light);
    return fontDesign(fromRawValue<FontChoice>(inputs.darkFont).value_or(FontChoice::System));
}

const DesignSystem::Colors& AppearanceResolver::palette(const AppearanceInputs& inputs,
                                                        ColorScheme scheme) {
    if (scheme == ColorScheme::Dark) {
        switch (fromRawValue<DarkTheme>(inputs.darkTheme).value_or(DarkTheme::SleekPro)) {
        case DarkTheme::SleekPro:
            return DesignSystem::Colors::dark();
        case DarkTheme::Depth:
            return DesignSystem::Colors::depth();
        case DarkTheme::Ember:
            return DesignSystem::Colors::ember();
        }
        return DesignSystem::Colors::dark();
    }
    switch (fromRawValue<LightTheme>(inputs.lightTheme).value_or(LightTheme::WarmEditorial)) {
    case LightTheme::WarmEditorial:
        return DesignSystem::Colors::light();
    case LightTheme::Porcelain:
        return DesignSystem::Colors::porcelain();
    case LightTheme::Sage:
        return DesignSystem::Colors::sage();
    }
    return DesignSystem::Colors::light();
}

DesignSystem AppearanceResolver::designSystem(const AppearanceInputs& inputs, ColorScheme system) {
    const ColorScheme scheme = resolvedScheme(inputs, system);
    return DesignSystem::make(palette(inputs, scheme), resolvedFontDesign(inputs, scheme),
                              scheme == ColorScheme::Dark);
}
