#include "preview/PreviewContextMenuBuilder.h"

#include "core/L10n.h"
#include "editor/EditorContextMenuBuilder.h"

#include <QMenu>

bool PreviewContextMenuBuilder::hasText(const QString& selectedText) {
    return !selectedText.trimmed().isEmpty();
}

QMenu* PreviewContextMenuBuilder::makeMenu(const QString& selectedText,
                                           const std::optional<EditorTheme>& theme,
                                           const TextAction& onCopy,
                                           const TextAction& onFindInEditor, QWidget* parent) {
    auto* menu = new QMenu(parent);
    EditorContextMenuBuilder::applyAppearance(menu, theme);
    const bool enabled = hasText(selectedText);
    const auto addItem = [&](const QString& title, const char* symbol, const TextAction& action) {
        QAction* item = menu->addAction(title);
        item->setEnabled(enabled);
        item->setIcon(EditorContextMenuBuilder::menuSymbol(QLatin1String(symbol),
                                                           menu->palette().color(QPalette::Text)));
        if (action)
            QObject::connect(item, &QAction::triggered, menu,
                             [action, selectedText] { action(selectedText); });
        return item;
    };
    QAction* copy = addItem(L10n::tr("Copy"), "doc.on.doc", onCopy);
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copy->setShortcutContext(Qt::WidgetShortcut);
    menu->addSeparator();
    addItem(L10n::tr("Find in Editor"), "arrow.left.circle", onFindInEditor);
    return menu;
}
