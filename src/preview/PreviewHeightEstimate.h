#pragma once

#include "core/MarkdownTree.h"
#include "preview/InlineSlice.h"
#include "preview/TableSlice.h"

// A guess at the height a top-level block's view will take at a width,
// outer padding included, made without building the view. The preview uses
// it for blocks far from the visible part, whose views are not made yet, so
// the scroll range is about right from the start; a block's real height
// replaces the guess once its view exists.
namespace PreviewHeightEstimate {

// slice: the rows of a table block that the view shows; inlines: the
// children of a heading or paragraph.
int height(const MarkdownNode& block, int width, double fontSize, const TableSlice& slice = {},
           const InlineSlice& inlines = {});

} // namespace PreviewHeightEstimate
