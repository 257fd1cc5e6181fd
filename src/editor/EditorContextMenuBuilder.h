#pragma once

#include "core/AppearanceResolver.h"
#include "editor/EditorTheme.h"

#include <QIcon>
#include <optional>

class MarkdownTextView;
class QMenu;
class QWidget;

// The editor's right-click menu, built afresh each time it opens so that its
// enabled states and check marks follow the selection: cut, copy, paste;
// bold, italic, strikethrough, code, link; heading and list submenus,
// blockquote, code block, divider; find and select all. Every item acts on
// the view it was built for.
namespace EditorContextMenuBuilder {

// A new menu for the view; the caller owns it.
QMenu* makeMenu(MarkdownTextView* view);

// A menu item's symbol in the menu's text colour; no icon for names the
// symbol table does not know.
QIcon menuSymbol(const QString& name, const QColor& colour);

// Light or dark menus and popovers for an editor theme (dark when its text
// is bright); none without a theme, so the system's look stays.
std::optional<ColorScheme> resolvedAppearance(const std::optional<EditorTheme>& theme);

// Gives a menu or popover the look of the theme (nothing without one): the
// active design system's palette when it has that scheme, else the standard
// light or dark one.
void applyAppearance(QWidget* widget, const std::optional<EditorTheme>& theme);

} // namespace EditorContextMenuBuilder
