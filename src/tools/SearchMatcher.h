#pragma once

#include "core/TextRange.h"
#include "tools/TextChange.h"

#include <QList>
#include <QString>
#include <QStringView>

// Plain-text find: every non-overlapping case-insensitive occurrence of a
// query, from the start of the text on. Characters compare by their simple
// case folding, code unit by code unit (a surrogate pair by its code point),
// which finds what QString::indexOf(..., Qt::CaseInsensitive) finds, only
// several times faster: a query keystroke searches the whole text.
namespace SearchMatcher {

// The query as it is searched for: without white space and line breaks at
// either end. Empty means nothing is searched.
QString searchedQuery(const QString& query);

// The matches of a searched query, in text order.
QList<TextRange> findMatches(QStringView text, QStringView query);

// The matches after one change of the text, from the matches before it:
// the ones before the change are kept, the text around the change is
// searched again, and the ones after it are taken over moved once the
// search is back in step with them. The same result as findMatches over the
// new text, for work that grows with the change rather than the text.
QList<TextRange> matchesAfterChange(const QList<TextRange>& before, QStringView text,
                                    QStringView query, const TextChange& change);

} // namespace SearchMatcher
