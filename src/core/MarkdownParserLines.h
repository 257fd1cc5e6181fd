#pragma once

#include "core/MarkdownTree.h"

#include <QByteArray>
#include <QStringView>
#include <utility>

class TableJoin;
struct BlockMemory;

// Lines whose part in the tree is known from the line alone, so that many of
// them (the rows below an edit in a long table) need no parse: rows of a
// table, and lines of a paragraph that hold nothing but plain text.
namespace MarkdownParser {

// Whether the parser makes `line` (without its line feed), below a row of a
// top-level table, a row of that table: one that starts with a pipe and holds
// a cell with something in it.
bool isPlainRow(QStringView line);
// Whether `line`, below a paragraph's line or after a blank line, is a line of
// that paragraph or starts one that is its own text alone: letters, digits,
// spaces and pipes, a pipe first, no space last.
bool isPlainText(QStringView line);
bool isBlankLine(QStringView line);

// Puts lines first..last of `parsed`, each a plain row, into `join` as rows
// of `cells` cells, parsed after `before` (the definitions and the table's
// header and delimiter lines) when first read.
void appendLineRows(TableJoin& join, const ParsedMarkdown& parsed, int first, int last,
                    size_t cells, const QByteArray& before);
// The paragraph of lines first..last of `parsed`, each plain text.
std::pair<MarkdownNode, BlockMemory> plainParagraph(const ParsedMarkdown& parsed, int first,
                                                    int last);
// The columns cmark counts for `line`: its length in UTF-8.
int utf8Length(QStringView line);

} // namespace MarkdownParser
