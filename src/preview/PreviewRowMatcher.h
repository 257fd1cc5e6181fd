#pragma once

#include "core/MarkdownTree.h"

#include <vector>

// Which rows of the last rendering a new parse can keep. A top-level block is
// known by its kind and its whole source lines, never by its position, so an
// edit re-creates only the blocks it touched. A candidate is kept only when
// its tree is the same too: a block's rendering can change while its lines do
// not (a link whose reference definition was edited elsewhere).
namespace PreviewRowMatcher {

// A hash of the block's kind and source lines.
size_t key(const ParsedMarkdown& parsed, const MarkdownNode& block);

// For each new block, the index of the old block whose views it keeps, or -1.
// An old block serves at most once; equal blocks pair up in document order.
std::vector<int> match(const ParsedMarkdown& before, const std::vector<size_t>& beforeKeys,
                       const ParsedMarkdown& after, const std::vector<size_t>& afterKeys);

} // namespace PreviewRowMatcher
