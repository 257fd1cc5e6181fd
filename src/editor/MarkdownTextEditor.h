#pragma once

#include "editor/EditorSearchHighlighter.h"
#include "editor/HighlightConfig.h"
#include "tools/DocumentSearchState.h"

#include <QWidget>

class EditorFormattingPopover;
class EditorSlashPopover;
class MarkdownSyntaxHighlighter;
class MarkdownTextView;
class QAbstractScrollArea;

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
//   setSearchState     the window's matches; while find is active and the
//                      query is not blank, the matches in view are painted.
//   setFindSessionId   a new id starts a find session: findSessionStarted
//                      carries the selected text (1 to 199 units) as the seed,
//                      or an empty string.
//
// Only find actions move the caret: a new session, a change of query, or a
// step to another match (next, previous) selects the current match and
// scrolls it into view. Typing that changes the matches moves nothing.
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
    // The formatting bar over the selection.
    EditorFormattingPopover* formattingPopover() const { return m_formattingPopover; }

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

Q_SIGNALS:
    void textEdited(const QString& text);
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
    void onContentsChanged();
    void onSelectionChanged();
    void beginFindSession();
    void revealCurrentMatchIfPending();
    void onViewMoved();
    void paintMatches();

    MarkdownTextView* m_view = nullptr;
    MarkdownSyntaxHighlighter* m_highlighter = nullptr;
    // The editing tools' popovers, made and owned here.
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
    QList<EditorSearchHighlighter::PaintedMatch> m_painted;
};
