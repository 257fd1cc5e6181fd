#pragma once

#include "core/DocumentSearchState.h"
#include "tools/TextChange.h"

#include <QObject>
#include <functional>

// The find of one document window: whether its find bar is shown, the
// search state the bar and the editor show, and the find sessions. Every
// step searches at once; there is no delay:
//
//   a new query            searches again, first match current;
//   a change of the text   while the bar is shown, searches the changed
//                          part again and keeps the current match on the
//                          same range when that still matches;
//   next, previous         move the current match, wrapping around.
//
// Opening the bar, even when it is shown, starts a new session: the editor
// answers with its selected text, which becomes the query only when the
// query is empty. Closing the bar clears the search.
class DocumentSearch : public QObject {
    Q_OBJECT
public:
    // `text` gives the editor text as the window holds it.
    explicit DocumentSearch(std::function<QString()> text, QObject* parent = nullptr);

    const DocumentSearchState& state() const { return m_state; }
    bool isPresented() const { return m_presented; }
    int sessionId() const { return m_sessionId; }

    void openFindBar();
    // Find of a text from elsewhere (the preview): the bar opens searching
    // for it, trimmed. False, and nothing happens, for blank text.
    bool findInEditor(const QString& text);
    void closeFindBar();

    void setQuery(const QString& query);
    void advanceFindMatch(bool forward);
    // The editor's answer to a new session: its selected text, or "".
    void handleFindSessionStarted(const QString& selectedText);
    // The text changed by `change`; `text` already holds the result.
    void textChanged(const TextChange& change);

Q_SIGNALS:
    void presentedChanged(bool presented);
    void stateChanged();
    void sessionStarted(int id);

private:
    void present();
    void refreshSearchMatches(bool resetIndex);
    void search(const QString& query, bool resetIndex);
    void takeMatches(const QString& query, QList<TextRange> matches, bool resetIndex);

    std::function<QString()> m_text;
    DocumentSearchState m_state;
    bool m_presented = false;
    int m_sessionId = 0;
    // The length of the text the matches were found in: a change that does
    // not lead from it to the text's length now is searched from scratch.
    qsizetype m_searchedLength = 0;
};
