#pragma once

#include "core/MarkdownTree.h"
#include "preview/MarkdownRendererContext.h"

#include <QWidget>
#include <memory>

namespace TestSupport {

// The document's top-level blocks stacked as the preview stacks them (16
// apart, 24 from the sides, 8 above and below) and laid out at a width.
std::unique_ptr<QWidget> previewColumn(const MarkdownNode& document,
                                       const MarkdownRendererContext& context, int width);

// A context over a text with a design system of the given scheme.
MarkdownRendererContext context(const QString& markdown, bool dark = false);

} // namespace TestSupport
