#pragma once

#include "core/TextRange.h"

#include <QList>
#include <QString>

// The find state of one window: the query, its matches in text order and the
// index of the current one. The find bar writes it; the editor only reads it.
struct DocumentSearchState {
    QString query;
    int currentIndex = 0;
    QList<TextRange> matches;

    bool hasCurrentMatch() const { return currentIndex >= 0 && currentIndex < matches.size(); }

    bool operator==(const DocumentSearchState&) const = default;
};
