#pragma once

#include "core/TextRange.h"

#include <QString>
#include <QStringList>
#include <array>

// The sections of the slash-command menu, in the order it shows them.
enum class SlashCommandCategory { Headings, Lists, Blocks, Inline, Media };

inline constexpr std::array<SlashCommandCategory, 5> allSlashCommandCategories{
    SlashCommandCategory::Headings, SlashCommandCategory::Lists, SlashCommandCategory::Blocks,
    SlashCommandCategory::Inline, SlashCommandCategory::Media};

// The section header, looked up on every call.
QString title(SlashCommandCategory category);

// One entry of the menu. Title and subtitle are already localised; the
// keywords are fixed English and Polish search words.
struct SlashCommand {
    QString id;
    SlashCommandCategory category = SlashCommandCategory::Headings;
    QString title;
    QString subtitle;
    QString systemImage;
    QStringList keywords;

    bool operator==(const SlashCommand&) const = default;
};

// A trigger found before the caret: the range from the "/" to the caret (in
// UTF-16 units of the editor text) and what was typed after the "/".
struct SlashCommandContext {
    TextRange triggerRange;
    QString query;

    bool operator==(const SlashCommandContext&) const = default;
};
