#pragma once

#include "core/MarkdownTree.h"

#include <QStringList>

namespace MarkdownDump {

// One line per block, indented by depth, with its kind, distinguishing values
// and inline content. `withPositions` adds every node's source range and list
// tightness, so two trees dump alike only when no reader could tell them apart.
QStringList dump(const MarkdownNode& node, bool withPositions = false);

// The image nodes of a tree, in document order.
QList<const MarkdownNode*> images(const MarkdownNode& node);

} // namespace MarkdownDump
