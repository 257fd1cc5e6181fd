#include "core/MarkdownParserReparse.h"
#include "core/MarkdownParser.h"
#include "core/MarkdownParserConversion.h"
#include "core/MarkdownParserParts.h"
#include "core/MarkdownParserSections.h"
#include "core/MarkdownTreeStorage.h"

#include <algorithm>
#include <cstring>
#include <memory>
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

// How many characters two texts share at the start, compared a page at a time first.
qsizetype commonPrefix(QStringView a, QStringView b) {
    const qsizetype shorter = qMin(a.size(), b.size());
    constexpr qsizetype page = 2048;
    qsizetype at = 0;
    while (at + page <= shorter &&
           std::memcmp(a.utf16() + at, b.utf16() + at, page * sizeof(char16_t)) == 0)
        at += page;
    while (at < shorter && a[at] == b[at])
        ++at;
    return at;
}

// How many characters they share at the end, at most `limit`.
qsizetype commonSuffix(QStringView a, QStringView b, qsizetype limit) {
    constexpr qsizetype page = 2048;
    qsizetype at = 0;
    while (at + page <= limit &&
           std::memcmp(a.utf16() + a.size() - at - page, b.utf16() + b.size() - at - page,
                       page * sizeof(char16_t)) == 0)
        at += page;
    while (at < limit && a[a.size() - 1 - at] == b[b.size() - 1 - at])
        ++at;
    return at;
}

// Puts the rows an edit re-parsed (the first block of `region`, parsed
// after the header and delimiter lines) into the table they belong to: the
// rows above them as they were, and where the edit ended `within` the
// table, the `replaced` rows from `startLine` on gone and those below as
// they were.
bool spliceTableRows(const MarkdownNode& table, const BlockMemory& memory, int startLine,
                     int replaced, bool within, MarkdownTreeStorage& region) {
    // Joined again and again, a table would keep the arena of every edit.
    constexpr size_t mostOwners = 256;
    const MarkdownNode& piece = region.blocks.front();
    const MarkdownNodeList& rows = table.children;
    // The header and the rows above the edit, one a line.
    const auto above = size_t(startLine - table.range.startLine - 1);
    const size_t below = within ? rows.size() - qMin(rows.size(), above + size_t(replaced)) : 0;
    if (above == 0 || above > rows.size() || rows[above - 1].range.startLine != startLine - 1 ||
        (within &&
         (below == 0 || rows[rows.size() - below].range.startLine != startLine + replaced)))
        return false;
    TableJoin join(above + piece.children.size() - 1 + below);
    join.add(rows.begin(), above, memory);
    join.add(piece.children.begin() + 1, piece.children.size() - 1, region.memory.front());
    join.add(rows.end() - below, below, memory);
    if (join.owners() > mostOwners)
        return false;
    MarkdownNode joined = table;
    if (!within) {
        // The table ends with its last row, which the edit may have left.
        const SourceRange& end =
            piece.children.size() > 1 || above == 1 ? piece.range : rows[above - 1].range;
        joined.range.endLine = end.endLine;
        joined.range.endColumn = end.endColumn;
    }
    auto [node, joinedMemory] = join.finish(joined);
    region.blocks.front() = node;
    region.memory.front() = std::move(joinedMemory);
    return true;
}

} // namespace

bool reparseEdited(const ParsedMarkdown& before, ParsedMarkdown& after) {
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
    const qsizetype prefix = commonPrefix(oldText, newText);
    if (prefix == oldText.size() && prefix == newText.size()) {
        after.document = before.document;
        after.storage = before.storage;
        after.lineStarts = before.lineStarts;
        after.reuse = {before.serial, blocks.size(), 0, 0};
        return true;
    }
    const qsizetype suffix =
        commonSuffix(oldText, newText, qMin(oldText.size(), newText.size()) - prefix);
    if (blocks.empty())
        return false;

    // Line starts: those within the common start, the edited part's, and
    // those within the common end, moved.
    const auto& oldStarts = before.lineStarts;
    const qsizetype growth = newText.size() - oldText.size();
    {
        std::vector<qsizetype>& starts = after.lineStarts;
        const auto above = std::upper_bound(oldStarts.begin(), oldStarts.end(), prefix);
        const auto below =
            std::lower_bound(oldStarts.begin(), oldStarts.end(), oldText.size() - suffix + 1);
        starts.reserve(oldStarts.size() + size_t(qMax<qsizetype>(0, growth)));
        starts.assign(oldStarts.begin(), above);
        const QStringView edited = QStringView(newText).first(newText.size() - suffix);
        for (qsizetype at = edited.indexOf(u'\n', prefix); at >= 0;
             at = edited.indexOf(u'\n', at + 1))
            starts.push_back(at + 1);
        for (auto start = below; start != oldStarts.end(); ++start)
            starts.push_back(*start + growth);
    }

    // Lines above the edit: those ending, line feed included, within the common start.
    const int unchangedAbove =
        int(std::upper_bound(oldStarts.begin(), oldStarts.end(), prefix) - oldStarts.begin()) - 1;
    // Lines below it: from the first old line that lies in the common end and
    // starts a line in the new text too.
    int unchangedBelow = int(oldStarts.size()) + 1;
    for (auto start = std::lower_bound(oldStarts.begin(), oldStarts.end(), oldText.size() - suffix);
         start != oldStarts.end(); ++start) {
        const qsizetype there = *start + growth;
        if (there == 0 || newText[there - 1] == u'\n') {
            unchangedBelow = int(start - oldStarts.begin()) + 1;
            break;
        }
    }
    const int lineShift = int(after.lineStarts.size()) - int(oldStarts.size());

    // From the last block that starts on a line above the edit (or the top),
    // through the first block that starts below it.
    const auto startsBy = [&](int line) {
        return size_t(std::partition_point(blocks.begin(), blocks.end(),
                                           [line](const MarkdownNode& block) {
                                               return block.range.startLine <= line;
                                           }) -
                      blocks.begin());
    };
    const size_t above = startsBy(unchangedAbove);
    const size_t first = above > 0 ? above - 1 : 0;
    const size_t next = qMax(first, startsBy(qMax(unchangedBelow - 1, unchangedAbove)));
    // An edit below the header and delimiter rows of a table re-parses from
    // its first edited row on, after those two lines. One that ends above
    // the table's last row and adds no line ends there: the rows below it
    // stay as they were.
    const MarkdownNode* table = nullptr;
    QByteArray tableHead;
    if (above > 0 && blocks[first].kind == MarkdownNodeKind::Table &&
        unchangedAbove + 1 >= blocks[first].range.startLine + 2 &&
        unchangedAbove + 1 <= blocks[first].range.endLine + 1) {
        tableHead = tableHeadInput(before, blocks[first]);
        if (!tableHead.isEmpty())
            table = &blocks[first];
    }
    const bool withinTable = table && lineShift == 0 && unchangedBelow <= table->range.endLine;
    const int startLine = table       ? unchangedAbove + 1
                          : above > 0 ? blocks[first].range.startLine
                                      : 1;

    const int newLineCount = int(after.lineStarts.size());
    const int regionEnd = withinTable            ? unchangedBelow - 1
                          : next < blocks.size() ? blocks[next].range.endLine + lineShift
                                                 : newLineCount;
    if (startLine < 1 || regionEnd < startLine || regionEnd > newLineCount)
        return false;
    // The parser drops a byte-order mark only where its input starts, not
    // after the definitions.
    if (startLine == 1 && !old->definitions.empty() && newText.startsWith(QChar(0xFEFF)))
        return false;
    const QStringView edited = linesOf(after, startLine, regionEnd);
    // A part that large is parsed a section at a time instead, in bounded memory.
    if (edited.size() > 2 * MarkdownParser::sectionChars)
        return false;
    // A region below the first line never starts the input: a U+FEFF that
    // starts its first line is text, as in the whole document.
    QByteArray ahead = ReferenceDefinitions::asMarkdown(old->definitions);
    if (ahead.isEmpty() && startLine > 1)
        ahead = "\n";
    MarkdownNode regionRoot;
    MarkdownTreeStorage region;
    std::vector<ReferenceDefinition> defined;
    parseTree(edited, startLine - 1, regionRoot, region, ahead + tableHead, &defined);
    if (table &&
        (region.blocks.empty() || !continuesTable(region.blocks.front(), *table, startLine)))
        return false;
    if (!std::all_of(region.blocks.begin() + (table ? 1 : 0), region.blocks.end(),
                     [&](const MarkdownNode& block) {
                         return block.range.isValid() && block.range.startLine >= startLine;
                     }))
        return false;
    // The document's definitions went in as they were, and the edited part
    // defines what it did before.
    const auto given = qsizetype(old->definitions.size());
    if (qsizetype(defined.size()) < given ||
        !std::equal(old->definitions.begin(), old->definitions.end(), defined.begin()))
        return false;
    defined.erase(defined.begin(), defined.begin() + given);
    const int oldRegionEnd = withinTable            ? unchangedBelow - 1
                             : next < blocks.size() ? blocks[next].range.endLine
                                                    : int(oldStarts.size());
    if (defined != definitionsIn(linesOf(before, startLine, oldRegionEnd),
                                 (startLine > 1 ? QByteArray("\n") : QByteArray()) + tableHead))
        return false;
    if (withinTable) {
        // Every edited line is a row of the table still.
        if (region.blocks.size() != 1 ||
            region.blocks.front().children.size() != size_t(regionEnd - startLine + 2))
            return false;
    } else if (next < blocks.size()) {
        // The region ends with the block after the edit, exactly as it was.
        if (region.blocks.size() < (table ? 2u : 1u) ||
            !sameTree(region.blocks.back(), blocks[next], lineShift))
            return false;
        region.blocks.pop_back();
        region.memory.pop_back();
    }
    if (table && !spliceTableRows(*table, old->memory[first], startLine, unchangedBelow - startLine,
                                  withinTable, region))
        return false;

    auto storage = std::make_shared<MarkdownTreeStorage>();
    storage->definitions = old->definitions;
    const size_t count = first + region.blocks.size() + (blocks.size() - next);
    storage->blocks.reserve(count);
    storage->memory.reserve(count);
    storage->blocks.insert(storage->blocks.end(), blocks.begin(), blocks.begin() + first);
    storage->memory.insert(storage->memory.end(), old->memory.begin(),
                           old->memory.begin() + qsizetype(first));
    storage->blocks.insert(storage->blocks.end(), region.blocks.begin(), region.blocks.end());
    storage->memory.insert(storage->memory.end(), region.memory.begin(), region.memory.end());
    for (size_t i = next; i < blocks.size(); ++i) {
        auto [block, memory] = MarkdownTreeStorage::moved(blocks[i], old->memory[i], lineShift);
        storage->blocks.push_back(block);
        storage->memory.push_back(std::move(memory));
    }

    after.document.kind = MarkdownNodeKind::Document;
    after.document.range = documentRange(after);
    finishStorage(after, std::move(storage));
    after.reuse = {before.serial, first, blocks.size() - next, lineShift};
    return true;
}

} // namespace MarkdownParser
