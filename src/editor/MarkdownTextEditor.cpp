#include "editor/MarkdownTextEditor.h"

#include "editor/EditorPopovers.h"
#include "editor/EditorText.h"
#include "editor/FindIndicator.h"
#include "editor/MarkdownSyntaxHighlighter.h"
#include "editor/MarkdownTextView.h"
#include "editor/ScrollViewStyling.h"

#include <QEvent>
#include <QImage>
#include <QRegion>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

MarkdownTextEditor::MarkdownTextEditor(const HighlightConfig& config, QWidget* parent)
    : QWidget(parent), m_config(config) {
    m_view = new MarkdownTextView(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setAutoFillBackground(false);
    m_view->viewport()->setAutoFillBackground(false);
    m_view->setTextInset(24, 16);
    m_indicator = new FindIndicator(m_view);
    m_highlighter = new MarkdownSyntaxHighlighter(m_view->document(), config);
    applyConfig();
    m_revision = m_view->document()->revision();

    connect(m_view->document(), &QTextDocument::contentsChange, this,
            &MarkdownTextEditor::onContentsChange);
    connect(m_view, &QPlainTextEdit::textChanged, this, &MarkdownTextEditor::onContentsChanged);
    // Both: a selection can change with the caret standing still (Select All
    // with the caret at the end, a find match that ends at the caret).
    connect(m_view, &QPlainTextEdit::cursorPositionChanged, this,
            &MarkdownTextEditor::onSelectionChanged);
    connect(m_view, &QPlainTextEdit::selectionChanged, this,
            &MarkdownTextEditor::onSelectionChanged);
    connect(m_view, &MarkdownTextView::findRequested, this, &MarkdownTextEditor::findRequested);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &MarkdownTextEditor::onViewMoved);
    m_view->viewport()->installEventFilter(this);
    QTimer::singleShot(0, this, [this] { Q_EMIT scrollViewReady(m_view); });
}

MarkdownTextEditor::~MarkdownTextEditor() {
    // Before the view: the popovers must not act on a text view being
    // destroyed, nor stay behind in the window.
    m_view->setSlashPopover(nullptr);
    delete std::exchange(m_slashPopover, nullptr);
    delete std::exchange(m_formattingPopover, nullptr);
}

void MarkdownTextEditor::setPopovers(std::unique_ptr<EditorSlashPopover> slash,
                                     std::unique_ptr<EditorFormattingPopover> formatting) {
    m_view->setSlashPopover(nullptr);
    delete std::exchange(m_slashPopover, slash.release());
    delete std::exchange(m_formattingPopover, formatting.release());
    m_view->setSlashPopover(m_slashPopover);
    if (m_slashPopover)
        m_slashPopover->setTheme(m_config.theme);
    if (m_formattingPopover)
        m_formattingPopover->setTheme(m_config.theme);
}

QAbstractScrollArea* MarkdownTextEditor::scrollView() const {
    return m_view;
}

QString MarkdownTextEditor::text() const {
    return EditorText::text(m_view->document());
}

void MarkdownTextEditor::setText(const QString& text) {
    const QScopedValueRollback<bool> setting(m_settingText, true);
    if (!m_hasText) {
        // The first text is no edit: nothing to undo back to.
        m_hasText = true;
        m_highlighter->loadProgressively([&] { loadFirstText(text); }, text);
        m_revision = m_view->document()->revision();
        m_length = EditorText::length(m_view->document());
        m_pending.reset();
        paintMatches();
        return;
    }
    EditorText::replaceAll(m_view, text);
    m_pending.reset();
}

void MarkdownTextEditor::replaceText(int position, int removed, const QString& added) {
    const QScopedValueRollback<bool> setting(m_settingText, true);
    EditorText::replaceKeepingView(m_view, {position, position + removed}, added);
    m_pending.reset();
}

namespace {

// A window not shown yet lays its widgets out only as it shows, and the new
// width of the view then lays out every line again: set before that, a large
// text is laid out twice. Rendering a pixel of the window sends the resize
// events it holds back, so the text goes in at the width it is shown with.
void settleHiddenWindow(QWidget* widget) {
    QWidget* window = widget->window();
    if (window->isVisible())
        return;
    QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
    window->render(&pixel, QPoint(), QRegion(0, 0, 1, 1));
}

} // namespace

void MarkdownTextEditor::loadFirstText(const QString& text) {
    settleHiddenWindow(this);
    // Straight into the document: the view's setPlainText would then give
    // every character the same (empty) format again, over a tenth of the time
    // on a large text.
    QTextDocument* doc = m_view->document();
    doc->setPlainText(text);
    doc->setModified(false);
    m_view->setTextCursor(QTextCursor(doc));
}

void MarkdownTextEditor::setHighlightConfig(const HighlightConfig& config) {
    if (config == m_config)
        return;
    m_config = config;
    applyConfig();
}

void MarkdownTextEditor::applyConfig() {
    const EditorTheme& theme = m_config.theme;
    m_view->setFont(m_config.baseFont);
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Text, theme.text);
    palette.setColor(QPalette::Base, Qt::transparent);
    m_view->setPalette(palette);
    m_selectionOnMatch.reset();
    paintSelection();
    m_view->setCaretColour(theme.accent);
    ScrollViewStyling::apply(m_view, theme.accent);
    m_highlighter->setConfig(m_config);
    m_view->setEditorTheme(theme);
    if (m_slashPopover)
        m_slashPopover->setTheme(theme);
    if (m_formattingPopover)
        m_formattingPopover->setTheme(theme);
    m_painted.clear();
    m_view->setExtraSelections({});
    paintMatches();
}

void MarkdownTextEditor::paintSelection() {
    // The selection is drawn over the matches: where it is the current
    // match, it takes the current match's colours so that one still stands
    // out from the others.
    const EditorText::Range selection = EditorText::selection(m_view);
    const bool onMatch = m_findActive && EditorSearchHighlighter::isPaintedQuery(m_search.query) &&
                         m_search.hasCurrentMatch() && !selection.isEmpty() &&
                         m_search.matches[m_search.currentIndex] ==
                             TextRange{selection.from, selection.to - selection.from};
    if (m_selectionOnMatch == onMatch)
        return;
    m_selectionOnMatch = onMatch;
    const EditorTheme& theme = m_config.theme;
    const EditorSearchHighlighter::Colours find = EditorSearchHighlighter::colours(theme);
    QPalette palette = m_view->palette();
    // Not the application's accent pair: the theme's own, which keep the
    // text's colour readable, focused or not.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        const QColor& behind = onMatch                     ? find.current
                               : group == QPalette::Active ? theme.selection
                                                           : theme.inactiveSelection;
        if (!behind.isValid())
            continue;
        palette.setColor(group, QPalette::Highlight, behind);
        palette.setColor(group, QPalette::HighlightedText, onMatch ? find.currentText : theme.text);
    }
    m_view->setPalette(palette);
}

void MarkdownTextEditor::setDocumentDirectory(const QString& directory) {
    m_view->setDocumentDirectory(directory);
}

void MarkdownTextEditor::onContentsChange(int position, int removed, int added) {
    const int before = m_length;
    m_length = EditorText::length(m_view->document());
    // An edit that reaches the end counts the document's closing paragraph
    // end in both numbers; should they still not add up, the whole text
    // stands in for the edit.
    removed = qMin(removed, before - position);
    added = qMin(added, m_length - position);
    if (position < 0 || removed < 0 || added < 0 || before - removed + added != m_length) {
        position = 0;
        removed = before;
    }
    const int tail = before - position - removed;
    if (m_pending)
        m_pending = PendingEdit{qMin(m_pending->from, position), qMin(m_pending->tail, tail),
                                m_pending->base};
    else
        m_pending = PendingEdit{position, tail, before};
}

void MarkdownTextEditor::onContentsChanged() {
    if (!m_pending)
        return;
    const PendingEdit edit = *std::exchange(m_pending, std::nullopt);
    // Recolouring changes formats only, which leaves the revision alone;
    // every edit, undo and redo moves it (undo stays enabled for that).
    QTextDocument* doc = m_view->document();
    if (doc->revision() == m_revision)
        return;
    m_revision = doc->revision();
    paintMatches();
    if (m_settingText)
        return;
    const int end = m_length - edit.tail;
    Q_EMIT textEdited(edit.from, edit.base - edit.tail - edit.from,
                      EditorText::text(doc, {edit.from, end}));
    if (m_slashPopover) {
        m_slashPopover->textChanged(m_view);
        if (m_slashPopover->isShown() && m_formattingPopover)
            m_formattingPopover->close();
    }
}

void MarkdownTextEditor::onSelectionChanged() {
    const EditorText::Range selection = EditorText::selection(m_view);
    if (m_slashPopover) {
        if (selection.isEmpty())
            m_slashPopover->textChanged(m_view);
        else
            m_slashPopover->close();
    }
    if (m_formattingPopover)
        m_formattingPopover->selectionChanged(m_view, selection);
    paintSelection();
}

void MarkdownTextEditor::setSearchState(const DocumentSearchState& state) {
    // With the find bar shown, a new query or a step to another of the same
    // matches is a find action. Editing changes the matches (their count or
    // where they lie), and the current index only with them.
    const bool queryChanged = state.query != m_search.query;
    const bool stepped =
        state.currentIndex != m_search.currentIndex && state.matches == m_search.matches;
    if (!(state == m_search)) {
        m_search = state;
        m_matchesInTextOrder = EditorSearchHighlighter::isInTextOrder(state.matches);
        paintMatches();
        paintSelection();
    }
    if (m_findActive && (queryChanged || stepped))
        m_revealPending = true;
    revealCurrentMatchIfPending();
}

void MarkdownTextEditor::setFindActive(bool active) {
    if (active == m_findActive)
        return;
    m_findActive = active;
    if (!active) {
        m_revealPending = false;
        m_indicator->dismiss();
    }
    paintMatches();
    paintSelection();
    revealCurrentMatchIfPending();
}

void MarkdownTextEditor::setFindSessionId(int id) {
    if (id == m_findSessionId)
        return;
    m_findSessionId = id;
    beginFindSession();
}

void MarkdownTextEditor::beginFindSession() {
    const EditorText::Range selection = EditorText::selection(m_view);
    QString seed;
    if (selection.length() >= 1 && selection.length() <= maximumSeedLength)
        seed = EditorText::text(m_view->document(), selection);
    m_revealPending = true;
    Q_EMIT findSessionStarted(seed);
    revealCurrentMatchIfPending();
}

void MarkdownTextEditor::revealCurrentMatchIfPending() {
    if (!m_revealPending || !m_findActive)
        return;
    m_revealPending = false;
    if (!m_search.hasCurrentMatch())
        return;
    const TextRange match = m_search.matches[m_search.currentIndex];
    if (!match.liesWithin(m_length))
        return;
    // Where the last match and its pulse were drawn is repainted whole,
    // before the scroll and after it, so that no row of their colour stays
    // where Qt's partial repaints round fractional line rects.
    QRegion left = revealedArea();
    if (m_indicator->isPulsing())
        left += m_indicator->geometry();
    QTextCursor cursor(m_view->document());
    cursor.setPosition(match.location);
    cursor.setPosition(int(match.end()), QTextCursor::KeepAnchor);
    m_view->setTextCursor(cursor);
    m_view->ensureCursorVisible();
    m_view->viewport()->update(left + revealedArea());
    m_revealed = match;
    m_indicator->pulse(match.location, int(match.end()),
                       EditorSearchHighlighter::colours(m_config.theme).pulse);
}

QRect MarkdownTextEditor::revealedArea() const {
    // Only while in view: lines out of view are not laid out for it.
    if (!m_revealed || !m_revealed->liesWithin(m_length))
        return {};
    const EditorText::Range visible = m_view->visibleRange();
    if (m_revealed->end() < visible.from || m_revealed->location > visible.to)
        return {};
    return FindIndicator::reach(m_view, m_revealed->location, int(m_revealed->end()));
}

void MarkdownTextEditor::onViewMoved() {
    // Lines scrolled into view are coloured before they are drawn.
    if (m_highlighter->isColouringProgressively()) {
        const EditorText::Range visible = m_view->visibleRange();
        m_highlighter->colourNow(visible.from, visible.to);
    }
    paintMatches();
}

void MarkdownTextEditor::paintMatches() {
    QList<EditorSearchHighlighter::PaintedMatch> painted;
    if (m_findActive && EditorSearchHighlighter::isPaintedQuery(m_search.query)) {
        const EditorText::Range visible = m_view->visibleRange();
        painted = EditorSearchHighlighter::visibleMatches(m_search, m_matchesInTextOrder, m_length,
                                                          visible.from, visible.to + 1);
    }
    if (painted == m_painted)
        return;
    m_painted = painted;
    const EditorSearchHighlighter::Colours colours =
        EditorSearchHighlighter::colours(m_config.theme);
    QList<QTextEdit::ExtraSelection> selections;
    selections.reserve(painted.size());
    for (const EditorSearchHighlighter::PaintedMatch& match : painted) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(m_view->document());
        selection.cursor.setPosition(match.range.location);
        selection.cursor.setPosition(int(match.range.end()), QTextCursor::KeepAnchor);
        selection.format.setBackground(match.current ? colours.current : colours.match);
        if (match.current && colours.currentText.isValid())
            selection.format.setForeground(colours.currentText);
        selections.append(selection);
    }
    m_view->setExtraSelections(selections);
}

bool MarkdownTextEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view->viewport() && event->type() == QEvent::Resize) {
        keepRevealedMatchInView(static_cast<QResizeEvent*>(event)->oldSize().height());
        onViewMoved();
    }
    return QWidget::eventFilter(watched, event);
}

void MarkdownTextEditor::keepRevealedMatchInView(int oldHeight) {
    // The find bar slides in after a match is revealed, taking height from
    // the view: a match it was showing stays shown while still selected.
    const EditorText::Range selection = EditorText::selection(m_view);
    if (!m_revealed || selection.from != m_revealed->location || selection.to != m_revealed->end())
        return;
    const QRect caret = m_view->cursorRect();
    // Once the view has taken in its new height, scroll range included.
    if (caret.top() >= 0 && caret.bottom() < oldHeight &&
        caret.bottom() >= m_view->viewport()->height())
        QTimer::singleShot(0, m_view, &QPlainTextEdit::ensureCursorVisible);
}
