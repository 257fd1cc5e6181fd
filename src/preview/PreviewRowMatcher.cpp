#include "preview/PreviewRowMatcher.h"

#include <QHash>
#include <algorithm>

namespace {

// Same tree apart from source positions.
bool sameContent(const MarkdownNode& a, const MarkdownNode& b) {
    if (a.kind != b.kind || a.headingLevel != b.headingLevel || a.checkbox != b.checkbox ||
        a.listStart != b.listStart || a.tight != b.tight ||
        // A destination and a title share the literal's and the language's room.
        a.literal != b.literal || a.language != b.language ||
        a.children.size() != b.children.size())
        return false;
    for (size_t i = 0; i < a.children.size(); ++i)
        if (!sameContent(a.children[i], b.children[i]))
            return false;
    return true;
}

bool isSliced(const PreviewRowMatcher::Piece& piece) {
    return !(piece.slice == TableSlice{});
}

} // namespace

std::vector<PreviewRowMatcher::Piece> PreviewRowMatcher::pieces(const ParsedMarkdown& parsed,
                                                                int sliceThreshold, int sliceRows,
                                                                size_t first, size_t end) {
    std::vector<Piece> out;
    out.reserve(end - first);
    for (size_t index = first; index < end; ++index) {
        const MarkdownNode& block = parsed.document.children[index];
        const int rows = block.kind == MarkdownNodeKind::Table ? TableSlice::bodyRowsOf(block) : 0;
        if (rows <= sliceThreshold) {
            out.push_back({&block, {}, block.range.startLine, block.range.endLine});
            continue;
        }
        for (const TableSlice& slice : TableSlice::split(rows, sliceRows)) {
            const int count = slice.rowCount(block);
            const int first = slice.header
                                  ? block.range.startLine
                                  : TableSlice::bodyRow(block, slice.firstBodyRow).range.startLine;
            const int last =
                slice.openBottom
                    ? TableSlice::bodyRow(block, slice.firstBodyRow + count - 1).range.endLine
                    : block.range.endLine;
            out.push_back({&block, slice, first, last});
        }
    }
    return out;
}

size_t PreviewRowMatcher::key(const ParsedMarkdown& parsed, const Piece& piece) {
    return qHashMulti(0, int(piece.block->kind), piece.slice.firstBodyRow, piece.slice.bodyRowCount,
                      parsed.sourceLines(piece.firstLine, piece.lastLine));
}

bool PreviewRowMatcher::same(const ParsedMarkdown& before, const Piece& a,
                             const ParsedMarkdown& after, const Piece& b) {
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
                                                const ParsedMarkdown& after, int sliceThreshold,
                                                int sliceRows) {
    Plan out;
    out.from = before.serial;
    out.to = after.serial;
    if (after.reuse.from == before.serial) {
        out.keptAbove = after.reuse.keptAbove;
        out.keptBelow = after.reuse.keptBelow;
        out.lineShift = after.reuse.lineShift;
    }
    const std::vector<Piece> old = pieces(before, sliceThreshold, sliceRows, out.keptAbove,
                                          before.document.children.size() - out.keptBelow);
    out.replaced = old.size();
    out.pieces = pieces(after, sliceThreshold, sliceRows, out.keptAbove,
                        after.document.children.size() - out.keptBelow);
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
