#pragma once

#include "editor/EditorTheme.h"

#include <QString>
#include <functional>
#include <optional>

class QMenu;
class QWidget;

// The preview's context menu: "Copy" and "Find in Editor", enabled only when
// the selection holds more than white space. Both hand on the selection as it
// was read, untrimmed. With a theme the menu takes its light or dark look.
namespace PreviewContextMenuBuilder {

using TextAction = std::function<void(const QString&)>;

// selectedText: null or empty when nothing is selected. The caller owns the
// menu (parent it, or delete it after exec).
QMenu* makeMenu(const QString& selectedText, const std::optional<EditorTheme>& theme,
                const TextAction& onCopy, const TextAction& onFindInEditor,
                QWidget* parent = nullptr);

// Whether a selection is worth acting on: not blank after trimming.
bool hasText(const QString& selectedText);

} // namespace PreviewContextMenuBuilder
