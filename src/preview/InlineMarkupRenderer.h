#pragma once

#include "core/MarkdownTree.h"
#include "preview/MarkdownRendererContext.h"
#include "preview/StyledText.h"

#include <QColor>
#include <QFont>

// Inline Markdown (text, emphasis, code, links ...) turned into styled text.
namespace InlineMarkupRenderer {

struct Style {
    QFont font;
    double size = 15; // logical pixels of the font
    QColor color;
    qreal lineSpacing = 7;
    qreal tracking = 0; // extra space between letters
};

// The base style of a heading level (1 to 6) or of body text (0).
Style style(const MarkdownRendererContext& context, int headingLevel = 0);

// The text size of a heading level (1 to 6) or of body text (0).
double textSize(int headingLevel, double bodySize);

// Inline code size for a base size: 1.5 smaller, never below 11.
double inlineCodeSize(double baseSize);

StyledText render(const MarkdownNode& node, const MarkdownRendererContext& context,
                  const Style& style);
// The container's children rendered one after the other.
StyledText renderChildren(const MarkdownNode& container, const MarkdownRendererContext& context,
                          const Style& style);

} // namespace InlineMarkupRenderer
