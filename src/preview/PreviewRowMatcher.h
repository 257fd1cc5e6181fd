#pragma once

#include "core/MarkdownTree.h"
#include "preview/InlineSlice.h"
#include "preview/TableSlice.h"

#include <cstdint>
#include <functional>
#include <vector>

// Which rows of the last rendering a new parse can keep. A row is a top-level
// block, or a piece of a long table or of a paragraph of many pictures; it is
// known by its kind and its whole source lines (a paragraph's piece, all on
// the paragraph's lines, by its children), never by its position, so an edit
// re-creates only the rows it touched. A candidate is kept only when its tree
// is the same too: a block's rendering can change while its lines do not (a
// link whose reference definition was edited elsewhere).
namespace PreviewRowMatcher {

struct Piece {
    const MarkdownNode* block = nullptr;
    TableSlice slice;    // the whole block unless it is a piece of a table
    InlineSlice inlines; // the whole block unless it is a piece of a paragraph or heading
    int firstLine = 0;
    int lastLine = 0;
};

// Which blocks come in pieces: tables of more than `tableThreshold` body
// rows, in pieces of `tableRows`; headings and paragraphs whose pictures
// stand on rows of their own, of more than `inlineThreshold` children, in
// pieces of `inlineChildren`.
struct Slicing {
    int tableThreshold = 0;
    int tableRows = 0;
    int inlineThreshold = 0;
    int inlineChildren = 0;
};

// The rows of the top-level blocks first..end-1 of a parse, every block
// whole unless `slicing` cuts it.
std::vector<Piece> pieces(const ParsedMarkdown& parsed, const Slicing& slicing, size_t first,
                          size_t end);

// A hash of the piece's kind, slice and source lines; of its children, for a
// piece of a paragraph or heading (all of them stand on the block's lines).
size_t key(const ParsedMarkdown& parsed, const Piece& piece);
// Same source lines and the same tree apart from source positions; the same
// children, for a piece of a paragraph or heading.
bool same(const ParsedMarkdown& before, const Piece& a, const ParsedMarkdown& after,
          const Piece& b);

// For each new row, the index of the old row it keeps, or -1. An old row
// serves at most once; equal rows pair up in document order. same(old, new)
// confirms a pair whose keys agree.
std::vector<int> match(const std::vector<size_t>& beforeKeys, const std::vector<size_t>& afterKeys,
                       const std::function<bool(size_t, size_t)>& same);

// How the rows of a parse come from the rows of the one before. The blocks
// the parse kept of it keep their rows unread: `keptAbove` as they were,
// `keptBelow` moved by `lineShift` lines. Only the rows between are matched,
// which reads both trees whole when the parse kept nothing, so the parsing
// thread works it out.
struct Plan {
    std::uint64_t from = 0; // the serials of the two parses
    std::uint64_t to = 0;
    size_t keptAbove = 0;
    size_t keptBelow = 0;
    int lineShift = 0;
    size_t replaced = 0;       // rows between in the parse before
    std::vector<Piece> pieces; // rows between in the new one
    std::vector<size_t> keys;
    std::vector<int> kept; // per piece: the row between it keeps (from the first), or -1
    // Per piece not kept (empty: none): the row between whose height it
    // takes as its estimate, or -1. A piece of a long table that shows rows
    // moved up or down takes that of the piece at its place.
    std::vector<int> estimateFrom;
};
Plan plan(const ParsedMarkdown& before, const ParsedMarkdown& after, const Slicing& slicing);

} // namespace PreviewRowMatcher
