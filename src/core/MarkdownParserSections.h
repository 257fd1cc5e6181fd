#pragma once

#include "core/MarkdownTree.h"

#include <QByteArray>
#include <QtGlobal>

struct MarkdownTreeStorage;

// A long text parsed a section at a time, and a long table a run of rows at
// a time, giving the same tree as the text parsed whole.
namespace MarkdownParser {

// A large text a section at a time, so that the parser never holds more
// than a section's nodes. Links resolve with definitions anywhere in the
// text: when it may hold some, a first pass gathers them, and each section
// is then parsed after them.
void parseInSections(ParsedMarkdown& parsed, qsizetype chars, MarkdownTreeStorage& storage);
// Threads for parseInSections to parse the sections likely to come next
// on while it parses one; a parse before this goes one section after
// another.
void prepareSectionThreads();

// A long top-level table is parsed a run of body rows at a time: where it
// does not fit a section, and where an edit touched a few of its rows. Each
// run is parsed after the table's header and delimiter lines, which put the
// parser in the state it is in on any line of the table's body (a table of
// those columns open): a row depends on its line alone, and a line that is
// no row ends the table there as it would in the whole text.

// The header and delimiter lines of a top-level table, to parse a run of
// its rows after; empty where its first line may not be its header (a table
// that took a paragraph's last line starts where the paragraph did).
QByteArray tableHeadInput(const ParsedMarkdown& parsed, const MarkdownNode& table);
// Whether `block`, parsed after the header and delimiter lines of `table`
// with body lines from `firstRow` on, is that table going on: the same
// header, and a row on each line from `firstRow`.
bool continuesTable(const MarkdownNode& block, const MarkdownNode& table, int firstRow);

} // namespace MarkdownParser
