#pragma once

#include <QString>

// The one lookup of user-visible text: context "quon", the English text as key.
// Dotted keys ("font.choice.system") travel as the disambiguation.
// The translations test scans the sources for calls of tr, mark and plural
// with string literals and checks that both catalogues translate every one.
namespace L10n {

QString tr(const char* text, const char* disambiguation = nullptr);

// A count in the language's plural forms ("%n" is the count). The plural is
// the catalogue key, a message with numerus forms; English needs no
// catalogue: the singular serves for one, the plural for every other count.
QString plural(const char* singular, const char* pluralText, int count);

// Marks a literal kept in a table for a later L10n::tr call.
constexpr const char* mark(const char* text) {
    return text;
}
constexpr const char* mark(const char* text, const char* /*disambiguation*/) {
    return text;
}

inline constexpr char context[] = "quon";

} // namespace L10n
