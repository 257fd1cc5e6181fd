#include "core/PreferenceEnums.h"

#include "core/L10n.h"

namespace PreferenceEnums {

template <> QList<EnumCase<ViewMode>> cases() {
    return {{ViewMode::Edit, "Edit", L10n::mark("Edit"), nullptr, nullptr},
            {ViewMode::Split, "Split", L10n::mark("Split"), nullptr, nullptr},
            {ViewMode::Preview, "Preview", L10n::mark("Preview"), nullptr, nullptr}};
}

template <> QList<EnumCase<Appearance>> cases() {
    return {{Appearance::Light, "light", L10n::mark("Light"), nullptr, nullptr},
            {Appearance::Dark, "dark", L10n::mark("Dark"), nullptr, nullptr},
            {Appearance::System, "system", L10n::mark("System"), nullptr, nullptr}};
}

template <> QList<EnumCase<LightTheme>> cases() {
    return {
        {LightTheme::WarmEditorial, "warmEditorial", L10n::mark("Warm Editorial"),
         L10n::mark("Cream, ink, warm orange"), nullptr},
        {LightTheme::Porcelain, "porcelain", L10n::mark("Porcelain"),
         L10n::mark("Cool white, indigo"), nullptr},
        {LightTheme::Sage, "sage", L10n::mark("Sage"), L10n::mark("Soft green paper"), nullptr}};
}

template <> QList<EnumCase<DarkTheme>> cases() {
    return {
        {DarkTheme::SleekPro, "sleekPro", L10n::mark("Sleek Pro"), L10n::mark("Graphite, violet"),
         nullptr},
        {DarkTheme::Depth, "depth", L10n::mark("Depth"), L10n::mark("Night navy, teal"), nullptr},
        {DarkTheme::Ember, "ember", L10n::mark("Ember"), L10n::mark("Warm black, amber"), nullptr}};
}

template <> QList<EnumCase<FontChoice>> cases() {
    return {{FontChoice::System, "system", L10n::mark("System", "font.choice.system"), nullptr,
             "font.choice.system"},
            {FontChoice::Serif, "serif", L10n::mark("Serif"), nullptr, nullptr},
            {FontChoice::Rounded, "rounded", L10n::mark("Rounded"), nullptr, nullptr},
            {FontChoice::Mono, "mono", L10n::mark("Monospace"), nullptr, nullptr}};
}

template <> QList<EnumCase<AppLanguage>> cases() {
    return {{AppLanguage::System, "system", nullptr, nullptr, nullptr},
            {AppLanguage::English, "en", nullptr, nullptr, nullptr},
            {AppLanguage::Polish, "pl", nullptr, nullptr, nullptr},
            {AppLanguage::Spanish, "es", nullptr, nullptr, nullptr}};
}

} // namespace PreferenceEnums

namespace {

template <typename E> QString lookup(E value, bool wantSubtitle) {
    for (const auto& c : PreferenceEnums::cases<E>()) {
        if (c.value != value)
            continue;
        const char* text = wantSubtitle ? c.subtitle : c.label;
        return text ? L10n::tr(text, wantSubtitle ? nullptr : c.disambiguation) : QString();
    }
    return {};
}

} // namespace

QString displayName(ViewMode mode) {
    return lookup(mode, false);
}
QString label(Appearance value) {
    return lookup(value, false);
}
QString label(LightTheme value) {
    return lookup(value, false);
}
QString label(DarkTheme value) {
    return lookup(value, false);
}
QString label(FontChoice value) {
    return lookup(value, false);
}
QString subtitle(LightTheme value) {
    return lookup(value, true);
}
QString subtitle(DarkTheme value) {
    return lookup(value, true);
}
