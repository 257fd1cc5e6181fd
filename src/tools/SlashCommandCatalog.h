#pragma once

#include "tools/SlashCommand.h"

#include <QList>

// The twenty slash commands and the rule that narrows them to a query.
namespace SlashCommandCatalog {

// In menu order (the categories in their order). Built on first use in the
// language of that moment and kept for the life of the process.
const QList<SlashCommand>& all();

// The commands a query keeps, in catalog order, unranked. A blank query keeps
// all. Otherwise, compared in lower case, a command stays when its id and the
// query start one another, its title or subtitle contains the query, or one
// of its keywords and the query start or contain one another (so the
// one-letter keywords match every query holding that letter).
QList<SlashCommand> filtered(const QString& query);

} // namespace SlashCommandCatalog
