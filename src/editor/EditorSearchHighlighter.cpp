#include "editor/EditorSearchHighlighter.h"

#include "editor/EditorTheme.h"

#include <algorithm>

namespace EditorSearchHighlighter {

const QColor& lightMatch() {
    static const QColor c = QColor::fromRgbF(1.0f, 0.98f, 0.72f, 0.55f);
    return c;
}

const QColor& lightCurrent() {
    // Dark enough to stand 3:1 off the pale matches, under white text.
    static const QColor c = QColor::fromRgbF(0.66f, 0.33f, 0.0f, 1.0f);
    return c;
}

const QColor& darkMatch() {
    static const QColor c = QColor::fromRgbF(0.82f, 0.68f, 0.18f, 0.38f);
    return c;
}

const QColor& darkCurrent() {
    static const QColor c = QColor::fromRgbF(0.95f, 0.82f, 0.28f, 1.0f);
    return c;
}

Colours colours(const EditorTheme& theme) {
    if (isDarkTheme(theme))
        return {darkMatch(), darkCurrent(), theme.surface, darkCurrent()};
    static const QColor pulse = QColor::fromRgbF(1.0f, 0.94f, 0.45f);
    return {lightMatch(), lightCurrent(), QColor(Qt::white), pulse};
}

bool isPaintedQuery(const QString& query) {
    return !query.trimmed().isEmpty();
}

bool isInTextOrder(const QList<TextRange>& matches) {
    for (qsizetype i = 1; i < matches.size(); ++i)
        if (matches[i].location < matches[i - 1].location ||
            matches[i].end() < matches[i - 1].end())
            return false;
    return true;
}

QList<PaintedMatch> visibleMatches(const DocumentSearchState& state, bool inTextOrder,
                                   int textLength, int from, int to) {
    QList<PaintedMatch> out;
    const QList<TextRange>& matches = state.matches;
    qsizetype first = 0;
    if (inTextOrder)
        first = std::upper_bound(
                    matches.cbegin(), matches.cend(), qint64(from),
                    [](qint64 position, const TextRange& m) { return position < m.end(); }) -
                matches.cbegin();
    for (qsizetype i = first; i < matches.size(); ++i) {
        const TextRange& m = matches[i];
        if (inTextOrder && m.location >= to)
            break;
        if (m.length <= 0 || !m.liesWithin(textLength) || m.location >= to || m.end() <= from)
            continue;
        out.append({m, i == state.currentIndex});
    }
    return out;
}

} // namespace EditorSearchHighlighter
