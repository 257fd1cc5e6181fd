#pragma once

#include "core/MarkdownTree.h"
#include "core/TextSnapshot.h"

#include <QString>
#include <QtGlobal>
#include <memory>

// Parses Markdown text into the typed tree with cmark-gfm. Its parts, for
// its own use, live beside this file: MarkdownParserConversion (cmark's tree
// into the typed one), MarkdownParserSections (a long text a section at a
// time), MarkdownParserReparse (the blocks an edit touched) and
// MarkdownParserParts (what those share).
namespace MarkdownParser {

// A text longer than this is parsed about this many characters at a time,
// giving the same tree: the parser's own memory for a whole text of many
// megabytes would dwarf the tree it makes.
constexpr qsizetype sectionChars = 512 * 1024;

std::shared_ptr<const ParsedMarkdown> parse(const QString& text,
                                            qsizetype sectionChars = MarkdownParser::sectionChars);
// The parse of `text`, the same as parse(text), made from an earlier parse by
// parsing again only the top-level blocks an edit touched, or the rows of a
// table, where that is sure to give the same tree (and the whole text otherwise).
// Where the edit lies is found by comparing the two texts, or taken from
// `known` (from the snapshots the texts came from) without reading them.
std::shared_ptr<const ParsedMarkdown> reparse(const ParsedMarkdown& before, const QString& text,
                                              const TextDifference* known = nullptr);

} // namespace MarkdownParser
