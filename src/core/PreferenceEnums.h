#pragma once

#include <QList>
#include <QString>
#include <optional>

// The six enumerations of the user's choices. Raw values are what the
// preferences store; matching a raw value is exact and case-sensitive.
enum class ViewMode { Edit, Split, Preview };
enum class Appearance { Light, Dark, System };
enum class LightTheme { WarmEditorial, Porcelain, Sage };
enum class DarkTheme { SleekPro, Depth, Ember };
enum class FontChoice { System, Serif, Rounded, Mono };
enum class AppLanguage { System, English, Polish, Spanish };

template <typename E> struct EnumCase {
    E value;
    const char* raw;
    const char* label;          // English text, the lookup key
    const char* subtitle;       // may be null
    const char* disambiguation; // dotted key, may be null
};

namespace PreferenceEnums {
template <typename E> QList<EnumCase<E>> cases();
} // namespace PreferenceEnums

// allCases<E>() lists the cases in declaration order.
template <typename E> QList<E> allCases() {
    QList<E> out;
    for (const auto& c : PreferenceEnums::cases<E>())
        out.append(c.value);
    return out;
}

template <typename E> QString rawValue(E value) {
    for (const auto& c : PreferenceEnums::cases<E>())
        if (c.value == value)
            return QString::fromLatin1(c.raw);
    return {};
}

template <typename E> std::optional<E> fromRawValue(const QString& raw) {
    for (const auto& c : PreferenceEnums::cases<E>())
        if (raw == QLatin1String(c.raw))
            return c.value;
    return std::nullopt;
}

// Localised texts, looked up on every call so they follow a language change.
QString displayName(ViewMode mode);
QString label(Appearance value);
QString label(LightTheme value);
QString label(DarkTheme value);
QString label(FontChoice value);
QString subtitle(LightTheme value);
QString subtitle(DarkTheme value);
