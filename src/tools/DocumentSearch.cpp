#include "tools/DocumentSearch.h"

#include "tools/SearchMatcher.h"

#include <algorithm>
#include <optional>

DocumentSearch::DocumentSearch(std::function<QString()> text, QObject* parent)
    : QObject(parent), m_text(std::move(text)) {}

void DocumentSearch::present() {
    if (m_presented)
        return;
    m_presented = true;
    Q_EMIT presentedChanged(true);
}

void DocumentSearch::openFindBar() {
    present();
    Q_EMIT sessionStarted(++m_sessionId);
}

bool DocumentSearch::findInEditor(const QString& text) {
    const QString query = SearchMatcher::searchedQuery(text);
    if (query.isEmpty())
        return false;
    present();
    search(query, true);
    // The editor's seed for this session is ignored (the query is set); the
    // session still makes it reveal the first match.
    Q_EMIT sessionStarted(++m_sessionId);
    return true;
}

void DocumentSearch::closeFindBar() {
    if (m_presented) {
        m_presented = false;
        Q_EMIT presentedChanged(false);
    }
    if (m_state == DocumentSearchState{})
        return;
    m_state = {};
    Q_EMIT stateChanged();
}

void DocumentSearch::setQuery(const QString& query) {
    if (query == m_state.query)
        return;
    search(query, true);
}

void DocumentSearch::advanceFindMatch(bool forward) {
    if (!m_presented)
        return;
    refreshSearchMatches(false);
    const qsizetype count = m_state.matches.size();
    if (count == 0)
        return;
    const qsizetype step = forward ? 1 : count - 1;
    m_state.currentIndex = int((m_state.currentIndex + step) % count);
    Q_EMIT stateChanged();
}

void DocumentSearch::handleFindSessionStarted(const QString& selectedText) {
    const bool seeded = m_state.query.isEmpty() && !selectedText.isEmpty();
    search(seeded ? selectedText : m_state.query, true);
}

void DocumentSearch::textChanged(const TextChange& change) {
    if (!m_presented)
        return;
    const QString text = m_text();
    const QString query = SearchMatcher::searchedQuery(m_state.query);
    if (query.isEmpty() || text.size() - change.delta() != m_searchedLength) {
        refreshSearchMatches(false);
        return;
    }
    m_searchedLength = text.size();
    takeMatches(m_state.query,
                SearchMatcher::matchesAfterChange(m_state.matches, text, query, change), false);
}

void DocumentSearch::refreshSearchMatches(bool resetIndex) {
    search(m_state.query, resetIndex);
}

void DocumentSearch::search(const QString& query, bool resetIndex) {
    const QString text = m_text();
    m_searchedLength = text.size();
    takeMatches(query, SearchMatcher::findMatches(text, SearchMatcher::searchedQuery(query)),
                resetIndex);
}

// The state changes in one step, query included, so a new query with the
// same (even no) matches still counts as a change.
void DocumentSearch::takeMatches(const QString& query, QList<TextRange> matches, bool resetIndex) {
    const std::optional<TextRange> current =
        m_state.hasCurrentMatch() ? std::optional(m_state.matches[m_state.currentIndex])
                                  : std::nullopt;
    const int count = int(matches.size());
    int index = count == 0 ? 0 : std::min(m_state.currentIndex, count - 1);
    if (resetIndex) {
        index = 0;
    } else if (current) {
        // The current match stays on its range while that range still matches.
        const auto same = std::lower_bound(
            matches.cbegin(), matches.cend(), current->location,
            [](const TextRange& m, int location) { return m.location < location; });
        if (same != matches.cend() && *same == *current)
            index = int(same - matches.cbegin());
    }
    DocumentSearchState next{query, index, std::move(matches)};
    if (next == m_state)
        return;
    m_state = std::move(next);
    Q_EMIT stateChanged();
}
