#pragma once

#include <QString>

// What a slide of the feature tour is about; it picks the slide's picture and
// is the slide's identity.
enum class FeatureTourSlideKind {
    Welcome,
    ViewModes,
    SlashCommands,
    CommandPalette,
    ThemesAndFocus,
    Ready
};

// One slide: its title and body, already in the interface language.
struct FeatureTourSlide {
    FeatureTourSlideKind kind;
    QString title;
    QString body;
};
