#include "tools/SlashCommandPopoverController.h"

#include "editor/EditorContextMenuBuilder.h"
#include "editor/MarkdownTextView.h"
#include "editor/ScrollViewStyling.h"
#include "tools/AnchoredOverlay.h"
#include "tools/SlashCommandCatalog.h"
#include "tools/SlashCommandEngine.h"
#include "tools/SlashCommandMenuView.h"
#include "widgets/PopoverFrame.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace {

// Around the list inside the popover.
constexpr int popoverInset = 8;

bool isMenuKey(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    default:
        return false;
    }
}

} // namespace

SlashCommandPopoverController::SlashCommandPopoverController(QObject* parent) : QObject(parent) {
    m_overlay = new AnchoredOverlay(AnchoredOverlay::Bounds::Window, this);
    connect(m_overlay, &AnchoredOverlay::clickedOutside, this,
            &SlashCommandPopoverController::close);
    connect(m_overlay, &AnchoredOverlay::anchorHidden, this, &SlashCommandPopoverController::close);
    makePopover();
}

SlashCommandPopoverController::~SlashCommandPopoverController() {
    delete m_frame;
}

void SlashCommandPopoverController::makePopover() {
    m_frame = new PopoverFrame;
    m_frame->hide();
    m_menu = new SlashCommandMenuView;
    m_frame->setContent(m_menu, popoverInset, SlashCommandMenuView::maximumListHeight);
    connect(m_menu, &PaintedRowList::rowClicked, this,
            [this](int index) { confirmSelection(m_menu->commands().at(index)); });
    m_frame->resize(popoverWidth, minimumPopoverHeight);
}

int SlashCommandPopoverController::popoverHeight(int sections, int rows) {
    const int fitting = SlashCommandMenuView::headerHeight * sections +
                        SlashCommandMenuView::rowHeight * rows + 2 * popoverInset;
    return qBound(minimumPopoverHeight, fitting, maximumPopoverHeight);
}

bool SlashCommandPopoverController::isShown() const {
    return m_overlay->isShown();
}

bool SlashCommandPopoverController::isListingCommands() const {
    return isShown() && !m_filtered.isEmpty();
}

void SlashCommandPopoverController::setTheme(const EditorTheme& theme) {
    if (m_theme == theme)
        return;
    m_theme = theme;
    if (isShown())
        rebuildMenu();
}

void SlashCommandPopoverController::textChanged(MarkdownTextView* view) {
    if (m_applying || !view)
        return;
    m_view = view;
    const std::optional<SlashCommandContext> found =
        view->isReadOnly() ? std::nullopt : SlashCommandEngine::context(view);
    if (!found) {
        close();
        return;
    }
    const bool wasShown = isShown();
    if (wasShown && found == m_context) {
        m_overlay->reposition();
        return;
    }
    const bool sameQuery = m_context && m_context->query == found->query;
    m_context = found;
    if (!sameQuery || m_filtered.isEmpty())
        m_filtered = SlashCommandCatalog::filtered(found->query);
    if (!sameQuery || !wasShown)
        m_selected = 0;
    m_selected = qMax(0, qMin(m_selected, int(m_filtered.size()) - 1));
    if (m_filtered.isEmpty()) {
        close();
        return;
    }
    rebuildMenu();
    present();
}

void SlashCommandPopoverController::rebuildMenu() {
    if (!m_frame)
        makePopover();
    EditorContextMenuBuilder::applyAppearance(m_frame, m_theme);
    const SlashCommandMenuColors colors = SlashCommandMenuColors::from(m_theme, m_frame->palette());
    m_frame->setColours(colors.chromeBackground, colors.border);
    m_menu->setColors(colors);
    ScrollViewStyling::apply(m_menu, colors.accent);
    m_menu->setCommands(m_filtered, m_selected);
    int height = popoverHeight(m_menu->sectionCount(), int(m_filtered.size()));
    // Never taller than a short window: the list scrolls instead.
    if (m_view && m_view->window())
        height = qMin(height, m_view->window()->height() - 2 * AnchoredOverlay::margin);
    m_frame->resize(popoverWidth, height);
    m_overlay->reposition();
}

void SlashCommandPopoverController::present() {
    MarkdownTextView* view = m_view;
    if (!view || !view->isVisible() || !m_frame)
        return;
    QWidget* viewport = view->viewport();
    m_overlay->show(m_frame, viewport, [view] {
        QRect caret = view->cursorRect();
        caret.setWidth(qMax(caret.width(), 1));
        caret.setHeight(qMax(caret.height(), 14));
        return caret;
    });
}

bool SlashCommandPopoverController::wantsKey(const QKeyEvent* event) const {
    return isListingCommands() && isMenuKey(event);
}

bool SlashCommandPopoverController::handleKeyDown(QKeyEvent* event) {
    if (!wantsKey(event))
        return false;
    switch (event->key()) {
    case Qt::Key_Down:
        moveSelection(1);
        break;
    case Qt::Key_Up:
        moveSelection(-1);
        break;
    case Qt::Key_Escape:
        close();
        break;
    default: // Return, keypad Enter
        confirmSelection();
        break;
    }
    return true;
}

void SlashCommandPopoverController::moveSelection(int step) {
    // The highlight stops at the first and the last row.
    m_selected = qBound(0, m_selected + step, int(m_filtered.size()) - 1);
    m_menu->setCommands(m_filtered, m_selected);
}

void SlashCommandPopoverController::confirmSelection() {
    if (m_selected < 0 || m_selected >= m_filtered.size()) {
        close();
        return;
    }
    confirmSelection(m_filtered[m_selected]);
}

void SlashCommandPopoverController::confirmSelection(const SlashCommand& command) {
    MarkdownTextView* view = m_view;
    if (!view || !m_context) {
        close();
        return;
    }
    const SlashCommandContext context = *m_context;
    {
        // The edits come back as text and caret changes; they must not
        // reopen or move the menu halfway through.
        const QScopedValueRollback<bool> applying(m_applying, true);
        SlashCommandEngine::apply(command, view, context);
    }
    close();
    view->setFocus(Qt::OtherFocusReason);
}

void SlashCommandPopoverController::close() {
    m_context.reset();
    m_filtered.clear();
    m_selected = 0;
    m_overlay->hide();
}
