#pragma once

#include "core/MarkdownTree.h"

#include <QString>

// Turns a node back into Markdown text for readers that show a node they do not
// render: HTML literals trimmed, a hard break as two spaces, an image as
// ![alt](src "title"). Text is written as it stands, never escaped.
namespace MarkdownFormatter {

QString format(const MarkdownNode& node);

} // namespace MarkdownFormatter
