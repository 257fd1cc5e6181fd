#pragma once

#include "core/DocumentSearchState.h"

#include <QColor>
#include <QList>

struct EditorTheme;

// How the editor paints find matches: a background over every match, a
// stronger one over the current match, in a light or a dark pair chosen by
// the editor theme. Only the matches in view are painted, so the work per
// repaint does not grow with the number of matches.
namespace EditorSearchHighlighter {

const QColor& lightMatch();
const QColor& lightCurrent();
const QColor& darkMatch();
const QColor& darkCurrent();

struct Colours {
    QColor match;
    QColor current;
    // The text over the current match; invalid where the text keeps its own.
    QColor currentText;
};
// The dark pair for a dark theme, else the light pair. The dark pair's
// current match is too bright for a dark theme's light text: the text there
// takes the editor's background colour.
Colours colours(const EditorTheme& theme);

// Whether a query paints anything: not empty once white space and line
// breaks are trimmed.
bool isPaintedQuery(const QString& query);

// Whether the matches run in text order (starts and ends never going back),
// which lets the painter find the visible ones by bisection.
bool isInTextOrder(const QList<TextRange>& matches);

struct PaintedMatch {
    TextRange range;
    bool current = false;
    bool operator==(const PaintedMatch&) const = default;
};

// The matches of the state that overlap the positions [from, to) of a text
// of textLength units, in list order, the one at the current index marked.
// Matches that do not lie wholly within the text (negative, empty or past
// the end) are skipped. inTextOrder must be isInTextOrder(state.matches).
QList<PaintedMatch> visibleMatches(const DocumentSearchState& state, bool inTextOrder,
                                   int textLength, int from, int to);

} // namespace EditorSearchHighlighter
