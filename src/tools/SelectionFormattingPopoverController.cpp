#include "tools/SelectionFormattingPopoverController.h"

#include "editor/EditorContextMenuBuilder.h"
#include "editor/MarkdownEditingSupport.h"
#include "editor/MarkdownTextView.h"
#include "tools/AnchoredOverlay.h"
#include "widgets/PopoverFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QUrl>

namespace {

// The selection's bounding box in the viewport, cut to the part in view: from
// its start to its end on one line, the text's whole width over several. A
// selection wholly out of view gives a flat box on the nearer edge. `whole`
// tells whether nothing was cut.
struct SelectionBox {
    QRect rect;
    bool whole = false;
};

SelectionBox selectionBox(const MarkdownTextView* view) {
    const EditorText::Range selection = EditorText::selection(view);
    const EditorText::Range visible = view->visibleRange();
    const QRect area = view->viewport()->rect();
    if (selection.to < visible.from)
        return {{area.left(), area.top(), area.width(), 1}};
    if (selection.from > visible.to)
        return {{area.left(), area.bottom(), area.width(), 1}};
    QTextCursor cursor(view->document());
    cursor.setPosition(qMax(selection.from, visible.from));
    const QRect first = view->cursorRect(cursor);
    cursor.setPosition(qMin(selection.to, visible.to));
    const QRect last = view->cursorRect(cursor);
    int left = area.left(), right = area.right();
    if (first.top() == last.top()) {
        left = qMin(first.left(), last.left());
        right = qMax(first.left(), last.left());
    }
    const int top = qBound(area.top(), first.top(), area.bottom());
    const int bottom = qBound(top, last.bottom(), area.bottom());
    const bool whole = selection.from >= visible.from && selection.to <= visible.to &&
                       first.top() >= area.top() && last.bottom() <= area.bottom();
    return {QRect(QPoint(left, top), QPoint(right, bottom)), whole};
}

SelectionFormattingBar::State stateOf(const MarkdownTextView* view) {
    const auto wrapped = [view](const char* marker) {
        const QString m = QString::fromLatin1(marker);
        return MarkdownEditingSupport::isWrapped(view, m, m);
    };
    SelectionFormattingBar::State state;
    state.isBoldActive = wrapped("**");
    state.isItalicActive = wrapped("_");
    state.isStrikethroughActive = wrapped("~~");
    state.isCodeActive = wrapped("`");
    state.activeHeadingLevel =
        MarkdownEditingSupport::headingLevel(MarkdownEditingSupport::firstSelectedLine(view));
    return state;
}

} // namespace

SelectionFormattingPopoverController::SelectionFormattingPopoverController(QObject* parent)
    : QObject(parent) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleDelay);
    connect(&m_settle, &QTimer::timeout, this, &SelectionFormattingPopoverController::present);
    // Over the text only: a selection taller than the view must not push the
    // bar onto the find bar or the hint toast.
    m_overlay = new AnchoredOverlay(AnchoredOverlay::Bounds::Anchor, this);
    connect(m_overlay, &AnchoredOverlay::clickedOutside, this,
            &SelectionFormattingPopoverController::close);
    connect(m_overlay, &AnchoredOverlay::anchorHidden, this,
            &SelectionFormattingPopoverController::close);
    makePopover();
}

SelectionFormattingPopoverController::~SelectionFormattingPopoverController() {
    delete m_frame;
}

void SelectionFormattingPopoverController::makePopover() {
    m_frame = new PopoverFrame;
    m_frame->hide();
    m_bar = new SelectionFormattingBar;
    m_bar->setUrlGuess(&SelectionFormattingPopoverController::detectClipboardURL);
    m_frame->setContent(m_bar, 0, QWIDGETSIZE_MAX);
    connect(m_bar, &SelectionFormattingBar::headingChosen, this,
            &SelectionFormattingPopoverController::applyHeading);
    connect(m_bar, &SelectionFormattingBar::commandChosen, this,
            &SelectionFormattingPopoverController::apply);
    connect(m_bar, &SelectionFormattingBar::linkConfirmed, this,
            &SelectionFormattingPopoverController::confirmLink);
    connect(m_bar, &SelectionFormattingBar::leavingLinkRow, this,
            &SelectionFormattingPopoverController::takeFocusBack);
    connect(m_bar, &SelectionFormattingBar::wantedSizeChanged, this,
            &SelectionFormattingPopoverController::fitPopover);
    fitPopover();
}

bool SelectionFormattingPopoverController::isShown() const {
    return m_overlay->isShown();
}

void SelectionFormattingPopoverController::setTheme(const EditorTheme& theme) {
    if (m_theme == theme)
        return;
    m_theme = theme;
    // Also while it waits out of sight for room: it comes back on its own.
    if (m_frame)
        restyle();
}

void SelectionFormattingPopoverController::restyle() {
    EditorContextMenuBuilder::applyAppearance(m_frame, m_theme);
    const SelectionFormattingBar::Colors colors =
        SelectionFormattingBar::Colors::from(m_theme, m_frame->palette());
    // On the window colour rather than the code background, which is the
    // buttons' hover background.
    m_frame->setColours(m_frame->palette().color(QPalette::Window), colors.divider);
    m_bar->setColors(colors);
}

void SelectionFormattingPopoverController::selectionChanged(MarkdownTextView* view,
                                                            EditorText::Range selection) {
    if (!view)
        return;
    m_view = view;
    m_settle.stop();
    if (selection.isEmpty()) {
        close();
        return;
    }
    // A shown bar stays until the new selection settles, then moves.
    m_pending = selection;
    m_settle.start();
}

void SelectionFormattingPopoverController::present() {
    MarkdownTextView* view = editableView();
    if (!view || !view->isVisible())
        return;
    const EditorText::Range selection = EditorText::selection(view);
    if (selection.isEmpty() || selection != m_pending)
        return;
    if (!m_frame)
        makePopover();
    const bool wasShown = isShown();
    restyle();
    m_bar->setState(stateOf(view));
    if (!wasShown)
        m_bar->reset();
    fitPopover();
    // Never over a selection the user can see whole (a find match): beside
    // it, or out of sight until there is room. Over a larger one it has to.
    const QPointer<MarkdownTextView> anchor(view);
    m_overlay->show(
        m_frame, view->viewport(),
        [anchor] { return anchor ? selectionBox(anchor).rect : QRect(); },
        [anchor] { return !anchor || !selectionBox(anchor).whole; });
}

void SelectionFormattingPopoverController::fitPopover() {
    if (!m_frame || !m_bar)
        return;
    m_frame->resize(m_bar->sizeHint());
    m_overlay->reposition();
}

void SelectionFormattingPopoverController::close() {
    m_settle.stop();
    takeFocusBack();
    m_overlay->hide();
}

bool SelectionFormattingPopoverController::closeLinkField() {
    if (!isShown() || !m_bar->isEnteringLink())
        return false;
    close();
    returnFocusToEditor();
    return true;
}

void SelectionFormattingPopoverController::takeFocusBack() {
    // Before the address field goes, so the keyboard never lands on some
    // other widget of the window; and only from the field, never from
    // wherever else the user is typing.
    if (m_frame && m_frame->isAncestorOf(QApplication::focusWidget()))
        returnFocusToEditor();
}

void SelectionFormattingPopoverController::returnFocusToEditor() {
    if (m_view && m_view->isVisible())
        m_view->setFocus(Qt::OtherFocusReason);
}

MarkdownTextView* SelectionFormattingPopoverController::editableView() const {
    return m_view && !m_view->isReadOnly() ? m_view.data() : nullptr;
}

void SelectionFormattingPopoverController::applyHeading(int level) {
    if (MarkdownTextView* view = editableView()) {
        // Normal Text strips the marker of every selected line; taking the
        // first line's level instead would add headings to the others.
        if (level != 0 || MarkdownEditingSupport::headingLevel(
                              MarkdownEditingSupport::firstSelectedLine(view)) != 0)
            MarkdownEditingSupport::applyHeading(view, level);
    }
    close();
}

void SelectionFormattingPopoverController::apply(SelectionFormattingBar::Command command) {
    using Command = SelectionFormattingBar::Command;
    MarkdownTextView* view = editableView();
    const auto toggle = [view](const char* marker) {
        const QString m = QString::fromLatin1(marker);
        MarkdownEditingSupport::toggleWrapSelection(view, m, m);
    };
    if (view) {
        switch (command) {
        case Command::Bold:
            toggle("**");
            break;
        case Command::Italic:
            toggle("_");
            break;
        case Command::Strikethrough:
            toggle("~~");
            break;
        case Command::Code:
            toggle("`");
            break;
        case Command::BulletList:
            MarkdownEditingSupport::applyBulletList(view);
            break;
        case Command::NumberedList:
            MarkdownEditingSupport::applyNumberedList(view);
            break;
        case Command::TaskList:
            MarkdownEditingSupport::applyTaskList(view);
            break;
        }
    }
    close();
}

void SelectionFormattingPopoverController::confirmLink(const QString& url) {
    MarkdownTextView* view = editableView();
    if (!view)
        return;
    const EditorText::Range selection = EditorText::selection(view);
    const QString label = EditorText::text(view->document(), selection);
    const QString link =
        QLatin1Char('[') + label + QStringLiteral("](") + normalizedURL(url) + QLatin1Char(')');
    const int caret = label.isEmpty() ? selection.from + 1 : selection.from + int(link.size());
    EditorText::replace(view, selection, link, {caret, caret});
    close();
    returnFocusToEditor();
}

QString SelectionFormattingPopoverController::normalizedURL(const QString& url) {
    const bool kept = url.contains(QStringLiteral("://")) ||
                      url.startsWith(QStringLiteral("mailto:")) ||
                      url.startsWith(QLatin1Char('#')) || url.startsWith(QLatin1Char('/')) ||
                      url.startsWith(QLatin1Char('.'));
    return kept ? url : QStringLiteral("https://") + url;
}

QString SelectionFormattingPopoverController::detectClipboardURL() {
    const QString text = QGuiApplication::clipboard()->text().trimmed();
    if (text.isEmpty() || text.contains(QLatin1Char(' ')) || text.contains(QLatin1Char('\n')))
        return {};
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() && !url.scheme().isEmpty() ? text : QString();
}
