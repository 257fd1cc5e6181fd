#pragma once

#include "core/MarkdownTree.h"
#include "core/TextSnapshot.h"

// The parse of an edited text made from the parse before the edit.
namespace MarkdownParser {

// Re-parses only the top-level blocks an edit touched. Block structure is
// decided line by line: where a top-level block starts on a line that the edit
// left alone, with every line before it alone too, the parser is in the same
// state as at the start of a document. So the edited part is parsed from the
// start of the block before the edit through the first block after it, and
// kept only when that block comes out exactly as before (then everything after
// it is as before too). Reference definitions resolve across the whole
// document: the edited part is parsed after the document's definitions, and
// kept only when it defines what it defined before, so that the definitions
// stand as they were; an edit that changes them has the text parsed whole.
// The blocks before and after the edit are shared with the earlier parse,
// not copied; those after it are copied only when the edit added or removed
// lines. In a table, the edited part starts at the first edited row
// instead (see tableHeadInput), and the rows it did not touch are shared.
// Where that is not sure to give the tree of a whole parse, returns false
// with `after` (which holds the edited text) half made. `known`, when given,
// says where the texts differ.
bool reparseEdited(const ParsedMarkdown& before, ParsedMarkdown& after,
                   const TextDifference* known = nullptr);

} // namespace MarkdownParser
