#pragma once

#include "core/DocumentSearchState.h"

#include <QColor>
#include <QList>

struct EditorTheme;

// How the editor paints find matches: a background over every match and one
// of its own over the current match, which stands at least 3:1 off the
// others with its text at 4.5:1, in a light or a dark pair chosen by the
// editor theme: dark under white text among pale matches, bright under dark
// text among dim ones. Only the matches in view are painted, so the work per
// repaint does not grow with the number of matches.
namespace EditorSearchHighlighter {

const QColor& lightMatch();
const QColor& lightCurrent();
const QColor& darkMatch();
const QColor& darkCurrent();

struct Colours {
    QColor match;
    QColor current; // opaque
    QColor currentText;
    // The marker of the pulse over a match found, under a dark ink.
    QColor pulse;
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
