#include "editor/EditorContextMenuBuilder.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "editor/EditorText.h"
#include "editor/MarkdownEditingSupport.h"
#include "editor/MarkdownTextView.h"
#include "platform/Symbols.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>

namespace EditorContextMenuBuilder {

namespace {

using Action = void (MarkdownTextView::*)();

struct Row {
    const char* title; // nullptr: a separator
    const char* symbol = nullptr;
    int key = 0;
    Action action = nullptr;
    const char* marker = nullptr; // checked while the selection is wrapped in it
};

const Row editRows[] = {
    {L10n::mark("Cut"), "scissors", Qt::Key_X, &MarkdownTextView::cut},
    {L10n::mark("Copy"), "doc.on.doc", Qt::Key_C, &MarkdownTextView::copy},
    {L10n::mark("Paste"), "doc.on.clipboard", Qt::Key_V, &MarkdownTextView::paste},
    {nullptr},
    {L10n::mark("Bold"), "bold", Qt::Key_B, &MarkdownTextView::contextMenuBold, "**"},
    {L10n::mark("Italic"), "italic", Qt::Key_I, &MarkdownTextView::contextMenuItalic, "_"},
    {L10n::mark("Strikethrough"), "strikethrough", 0, &MarkdownTextView::contextMenuStrikethrough,
     "~~"},
    {L10n::mark("Code"), "chevron.left.forwardslash.chevron.right", 0,
     &MarkdownTextView::contextMenuInlineCode, "`"},
    {L10n::mark("Link"), "link", Qt::Key_K, &MarkdownTextView::contextMenuLink},
    {nullptr},
};

const Row blockRows[] = {
    {L10n::mark("Blockquote"), "text.quote", 0, &MarkdownTextView::contextMenuBlockquote},
    {L10n::mark("Code Block"), "curlybraces", 0, &MarkdownTextView::contextMenuCodeBlock},
    {L10n::mark("Divider"), "minus", 0, &MarkdownTextView::contextMenuDivider},
    {nullptr},
    {L10n::mark("Find in Document"), "magnifyingglass", Qt::Key_F,
     &MarkdownTextView::contextMenuFind},
    {L10n::mark("Select All"), "selection.pin.in.out", Qt::Key_A, &MarkdownTextView::selectAll},
};

const Row listRows[] = {
    {L10n::mark("Bulleted List"), "list.bullet", 0, &MarkdownTextView::contextMenuBulletList},
    {L10n::mark("Numbered List"), "list.number", 0, &MarkdownTextView::contextMenuNumberedList},
    {L10n::mark("Task List"), "checklist", 0, &MarkdownTextView::contextMenuTaskList},
};

QColor symbolColour(const QMenu* menu) {
    return menu->palette().color(QPalette::Text);
}

QAction* addItem(QMenu* menu, const QString& title, const char* symbol, int key) {
    QAction* action = menu->addAction(title);
    action->setIcon(menuSymbol(QString::fromLatin1(symbol), symbolColour(menu)));
    if (key) {
        // Only shown: the editor and the menu bar own these keys.
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(key)));
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    return action;
}

void addRows(QMenu* menu, MarkdownTextView* view, const Row* rows, size_t count) {
    const bool hasSelection = !EditorText::selection(view).isEmpty();
    for (size_t i = 0; i < count; ++i) {
        const Row& row = rows[i];
        if (!row.title) {
            menu->addSeparator();
            continue;
        }
        QAction* action = addItem(menu, L10n::tr(row.title), row.symbol, row.key);
        QObject::connect(action, &QAction::triggered, view, row.action);
        if (row.action == &MarkdownTextView::cut || row.action == &MarkdownTextView::copy)
            action->setEnabled(hasSelection);
        if (row.action == &MarkdownTextView::paste) {
            const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
            action->setEnabled(clip && clip->hasText());
        }
        if (row.marker) {
            const QString marker = QString::fromLatin1(row.marker);
            if (MarkdownEditingSupport::isWrapped(view, marker, marker)) {
                action->setCheckable(true);
                action->setChecked(true);
            }
        }
    }
}

QMenu* headingMenu(QMenu* parent, MarkdownTextView* view) {
    QMenu* menu = parent->addMenu(L10n::tr("Heading"));
    menu->menuAction()->setIcon(
        menuSymbol(QStringLiteral("textformat.size"), symbolColour(parent)));
    const int current =
        MarkdownEditingSupport::headingLevel(MarkdownEditingSupport::firstSelectedLine(view));
    for (int level = 1; level <= 6; ++level) {
        const char* symbol = level == 1   ? "textformat.size.larger"
                             : level == 2 ? "textformat.size"
                                          : "textformat";
        QAction* action = addItem(menu, L10n::tr("Heading %1").arg(level), symbol, 0);
        action->setData(level);
        if (level == current) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        QObject::connect(action, &QAction::triggered, view,
                         [view, level] { view->contextMenuHeading(level); });
    }
    if (current > 0) {
        menu->addSeparator();
        QAction* normal = addItem(menu, L10n::tr("Normal Text"), "paragraph", 0);
        normal->setData(0);
        QObject::connect(normal, &QAction::triggered, view,
                         [view] { view->contextMenuHeading(0); });
    }
    return menu;
}

QMenu* listMenu(QMenu* parent, MarkdownTextView* view) {
    QMenu* menu = parent->addMenu(L10n::tr("List"));
    menu->menuAction()->setIcon(menuSymbol(QStringLiteral("list.bullet"), symbolColour(parent)));
    addRows(menu, view, listRows, std::size(listRows));
    return menu;
}

QPalette menuPalette(ColorScheme scheme) {
    const bool dark = scheme == ColorScheme::Dark;
    const DesignSystem& active = AppearanceService::shared().designSystem();
    const DesignSystem standard =
        DesignSystem::make(dark ? DesignSystem::Colors::dark() : DesignSystem::Colors::light(),
                           dark ? FontDesign::Default : FontDesign::Serif, dark);
    QPalette palette = AppearanceService::palette(active.isDark() == dark ? active : standard);
    // Fusion etches disabled items in the light colour, a bright ghost on a
    // dark menu.
    palette.setColor(QPalette::Light, palette.color(QPalette::Window));
    return palette;
}

} // namespace

QMenu* makeMenu(MarkdownTextView* view) {
    auto* menu = new QMenu();
    const std::optional<EditorTheme> theme = view->editorTheme();
    applyAppearance(menu, theme);
    addRows(menu, view, editRows, std::size(editRows));
    QMenu* headings = headingMenu(menu, view);
    QMenu* lists = listMenu(menu, view);
    applyAppearance(headings, theme);
    applyAppearance(lists, theme);
    addRows(menu, view, blockRows, std::size(blockRows));
    return menu;
}

QIcon menuSymbol(const QString& name, const QColor& colour) {
    if (!Symbols::isKnown(name))
        return {};
    return Symbols::icon(name, colour);
}

std::optional<ColorScheme> resolvedAppearance(const std::optional<EditorTheme>& theme) {
    if (!theme)
        return std::nullopt;
    return isDarkTheme(*theme) ? ColorScheme::Dark : ColorScheme::Light;
}

void applyAppearance(QWidget* widget, const std::optional<EditorTheme>& theme) {
    if (const auto scheme = resolvedAppearance(theme))
        widget->setPalette(menuPalette(*scheme));
}

} // namespace EditorContextMenuBuilder
