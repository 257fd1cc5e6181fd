#pragma once

#include "editor/EditorTheme.h"

#include <QIcon>
#include <QPalette>

class QMenu;

// Context menus and popovers look light or dark after the active editor
// theme, not after the system: a bright text colour means the dark look.
namespace MenuAppearance {

// A plain light or dark menu palette with the theme's accent as highlight.
QPalette palette(const EditorTheme& theme);
void apply(QMenu* menu, const EditorTheme& theme);
// A menu item's symbol, drawn in the menu's text colour.
QIcon symbol(const QString& name, const EditorTheme& theme);

} // namespace MenuAppearance
