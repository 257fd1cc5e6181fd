#pragma once

#include "core/DocumentSearchState.h"
#include "editor/EditorSearchHighlighter.h"
#include "editor/HighlightConfig.h"

#include <QWidget>
#include <memory>
#include <optional>

class EditorFormattingPopover;
class EditorSlashPopover;
class FindIndicator;
class MarkdownSyntaxHighlighter;
class MarkdownTextView;
class QAbstractScrollArea;

// The source editor of one pane: the text view, its syntax colouring, the
// find matches painted over it, and the editing tools' popovers. Everything
// comes in through setters and goes out through signals:
//
//   setText            the document text; the first call loads it, later ones
//                      become one undoable edit of only the part that
//                      changed, so undo history, caret and scroll survive.
//   replaceText        an edit from outside the editor (a reload, a checkbox
//                      ticked in the preview): one undoable edit, caret and
//                      scroll kept.
//   textEdited         emitted once for every edit made in the editor (typing,
//                      rules, menus, drops, undo) with what it changed: the
//                      units removed at a position and the text put there
//                      (line breaks as LF). Never for setText or replaceText.
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
    // The editing tools' popovers, made by those above the editor, which
    // owns them from then on; an editor without them has no "/" menu and no
    // formatting bar.
    void setPopovers(std::unique_ptr<EditorSlashPopover> slash,
                     std::unique_ptr<EditorFormattingPopover> formatting);
    // The formatting bar over the selection.
    EditorFormattingPopover* formattingPopover() const { return m_formattingPopover; }

    // The whole text (LF line breaks); reads the whole document.
    QString text() const;
    int length() const { return m_length; }
    void setText(const QString& text);
    void replaceText(int position, int removed, const QString& added);

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
    void textEdited(int position, int removed, const QString& added);
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
    void onContentsChange(int position, int removed, int added);
    void onContentsChanged();
    void onSelectionChanged();
    void beginFindSession();
    void revealCurrentMatchIfPending();
    // All the last revealed match and a pulse over it may have drawn, in
    // viewport coordinates; empty while it is out of view.
    QRect revealedArea() const;
    void keepRevealedMatchInView(int oldHeight);
    void onViewMoved();
    void paintMatches();
    // Called when the selection, the matches, find's state or the theme change:
    // scrolling leaves it as it is.
    void paintSelection();

    MarkdownTextView* m_view = nullptr;
    MarkdownSyntaxHighlighter* m_highlighter = nullptr;
    FindIndicator* m_indicator = nullptr;
    // The editing tools' popovers, made and owned here.
    EditorSlashPopover* m_slashPopover = nullptr;
    EditorFormattingPopover* m_formattingPopover = nullptr;

    HighlightConfig m_config;
    int m_length = 0;
    int m_revision = -1;
    bool m_hasText = false;
    bool m_settingText = false;
    // The edits since the last report, as one: from its first changed unit
    // to `tail` units before the end, over a text that was `base` long.
    struct PendingEdit {
        int from = 0;
        int tail = 0;
        int base = 0;
    };
    std::optional<PendingEdit> m_pending;

    DocumentSearchState m_search;
    bool m_matchesInTextOrder = true;
    bool m_findActive = false;
    int m_findSessionId = 0;
    bool m_revealPending = false;
    std::optional<TextRange> m_revealed;
    QList<EditorSearchHighlighter::PaintedMatch> m_painted;
    // Whether the selection is drawn as the current match; none until the
    // palette is set.
    std::optional<bool> m_selectionOnMatch;
};
