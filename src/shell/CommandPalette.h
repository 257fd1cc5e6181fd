#pragma once

#include "shell/CommandPaletteAction.h"

#include <QList>

// What the command palette does with its list, apart from drawing it.
namespace CommandPalette {

// The actions whose title, subtitle or alsoMatches text contains the query
// (trimmed, compared in lower case), in their own order. A blank query keeps
// them all; ids and hints are never matched.
QList<CommandPaletteAction> filtered(const QList<CommandPaletteAction>& actions,
                                     const QString& query);

// The highlight after a step of -1 (Up) or +1 (Down) through `count` rows,
// wrapping round at both ends; unchanged when there are no rows.
int movedSelection(int selected, int step, int count);

} // namespace CommandPalette
