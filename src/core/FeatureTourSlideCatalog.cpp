#include "core/FeatureTourSlideCatalog.h"

#include "core/L10n.h"

const QList<FeatureTourSlide>& FeatureTourSlideCatalog::slides() {
    using K = FeatureTourSlideKind;
    // clang-format off
    static const QList<FeatureTourSlide> list = {
        {K::Welcome, L10n::tr("Welcome to quon"),
         L10n::tr("Beautiful Markdown for Linux. Write in Markdown, see it rendered instantly.")},
        {K::ViewModes, L10n::tr("Three ways to work"),
         L10n::tr("Edit, Split, or Preview — switch anytime from the toolbar or Ctrl+1, Ctrl+2, Ctrl+3.")},
        {K::SlashCommands, L10n::tr("Slash commands"),
         L10n::tr("Type / anywhere to insert headings, lists, tables, and more.")},
        {K::CommandPalette, L10n::tr("Command Palette"),
         L10n::tr("Press Ctrl+Shift+P to search actions, recent files, export, and settings.")},
        {K::ThemesAndFocus, L10n::tr("Themes & Focus"),
         L10n::tr("Six curated themes. Press Ctrl+Shift+. for distraction-free writing.")},
        {K::Ready, L10n::tr("Ready to write"),
         L10n::tr("You're set. Here are two quick tips to get the most out of quon.")},
    };
    // clang-format on
    return list;
}

int FeatureTourSlideCatalog::count() {
    return int(slides().size());
}
