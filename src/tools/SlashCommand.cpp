#include "tools/SlashCommand.h"

#include "core/L10n.h"

QString title(SlashCommandCategory category) {
    switch (category) {
    case SlashCommandCategory::Headings:
        return L10n::tr("Headings");
    case SlashCommandCategory::Lists:
        return L10n::tr("Lists");
    case SlashCommandCategory::Blocks:
        return L10n::tr("Blocks");
    case SlashCommandCategory::Inline:
        return L10n::tr("Inline");
    case SlashCommandCategory::Media:
        return L10n::tr("Media");
    }
    return {};
}
