#include "core/MarkdownParserReparse.h"
#include "core/MarkdownParser.h"
#include "core/MarkdownParserConversion.h"
#include "core/MarkdownParserLines.h"
#include "core/MarkdownParserParts.h"
#include "core/MarkdownParserSections.h"
#include "core/MarkdownTreeStorage.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace MarkdownParser {

namespace {

bool hasLoneCarriageReturn(QStringView text) {
    for (qsizetype at = text.indexOf(u'\r'); at >= 0; at = text.indexOf(u'\r', at + 1))
        if (at + 1 == text.size() || text[at + 1] != u'\n')
            return true;
    return false;
}

// The rows of a table an edit leaves as they were: the header and the rows
// above it (`above`, one a line) and those below it (`below`).
struct KeptRows {
    size_t above = 0;
    size_t below = 0;
};

// The rows of `table` kept by an edit that re-parsed its rows from
// `startLine` on: those above, and where it ended `within` the table, those
// below the `replaced` rows; nothing where the rows are not one a line there.
std::optional<KeptRows> keptRows(const MarkdownNode& table, int startLine, int replaced,
                                 bool within) {
    const MarkdownNodeList& rows = table.children;
    const auto above = size_t(startLine - table.range.startLine - 1);
    const size_t below = within ? rows.size() - qMin(rows.size(), above + size_t(replaced)) : 0;
    // The last row kept stands on the line above the edit; the header alone,
    // with the delimiter line between.
    const int lastAbove = startLine - (above == 1 ? 2 : 1);
    if (above == 0 || above > rows.size() || rows[above - 1].range.startLine != lastAbove ||
        (within &&
         (below == 0 || rows[rows.size() - below].range.startLine != startLine + replaced)))
        return std::nullopt;
    return KeptRows{above, below};
}

// Puts the rows an edit re-parsed (the first block of `region`, parsed
// after the header and delimiter lines) into the table they belong to: the
// rows above them as they were, and where the edit ended `within` the
// table, the `replaced` rows from `startLine` on gone and those below moved
// by the lines the edit added. Returns the rows it kept.
// Rows known by their lines alone, below those parsed: lines first..last of
// `parsed`, parsed after `before` when read.
struct LineRows {
    const ParsedMarkdown* parsed = nullptr;
    int first = 0;
    int last = -1;
    QByteArray before;
    size_t count() const { return size_t(last - first + 1); }
};

std::optional<KeptRows> spliceTableRows(const MarkdownNode& table, const BlockMemory& memory,
                                        int startLine, int replaced, bool within, int lineShift,
                                        MarkdownTreeStorage& region,
                                        const LineRows& lineRows = {}) {
    // Joined again and again, a table would keep the arena of every edit.
    constexpr size_t mostOwners = 256;
    const MarkdownNode& piece = region.blocks.front();
    const MarkdownNodeList& rows = table.children;
    const std::optional<KeptRows> kept = keptRows(table, startLine, replaced, within);
    if (!kept)
        return std::nullopt;
    const auto [above, below] = *kept;
    TableJoin join(above + piece.children.size() - 1 + below + lineRows.count());
    join.add(rows.begin(), above, memory);
    join.add(piece.children.begin() + 1, piece.children.size() - 1, region.memory.front());
    if (lineRows.count() > 0)
        appendLineRows(join, *lineRows.parsed, lineRows.first, lineRows.last,
                       table.children.front().children.size(), lineRows.before);
    join.addMoved(rows.end() - below, below, memory, lineShift);
    if (join.owners() > mostOwners)
        return std::nullopt;
    MarkdownNode joined = table;
    if (within) {
        joined.range.endLine += lineShift;
    } else if (lineRows.count() > 0) {
        joined.range.endLine = lineRows.last;
        joined.range.endColumn =
            utf8Length(lineRows.parsed->sourceLines(lineRows.last, lineRows.last));
    } else {
        // The table ends with its last row, which the edit may have left.
        const SourceRange& end =
            piece.children.size() > 1 || above == 1 ? piece.range : rows[above - 1].range;
        joined.range.endLine = end.endLine;
        joined.range.endColumn = end.endColumn;
    }
    auto [node, joinedMemory] = join.finish(joined);
    region.blocks.front() = node;
    region.memory.front() = std::move(joinedMemory);
    return kept;
}

// The new text's line starts: those within the common start (`prefix`
// characters), the edited part's, and those within the common end
// (`suffix`), moved.
void moveLineStarts(const ParsedMarkdown& before, ParsedMarkdown& after, qsizetype prefix,
                    qsizetype suffix) {
    const QString& oldText = before.text;
    const QString& newText = after.text;
    const auto& oldStarts = before.lineStarts;
    const qsizetype growth = newText.size() - oldText.size();
    std::vector<qsizetype>& starts = after.lineStarts;
    const auto above = std::upper_bound(oldStarts.begin(), oldStarts.end(), prefix);
    const auto below =
        std::lower_bound(oldStarts.begin(), oldStarts.end(), oldText.size() - suffix + 1);
    starts.reserve(oldStarts.size() + size_t(qMax<qsizetype>(0, growth)));
    starts.assign(oldStarts.begin(), above);
    const QStringView edited = QStringView(newText).first(newText.size() - suffix);
    for (qsizetype at = edited.indexOf(u'\n', prefix); at >= 0; at = edited.indexOf(u'\n', at + 1))
        starts.push_back(at + 1);
    for (auto start = below; start != oldStarts.end(); ++start)
        starts.push_back(*start + growth);
}

// The lines of the old text an edit left alone.
struct EditedLines {
    // Lines above the edit: those ending, line feed included, within the
    // common start.
    int unchangedAbove = 0;
    // The first line below it: the first old line that lies in the common
    // end and starts a line in the new text too (past the last line when none).
    int unchangedBelow = 0;
    // Lines the edit added (removed, when less than 0).
    int lineShift = 0;
};

// From the characters both texts share at the start and at the end, once
// the new text's line starts are known.
EditedLines editedLines(const ParsedMarkdown& before, const ParsedMarkdown& after, qsizetype prefix,
                        qsizetype suffix) {
    const auto& oldStarts = before.lineStarts;
    const qsizetype growth = after.text.size() - before.text.size();
    EditedLines lines;
    lines.unchangedAbove =
        int(std::upper_bound(oldStarts.begin(), oldStarts.end(), prefix) - oldStarts.begin()) - 1;
    lines.unchangedBelow = int(oldStarts.size()) + 1;
    for (auto start =
             std::lower_bound(oldStarts.begin(), oldStarts.end(), before.text.size() - suffix);
         start != oldStarts.end(); ++start) {
        const qsizetype there = *start + growth;
        if (there == 0 || after.text[there - 1] == u'\n') {
            lines.unchangedBelow = int(start - oldStarts.begin()) + 1;
            break;
        }
    }
    lines.lineShift = int(after.lineStarts.size()) - int(oldStarts.size());
    return lines;
}

// The lines an edit parses again, and the top-level blocks they replace.
struct Region {
    size_t first = 0; // the first block parsed again
    // The block after the edit, parsed again to see it come out as it was;
    // past the last block when there is none.
    size_t next = 0;
    // The table whose rows the edit touched, parsed from the first edited
    // row on after its header and delimiter lines (`tableHead`).
    const MarkdownNode* table = nullptr;
    QByteArray tableHead;
    // The edit ends above the table's last row: the rows below it stay.
    bool withinTable = false;
    int startLine = 0;
    int endLine = 0;    // in the new text
    int oldEndLine = 0; // in the old text
    // In a table: the last line the edit touched, in the new text and the old.
    int editEnd = 0;
    int oldEditEnd = 0;
};

// From the last block that starts on a line above the edit (or the top),
// through the first block that starts below it; none where the lines make
// no region.
std::optional<Region> regionOf(const ParsedMarkdown& before, const ParsedMarkdown& after,
                               const EditedLines& lines) {
    const MarkdownNodeList& blocks = before.document.children;
    const auto startsBy = [&](int line) {
        return size_t(std::partition_point(blocks.begin(), blocks.end(),
                                           [line](const MarkdownNode& block) {
                                               return block.range.startLine <= line;
                                           }) -
                      blocks.begin());
    };
    Region region;
    const size_t above = startsBy(lines.unchangedAbove);
    region.first = above > 0 ? above - 1 : 0;
    region.next =
        qMax(region.first, startsBy(qMax(lines.unchangedBelow - 1, lines.unchangedAbove)));
    // An edit below the header and delimiter rows of a table re-parses from
    // its first edited row on, after those two lines. One that ends above
    // the table's last row: the rows below it stay, moved by the lines it added.
    const MarkdownNode& firstBlock = blocks[region.first];
    if (above > 0 && firstBlock.kind == MarkdownNodeKind::Table &&
        lines.unchangedAbove + 1 >= firstBlock.range.startLine + 2 &&
        lines.unchangedAbove + 1 <= firstBlock.range.endLine + 1) {
        region.tableHead = tableHeadInput(before, firstBlock);
        if (!region.tableHead.isEmpty())
            region.table = &firstBlock;
    }
    region.startLine = region.table ? lines.unchangedAbove + 1
                       : above > 0  ? firstBlock.range.startLine
                                    : 1;
    // In a table the edited lines are parsed again, and where the edit only
    // removed lines, the row after them, so that some line is.
    int tableEnd = lines.unchangedBelow - 1;
    if (region.table && tableEnd + lines.lineShift < region.startLine)
        ++tableEnd;
    region.withinTable = region.table && tableEnd < region.table->range.endLine;
    region.editEnd = tableEnd + lines.lineShift;
    region.oldEditEnd = tableEnd;

    const int newLineCount = int(after.lineStarts.size());
    const bool blockBelow = region.next < blocks.size();
    region.endLine = region.withinTable ? tableEnd + lines.lineShift
                     : blockBelow       ? blocks[region.next].range.endLine + lines.lineShift
                                        : newLineCount;
    region.oldEndLine = region.withinTable ? tableEnd
                        : blockBelow       ? blocks[region.next].range.endLine
                                           : int(before.lineStarts.size());
    if (region.startLine < 1 || region.endLine < region.startLine || region.endLine > newLineCount)
        return std::nullopt;
    return region;
}

// The document's definitions went in as they were (`defined` starts with
// them), and the edited part defines what it did before.
bool definesAsBefore(const ParsedMarkdown& before, const Region& region,
                     std::vector<ReferenceDefinition> defined) {
    const std::vector<ReferenceDefinition>& given = before.storage->definitions;
    if (defined.size() < given.size() || !std::equal(given.begin(), given.end(), defined.begin()))
        return false;
    defined.erase(defined.begin(), defined.begin() + qsizetype(given.size()));
    return defined == definitionsIn(linesOf(before, region.startLine, region.oldEndLine),
                                    (region.startLine > 1 ? QByteArray("\n") : QByteArray()) +
                                        region.tableHead);
}

// Parses the region into `parsed`, after the document's definitions: true
// where its blocks start where it does, or go on with its table, and define
// what they did.
bool parseRegion(const ParsedMarkdown& before, const ParsedMarkdown& after, const Region& region,
                 MarkdownTreeStorage& parsed) {
    const std::vector<ReferenceDefinition>& definitions = before.storage->definitions;
    const int startLine = region.startLine;
    // The parser drops a byte-order mark only where its input starts, not
    // after the definitions.
    if (startLine == 1 && !definitions.empty() && after.text.startsWith(QChar(0xFEFF)))
        return false;
    const QStringView edited = linesOf(after, startLine, region.endLine);
    // A part that large is parsed a section at a time instead, in bounded memory.
    if (edited.size() > 2 * MarkdownParser::sectionChars)
        return false;
    // A region below the first line never starts the input: a U+FEFF that
    // starts its first line is text, as in the whole document.
    QByteArray ahead = ReferenceDefinitions::asMarkdown(definitions);
    if (ahead.isEmpty() && startLine > 1)
        ahead = "\n";
    MarkdownNode regionRoot;
    std::vector<ReferenceDefinition> defined;
    parseTree(edited, startLine - 1, regionRoot, parsed, ahead + region.tableHead, &defined);
    if (region.table &&
        (parsed.blocks.empty() || !continuesTable(parsed.blocks.front(), *region.table, startLine)))
        return false;
    if (!std::all_of(parsed.blocks.begin() + (region.table ? 1 : 0), parsed.blocks.end(),
                     [&](const MarkdownNode& block) {
                         return block.range.isValid() && block.range.startLine >= startLine;
                     }))
        return false;
    return definesAsBefore(before, region, std::move(defined));
}

// Whether the region parsed again ends as it did, and then `parsed` without
// the block after the edit: the old one is kept, moved.
bool endsAsBefore(const ParsedMarkdown& before, const Region& region, int lineShift,
                  MarkdownTreeStorage& parsed) {
    const MarkdownNodeList& blocks = before.document.children;
    if (region.withinTable) {
        // Every edited line is a row of the table still.
        return parsed.blocks.size() == 1 && parsed.blocks.front().children.size() ==
                                                size_t(region.endLine - region.startLine + 2);
    }
    if (region.next < blocks.size()) {
        // The region ends with the block after the edit, exactly as it was.
        if (parsed.blocks.size() < (region.table ? 2u : 1u) ||
            !sameTree(parsed.blocks.back(), blocks[region.next], lineShift))
            return false;
        parsed.blocks.pop_back();
        parsed.memory.pop_back();
    }
    return true;
}

// The blocks of the edited text: those above the region as they were, the
// region's, and those below it moved by the lines the edit added.
std::shared_ptr<MarkdownTreeStorage> joinedStorage(const ParsedMarkdown& before,
                                                   const Region& region, int lineShift,
                                                   const MarkdownTreeStorage& parsed) {
    const MarkdownTreeStorage& old = *before.storage;
    const MarkdownNodeList& blocks = before.document.children;
    auto storage = std::make_shared<MarkdownTreeStorage>();
    storage->definitions = old.definitions;
    const size_t count = region.first + parsed.blocks.size() + (blocks.size() - region.next);
    storage->blocks.reserve(count);
    storage->memory.reserve(count);
    storage->blocks.insert(storage->blocks.end(), blocks.begin(), blocks.begin() + region.first);
    storage->memory.insert(storage->memory.end(), old.memory.begin(),
                           old.memory.begin() + qsizetype(region.first));
    storage->blocks.insert(storage->blocks.end(), parsed.blocks.begin(), parsed.blocks.end());
    storage->memory.insert(storage->memory.end(), parsed.memory.begin(), parsed.memory.end());
    for (size_t i = region.next; i < blocks.size(); ++i) {
        auto [block, memory] = MarkdownTreeStorage::moved(blocks[i], old.memory[i], lineShift);
        storage->blocks.push_back(block);
        storage->memory.push_back(std::move(memory));
    }
    return storage;
}

// Records what the parse `after` kept of `before`.
void noteReuse(const ParsedMarkdown& before, ParsedMarkdown& after, const Region& region,
               int lineShift, const MarkdownTreeStorage& parsed,
               const std::optional<KeptRows>& rows) {
    after.reuse.from = before.serial;
    after.reuse.keptAbove = region.first;
    after.reuse.keptBelow = before.document.children.size() - region.next;
    after.reuse.lineShift = lineShift;
    if (rows && parsed.blocks.size() == 1) {
        after.reuse.table = region.first;
        after.reuse.rowsAbove = rows->above;
        after.reuse.rowsBelow = rows->below;
    }
}

// An edit in a table that ends it early (a blank line: the rows below become
// a paragraph), or that makes it go on into the lines below it (a paragraph
// there becomes rows), changes what every line below it is, up to the next
// blank line. Where each of those lines is known from itself alone (a plain
// row, a line of plain text), only the edited lines are parsed: the rows
// below are made from their lines, their cells parsed when read, and the
// paragraph from its lines. False where the lines do not allow that.
bool reparseBelowTable(const ParsedMarkdown& before, ParsedMarkdown& after, Region region,
                       const EditedLines& lines) {
    const MarkdownNodeList& blocks = before.document.children;
    const int startLine = region.startLine;
    const int edited = region.editEnd;
    const auto lineCount = int(after.lineStarts.size());
    if (!region.table || edited < startLine || edited >= lineCount)
        return false;
    const auto lineAt = [&](int line) { return after.sourceLines(line, line); };
    // The rows go on into lines that were no rows, or a blank line ends them.
    const bool intoLinesBelow = edited - lines.lineShift >= region.table->range.endLine;
    const bool endsTable = isBlankLine(lineAt(edited));
    if (!(intoLinesBelow && isPlainRow(lineAt(edited + 1))) &&
        !(endsTable && isPlainText(lineAt(edited + 1))))
        return false;

    QByteArray ahead = ReferenceDefinitions::asMarkdown(before.storage->definitions);
    if (ahead.isEmpty())
        ahead = "\n";
    MarkdownNode root;
    MarkdownTreeStorage parsed;
    std::vector<ReferenceDefinition> defined;
    parseTree(linesOf(after, startLine, edited), startLine - 1, root, parsed,
              ahead + region.tableHead, &defined);
    region.oldEndLine = region.oldEditEnd;
    if (parsed.blocks.empty() || !continuesTable(parsed.blocks.front(), *region.table, startLine) ||
        !definesAsBefore(before, region, std::move(defined)))
        return false;
    const MarkdownNode& piece = parsed.blocks.front();
    const bool rows = intoLinesBelow && parsed.blocks.size() == 1 && piece.children.size() > 1 &&
                      piece.children.back().range.startLine == edited;
    const bool paragraph =
        !rows && endsTable &&
        std::all_of(parsed.blocks.begin(), parsed.blocks.end(), [&](const MarkdownNode& block) {
            return (block.kind == MarkdownNodeKind::Table ||
                    block.kind == MarkdownNodeKind::Paragraph) &&
                   block.range.isValid() && block.range.endLine < edited &&
                   (&block == &piece || block.range.startLine >= startLine);
        });
    if (!rows && !paragraph)
        return false;

    // The lines below, up to a blank line or the end.
    int last = edited;
    while (last < lineCount &&
           (rows ? isPlainRow(lineAt(last + 1)) : isPlainText(lineAt(last + 1))))
        ++last;
    if (last < lineCount && !isBlankLine(lineAt(last + 1)))
        return false;
    // The blocks they were part of: tables and paragraphs, which a blank line ends.
    const int blankBelow = last + 1 - lines.lineShift;
    region.next = size_t(std::partition_point(blocks.begin(), blocks.end(),
                                              [&](const MarkdownNode& block) {
                                                  return block.range.startLine <= blankBelow;
                                              }) -
                         blocks.begin());
    if (region.next <= region.first ||
        !std::all_of(blocks.begin() + region.first, blocks.begin() + region.next,
                     [](const MarkdownNode& block) {
                         return block.kind == MarkdownNodeKind::Table ||
                                block.kind == MarkdownNodeKind::Paragraph;
                     }))
        return false;

    LineRows lineRows;
    if (rows)
        lineRows = {&after, edited + 1, last, ahead + region.tableHead};
    const std::optional<KeptRows> kept =
        spliceTableRows(*region.table, before.storage->memory[region.first], startLine, 0, false,
                        lines.lineShift, parsed, lineRows);
    if (!kept)
        return false;
    if (paragraph) {
        auto [node, memory] = plainParagraph(after, edited + 1, last);
        parsed.blocks.push_back(node);
        parsed.memory.push_back(std::move(memory));
    }
    after.document.kind = MarkdownNodeKind::Document;
    after.document.range = documentRange(after);
    finishStorage(after, joinedStorage(before, region, lines.lineShift, parsed));
    noteReuse(before, after, region, lines.lineShift, parsed, kept);
    return true;
}

} // namespace

bool reparseEdited(const ParsedMarkdown& before, ParsedMarkdown& after,
                   const TextDifference* known) {
    const QString& oldText = before.text;
    const QString& newText = after.text;
    const MarkdownTreeStorage* old = before.storage.get();
    // The parser ends a line at a carriage return alone too: its line
    // numbers are then not those of the line feeds.
    if (!old || !old->blocksHaveLines || hasLoneCarriageReturn(oldText) ||
        hasLoneCarriageReturn(newText))
        return false;
    const MarkdownNodeList blocks = before.document.children;

    // The characters both texts share at the start and at the end.
    const qsizetype prefix = known ? known->prefix : TextDifference::sharedStart(oldText, newText);
    if (prefix == oldText.size() && prefix == newText.size()) {
        after.document = before.document;
        after.storage = before.storage;
        after.lineStarts = before.lineStarts;
        after.reuse.from = before.serial;
        after.reuse.keptAbove = blocks.size();
        return true;
    }
    const qsizetype suffix = known ? known->suffix
                                   : TextDifference::sharedEnd(QStringView(oldText).sliced(prefix),
                                                               QStringView(newText).sliced(prefix));
    if (blocks.empty())
        return false;

    moveLineStarts(before, after, prefix, suffix);
    const EditedLines lines = editedLines(before, after, prefix, suffix);
    const std::optional<Region> region = regionOf(before, after, lines);
    if (region && reparseBelowTable(before, after, *region, lines))
        return true;
    MarkdownTreeStorage parsed;
    if (!region || !parseRegion(before, after, *region, parsed) ||
        !endsAsBefore(before, *region, lines.lineShift, parsed))
        return false;
    std::optional<KeptRows> rows;
    if (region->table) {
        rows = spliceTableRows(*region->table, old->memory[region->first], region->startLine,
                               region->oldEndLine - region->startLine + 1, region->withinTable,
                               lines.lineShift, parsed);
        if (!rows)
            return false;
    }

    after.document.kind = MarkdownNodeKind::Document;
    after.document.range = documentRange(after);
    finishStorage(after, joinedStorage(before, *region, lines.lineShift, parsed));
    noteReuse(before, after, *region, lines.lineShift, parsed, rows);
    return true;
}

} // namespace MarkdownParser
