#pragma once

#include "core/MarkdownTree.h"

#include <QStringView>
#include <memory>

struct MarkdownTreeStorage;

// What the parser needs to parse a text piece by piece (a section, the
// lines an edit touched) and put the pieces together again.
namespace MarkdownParser {

// The text of lines first..last (1-based, inclusive), each with its line feed.
QStringView linesOf(const ParsedMarkdown& parsed, int first, int last);
// Where cmark ends a document: the end of its last line that has text.
SourceRange documentRange(const ParsedMarkdown& parsed);
// Makes `storage`'s blocks the children of the parse's document.
void finishStorage(ParsedMarkdown& parsed, std::shared_ptr<MarkdownTreeStorage> storage);
// Same tree, `b` moved down by `bShift` lines.
bool sameTree(const MarkdownNode& a, const MarkdownNode& b, int bShift);

} // namespace MarkdownParser
