#include "preview/PreviewRowMatcher.h"

#include "preview/InlineMarkupView.h"

#include <QHash>
#include <algorithm>

namespace {

// The very same children: a row kept by an edit shares them with the row
// it was. Told without reading them (made when read, they would all be made).
bool sameList(const MarkdownNodeList& a, const MarkdownNodeList& b) {
    if (a.moved() || b.moved())
        return a.moved() == b.moved() && a.movedList() == b.movedList();
    return a.begin() == b.begin();
}

// Same tree apart from source positions.
bool sameContent(const MarkdownNode& a, const MarkdownNode& b) {
    if (a.kind != b.kind || a.headingLevel != b.headingLevel || a.checkbox != b.checkbox ||
        a.listStart != b.listStart || a.tight != b.tight ||
        // A destination and a title share the literal's and the language's room.
        a.literal != b.literal || a.language != b.language ||
        a.children.size() != b.children.size())
        return false;
    if (sameList(a.children, b.children))
        return true;
    for (size_t i = 0; i < a.children.size(); ++i)
        if (!sameContent(a.children[i], b.children[i]))
            return false;
    return true;
}

size_t contentHash(const MarkdownNode& node, size_t seed) {
    seed = qHashMulti(seed, int(node.kind), node.headingLevel, int(node.checkbox), node.literal,
                      node.language);
    for (const MarkdownNode& child : node.children)
        seed = contentHash(child, seed);
    return seed;
}

bool isSliced(const PreviewRowMatcher::Piece& piece) {
    return !(piece.slice == TableSlice{});
}

// A heading or paragraph cut into pieces: its pictures stand on rows of
// their own, among more children than a piece holds.
std::vector<InlineSlice> inlineSlices(const MarkdownNode& block,
                                      const PreviewRowMatcher::Slicing& slicing) {
    const bool inlines =
        block.kind == MarkdownNodeKind::Paragraph || block.kind == MarkdownNodeKind::Heading;
    if (!inlines || block.childCount() <= slicing.inlineThreshold ||
        InlineMarkupView::modeFor(block) != InlineMarkupView::Mode::Mixed)
        return {InlineSlice{}};
    return InlineSlice::split(block.childCount(), slicing.inlineChildren);
}

// The blocks between are one long table whose rows the parse kept above
// and below its edited ones: a piece of rows kept in place keeps its row
// unread, and one of moved rows takes the estimate of the piece at its place.
bool planTable(const ParsedMarkdown& before, const ParsedMarkdown& after,
               const PreviewRowMatcher::Slicing& slicing, PreviewRowMatcher::Plan& out) {
    const ParsedMarkdown::Reuse& reuse = after.reuse;
    const size_t table = reuse.table;
    if (reuse.from != before.serial || table == ParsedMarkdown::noTable || table != out.keptAbove ||
        before.document.children.size() - out.keptBelow != table + 1 ||
        after.document.children.size() - out.keptBelow != table + 1)
        return false;
    std::vector<PreviewRowMatcher::Piece> old =
        PreviewRowMatcher::pieces(before, slicing, table, table + 1);
    std::vector<PreviewRowMatcher::Piece> now =
        PreviewRowMatcher::pieces(after, slicing, table, table + 1);
    if (old.size() < 2 || now.size() < 2)
        return false;
    const MarkdownNode& oldTable = before.document.children[table];
    const MarkdownNode& newTable = after.document.children[table];
    const int head = newTable.childCount() - TableSlice::bodyRowsOf(newTable);
    // Body rows before `editedFirst` stand as they were, from `editedEnd` on moved.
    const int editedFirst = int(reuse.rowsAbove) - head;
    const int editedEnd = TableSlice::bodyRowsOf(newTable) - int(reuse.rowsBelow);
    const bool moved = TableSlice::bodyRowsOf(newTable) != TableSlice::bodyRowsOf(oldTable);
    out.replaced = old.size();
    out.kept.assign(now.size(), -1);
    out.estimateFrom.assign(now.size(), -1);
    out.keys.assign(now.size(), 0);
    for (size_t i = 0; i < now.size(); ++i) {
        const TableSlice& slice = now[i].slice;
        const int first = slice.firstBodyRow;
        const int end = first + slice.rowCount(newTable);
        if (end > editedFirst && first < editedEnd)
            continue;
        if (i < old.size() && old[i].slice == slice && (end <= editedFirst || !moved))
            out.kept[i] = int(i);
        else if (i < old.size())
            out.estimateFrom[i] = int(i);
    }
    out.pieces = std::move(now);
    return true;
}

} // namespace

std::vector<PreviewRowMatcher::Piece> PreviewRowMatcher::pieces(const ParsedMarkdown& parsed,
                                                                const Slicing& slicing,
                                                                size_t first, size_t end) {
    std::vector<Piece> out;
    out.reserve(end - first);
    for (size_t index = first; index < end; ++index) {
        const MarkdownNode& block = parsed.document.children[index];
        const int rows = block.kind == MarkdownNodeKind::Table ? TableSlice::bodyRowsOf(block) : 0;
        if (rows <= slicing.tableThreshold) {
            for (const InlineSlice& inlines : inlineSlices(block, slicing))
                out.push_back({&block, {}, inlines, block.range.startLine, block.range.endLine});
            continue;
        }
        for (const TableSlice& slice : TableSlice::split(rows, slicing.tableRows)) {
            const int count = slice.rowCount(block);
            const int first = slice.header
                                  ? block.range.startLine
                                  : TableSlice::bodyRow(block, slice.firstBodyRow).range.startLine;
            const int last =
                slice.openBottom
                    ? TableSlice::bodyRow(block, slice.firstBodyRow + count - 1).range.endLine
                    : block.range.endLine;
            out.push_back({&block, slice, {}, first, last});
        }
    }
    return out;
}

size_t PreviewRowMatcher::key(const ParsedMarkdown& parsed, const Piece& piece) {
    if (piece.inlines.isPiece()) {
        size_t seed =
            qHashMulti(0, int(piece.block->kind), piece.inlines.openTop, piece.inlines.openBottom);
        for (int i = piece.inlines.first; i < piece.inlines.end(*piece.block); ++i)
            seed = contentHash(piece.block->child(i), seed);
        return seed;
    }
    return qHashMulti(0, int(piece.block->kind), piece.slice.firstBodyRow, piece.slice.bodyRowCount,
                      parsed.sourceLines(piece.firstLine, piece.lastLine));
}

bool PreviewRowMatcher::same(const ParsedMarkdown& before, const Piece& a,
                             const ParsedMarkdown& after, const Piece& b) {
    if (a.inlines.isPiece() || b.inlines.isPiece()) {
        // Where the piece stands in its block does not matter, what it shows does.
        const int count = a.inlines.end(*a.block) - a.inlines.first;
        if (a.block->kind != b.block->kind || a.block->headingLevel != b.block->headingLevel ||
            a.inlines.openTop != b.inlines.openTop ||
            a.inlines.openBottom != b.inlines.openBottom ||
            count != b.inlines.end(*b.block) - b.inlines.first)
            return false;
        for (int i = 0; i < count; ++i)
            if (!sameContent(a.block->child(a.inlines.first + i),
                             b.block->child(b.inlines.first + i)))
                return false;
        return true;
    }
    if (!(a.slice == b.slice) ||
        before.sourceLines(a.firstLine, a.lastLine) != after.sourceLines(b.firstLine, b.lastLine))
        return false;
    if (!isSliced(a))
        return sameContent(*a.block, *b.block);
    // A piece of a table: its rows, and the header it shows.
    const MarkdownNode* headA = a.slice.header ? a.block->tableHead() : nullptr;
    const MarkdownNode* headB = b.slice.header ? b.block->tableHead() : nullptr;
    if (bool(headA) != bool(headB) || (headA && !sameContent(*headA, *headB)))
        return false;
    const int rows = a.slice.rowCount(*a.block);
    if (rows != b.slice.rowCount(*b.block))
        return false;
    for (int i = 0; i < rows; ++i)
        if (!sameContent(TableSlice::bodyRow(*a.block, a.slice.firstBodyRow + i),
                         TableSlice::bodyRow(*b.block, b.slice.firstBodyRow + i)))
            return false;
    return true;
}

std::vector<int> PreviewRowMatcher::match(const std::vector<size_t>& beforeKeys,
                                          const std::vector<size_t>& afterKeys,
                                          const std::function<bool(size_t, size_t)>& same) {
    std::vector<int> kept(afterKeys.size(), -1);
    const auto sameRow = [&](size_t then, size_t now) {
        return beforeKeys[then] == afterKeys[now] && same(then, now);
    };
    // An edit usually leaves long runs before and after it in place.
    size_t head = 0;
    while (head < beforeKeys.size() && head < afterKeys.size() && sameRow(head, head)) {
        kept[head] = int(head);
        ++head;
    }
    size_t tail = 0;
    while (tail < beforeKeys.size() - head && tail < afterKeys.size() - head &&
           sameRow(beforeKeys.size() - 1 - tail, afterKeys.size() - 1 - tail)) {
        kept[afterKeys.size() - 1 - tail] = int(beforeKeys.size() - 1 - tail);
        ++tail;
    }

    // The rest by key: old rows sorted by (key, position), each key's run used in order.
    std::vector<std::pair<size_t, int>> unused;
    unused.reserve(beforeKeys.size() - head - tail);
    for (size_t i = head; i < beforeKeys.size() - tail; ++i)
        unused.emplace_back(beforeKeys[i], int(i));
    std::sort(unused.begin(), unused.end());
    std::vector<bool> taken(unused.size(), false);
    for (size_t i = head; i < afterKeys.size() - tail; ++i) {
        auto candidate = std::lower_bound(unused.begin(), unused.end(),
                                          std::pair<size_t, int>(afterKeys[i], -1));
        for (; candidate != unused.end() && candidate->first == afterKeys[i]; ++candidate) {
            const size_t slot = size_t(candidate - unused.begin());
            if (taken[slot])
                continue;
            if (same(size_t(candidate->second), i)) {
                taken[slot] = true;
                kept[i] = candidate->second;
            }
            break;
        }
    }
    return kept;
}

PreviewRowMatcher::Plan PreviewRowMatcher::plan(const ParsedMarkdown& before,
                                                const ParsedMarkdown& after,
                                                const Slicing& slicing) {
    Plan out;
    out.from = before.serial;
    out.to = after.serial;
    if (after.reuse.from == before.serial) {
        out.keptAbove = after.reuse.keptAbove;
        out.keptBelow = after.reuse.keptBelow;
        out.lineShift = after.reuse.lineShift;
        if (planTable(before, after, slicing, out))
            return out;
    }
    const std::vector<Piece> old =
        pieces(before, slicing, out.keptAbove, before.document.children.size() - out.keptBelow);
    out.replaced = old.size();
    out.pieces =
        pieces(after, slicing, out.keptAbove, after.document.children.size() - out.keptBelow);
    std::vector<size_t> oldKeys;
    oldKeys.reserve(old.size());
    for (const Piece& piece : old)
        oldKeys.push_back(key(before, piece));
    out.keys.reserve(out.pieces.size());
    for (const Piece& piece : out.pieces)
        out.keys.push_back(key(after, piece));
    out.kept = match(oldKeys, out.keys, [&](size_t then, size_t now) {
        return same(before, old[then], after, out.pieces[now]);
    });
    return out;
}
