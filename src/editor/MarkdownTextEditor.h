#pragma once

#include "editor/EditorSearchHighlighter.h"
#include "editor/HighlightConfig.h"
#include "tools/DocumentSearchState.h"

#include <QWidget>
#include <optional>

class EditorFormattingPopover;
class EditorSlashPopover;
class FindIndicator;
class MarkdownSyntaxHighlighter;
class MarkdownTextView;
class QAbstractScrollArea;
class TextChangeRecorder;

// The source editor of one pane: the text view, its syntax colouring, the
// find matches painted over it, and the editing tools' popovers. Everything
// comes in through setters and goes out through signals:
//
//   setText            the document text; the first call loads it, later ones
//                      (a reload, a checkbox ticked in the preview) become
//                      one undoable edit of only the part that changed, so
//                      undo history, caret and scroll position survive.
//   textEdited         emitted once for every edit made in the editor (typing,
//                      rules, menus, drops, undo), with the whole new text;
//                      never for setText.
//   textChangedAt      after every change of the text, setText's included
//                      (after textEdited for an edit): the span that changed.
//   setSearchState     the window's matches; while find is active and the
//                      query is not blank, the matches in view are painted.
//   setFindSessionId   a new id starts a find session: findSessionStarted
//                      carries the selected text (1 to 199 units) as the seed,
//                      or an empty string.
//
// Only find actions move the caret: a new session, a change of query, or a
// step to another match (next, previous) selects the current match, scrolls
// it into view and pulses a marker over it. Typing that changes the matches
// moves nothing.
class MarkdownTextEditor : public QWidget {
    Q_OBJECT
public:
    static constexpr int maximumSeedLength = 199;

    explicit MarkdownTextEditor(const HighlightConfig& config, QWidget* parent = nullptr);
    ~MarkdownTextEditor() override;

    MarkdownTextView* textView() const { return m_view; }
    // The scroll area the window links to scroll synchronisation.
    QAbstractScrollArea* scrollView() const;
    MarkdownSyntaxHighlighter* highlighter() const { return m_highlighter; }

    QString text() const { return m_text; }
    void setText(const QString& text);

    const HighlightConfig& highlightConfig() const { return m_config; }
    // New font, colours, caret and scroller colour; the text is recoloured
    // in place (caret, scroll and undo stay).
    void setHighlightConfig(const HighlightConfig& config);

    void setDocumentDirectory(const QString& directory);

    void setSearchState(const DocumentSearchState& state);
    void setFindActive(bool active);
    void setFindSessionId(int id);

    // The matches painted now, as drawn over the view.
    const QList<EditorSearchHighlighter::PaintedMatch>& paintedMatches() const { return m_painted; }
    FindIndicator* findIndicator() const { return m_indicator; }

Q_SIGNALS:
    void textEdited(const QString& text);
    // `removed` units at `position` became `added` units.
    void textChangedAt(int position, int removed, int added);
    // Once, on the first turn of the event loop after the editor is made.
    void scrollViewReady(QAbstractScrollArea* scrollView);
    // "Find in Document" from the context menu.
    void findRequested();
    void findSessionStarted(const QString& seed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadFirstText(const QString& text);
    void applyConfig();
    void syncText();
    void reportChange();
    void onContentsChanged();
    void onSelectionChanged();
    void beginFindSession();
    void revealCurrentMatchIfPending();
    void keepRevealedMatchInView(int oldHeight);
    void onViewMoved();
    void paintMatches();

    MarkdownTextView* m_view = nullptr;
    MarkdownSyntaxHighlighter* m_highlighter = nullptr;
    TextChangeRecorder* m_changes = nullptr;
    FindIndicator* m_indicator = nullptr;
    // The editing tools' popovers: the slash menu, made and owned here; the
    // formatting bar, null until that tool exists.
    EditorSlashPopover* m_slashPopover = nullptr;
    EditorFormattingPopover* m_formattingPopover = nullptr;

    HighlightConfig m_config;
    QString m_text;
    int m_revision = -1;
    bool m_hasText = false;
    bool m_settingText = false;

    DocumentSearchState m_search;
    bool m_matchesInTextOrder = true;
    bool m_findActive = false;
    int m_findSessionId = 0;
    bool m_revealPending = false;
    std::optional<TextRange> m_revealed;
    QList<EditorSearchHighlighter::PaintedMatch> m_painted;
};
