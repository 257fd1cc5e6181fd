#include "shell/CommandPalette.h"

QList<CommandPaletteAction> CommandPalette::filtered(const QList<CommandPaletteAction>& actions,
                                                     const QString& query) {
    const QString needle = query.trimmed().toLower();
    if (needle.isEmpty())
        return actions;
    QList<CommandPaletteAction> kept;
    for (const CommandPaletteAction& action : actions) {
        if (action.title.toLower().contains(needle) ||
            (action.subtitle && action.subtitle->toLower().contains(needle)) ||
            action.alsoMatches.toLower().contains(needle))
            kept.append(action);
    }
    return kept;
}

int CommandPalette::movedSelection(int selected, int step, int count) {
    if (count <= 0)
        return selected;
    // A highlight left beyond a list that shrank comes back in range too.
    return ((selected + step) % count + count) % count;
}
