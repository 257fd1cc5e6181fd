#pragma once

#include "core/LargeMemory.h"
#include "core/MarkdownTree.h"
#include "core/ReferenceDefinitions.h"

#include <QtGlobal>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

static_assert(std::is_trivially_copyable_v<MarkdownNode> &&
              std::is_trivially_destructible_v<MarkdownNode>);
// A 10 MB document holds over a million nodes.
static_assert(sizeof(void*) != 8 || sizeof(MarkdownNode) <= 72);

// Room for values made one after another, in chunks that never move, so a
// node can point at its children and its strings as soon as it is made.
template <typename T> class NodeChunks {
public:
    explicit NodeChunks(size_t hint) : m_hint(qMax<size_t>(hint, 64)) {}
    ~NodeChunks() {
        for (const auto& [chunk, size] : m_chunks)
            LargeMemory::give(chunk, size * sizeof(T));
    }
    NodeChunks(const NodeChunks&) = delete;
    NodeChunks& operator=(const NodeChunks&) = delete;

    // `count` values side by side, not yet made.
    T* take(size_t count) {
        if (size_t(m_limit - m_next) < count) {
            const size_t size = qMax(count, m_hint);
            m_hint *= 2;
            m_next = static_cast<T*>(LargeMemory::take(size * sizeof(T)));
            m_chunks.emplace_back(m_next, size);
            m_limit = m_next + size;
        }
        T* taken = m_next;
        m_next += count;
        return taken;
    }
    // Gives back the end of the last take, from `end` on.
    void giveBack(T* end) { m_next = end; }

private:
    std::vector<std::pair<T*, size_t>> m_chunks;
    T* m_next = nullptr;
    T* m_limit = nullptr;
    size_t m_hint;
};

// Room for the rows of a long table, handed on to the next such room when
// let go rather than back to the system: each edit of the table copies its
// rows anew, and fresh pages cost more than the copy.
class RecycledRoom {
public:
    explicit RecycledRoom(size_t count);
    ~RecycledRoom();
    RecycledRoom(const RecycledRoom&) = delete;
    RecycledRoom& operator=(const RecycledRoom&) = delete;

    MarkdownNode* nodes() const { return m_nodes; }
    // Rooms smaller than this come from the arena as usual.
    static constexpr size_t leastBytes = 4 * 1024 * 1024;

private:
    MarkdownNode* m_nodes = nullptr;
    size_t m_capacity = 0;
};

// The nodes and strings of one parse, or of one block copied, shared by every
// parse that keeps one of its blocks.
class NodeArena {
public:
    // How many nodes and string units to make room for at first.
    NodeArena(size_t nodes, size_t units) : m_nodes(nodes), m_text(units) {}

    // `count` default nodes side by side.
    MarkdownNode* nodes(size_t count);
    // Room for `count` nodes side by side, to be copied in; what is never
    // written to costs no memory.
    MarkdownNode* room(size_t count) { return m_nodes.take(count); }
    // Room for up to `count` units; keep() says where the string ended.
    char16_t* text(size_t count) { return m_text.take(count); }
    // Room for `count` nodes, taken from a room let go where it is large.
    MarkdownNode* recycledRoom(size_t count);
    void keep(char16_t* end) { m_text.giveBack(end); }
    QStringView copy(QStringView text);

    // What the nodes here point into, kept as long as this arena.
    void keepAlive(std::shared_ptr<const void> owner) { m_owners.push_back(std::move(owner)); }
    const std::vector<std::shared_ptr<const void>>& owners() const { return m_owners; }
    // The cells of the moved rows here, kept apart from the owners: a table
    // joined again keeps only those its rows still use.
    void keepMoved(std::vector<std::shared_ptr<const MovedChildren>> moved) {
        m_moved = std::move(moved);
    }

private:
    NodeChunks<MarkdownNode> m_nodes;
    NodeChunks<char16_t> m_text;
    std::vector<std::shared_ptr<const void>> m_owners;
    std::vector<std::shared_ptr<const MovedChildren>> m_moved;
    std::unique_ptr<RecycledRoom> m_recycled;
};

// Rows of a table known to be rows by their lines alone: their cells are
// parsed when one of them is first read.
class RowSource : public std::enable_shared_from_this<RowSource> {
public:
    virtual ~RowSource() = default;
    // Row `index` of the run, as parsed.
    virtual const MarkdownNode& row(size_t index) const = 0;
};

// The children of nodes an edit moved up or down: copies of their children
// as first parsed, moved by as many lines as the node has moved in all, made
// when one of them is first read (a moved block is mostly never read again,
// and moving it costs nothing per node that way). One holds the children of
// a block, or the cells of a run of table rows.
class MovedChildren : public std::enable_shared_from_this<MovedChildren> {
public:
    struct List {
        const MarkdownNode* original = nullptr;
        std::uint32_t count = 0;
        int lines = 0;
        // Where `original` is null: the cells of row `row` of `source`.
        const RowSource* source = nullptr;
        std::uint32_t row = 0;
    };
    explicit MovedChildren(std::vector<List> lists);
    MovedChildren(const MarkdownNode* original, size_t count, int lines)
        : m_lists{{original, std::uint32_t(count), lines}} {}

    // `children` (of a node moved by `lines` more) as a list of children as first parsed.
    static List listOf(const MarkdownNodeList& children, int lines);
    const List& list(size_t index) const { return m_lists[index]; }
    // The copies of list `index`.
    const MarkdownNode* nodes(size_t index) const;

private:
    // Gives the `copies`, whose children are made when read, theirs moved by `lines`.
    void deferMoved(const std::vector<MarkdownNode*>& copies, int lines) const;

    std::vector<List> m_lists;
    std::vector<std::shared_ptr<const RowSource>> m_sources;
    mutable std::vector<std::shared_ptr<const MovedChildren>> m_deferred;
    mutable std::once_flag m_made;
    mutable std::unique_ptr<MarkdownNode[]> m_nodes;
    mutable std::vector<size_t> m_starts; // where each list's copies start
};

// What one top-level block's descendants and strings live in: the arena of
// the parse that made it and, once an edit moved the block, its children to be.
struct BlockMemory {
    std::shared_ptr<const NodeArena> arena;
    std::shared_ptr<const MovedChildren> moved;
};

// A table put together from runs of rows other parses made: the rows are
// copied side by side into an arena of their own, their cells shared with
// the parses that made them, which that arena keeps. A run taken from a
// table joined before keeps what that one kept, not its rows, so joining
// again and again leaves no old copy of the rows behind.
class TableJoin {
public:
    // Room for up to `rows` rows, the header row included.
    explicit TableJoin(size_t rows);

    void add(const MarkdownNode* rows, size_t count, const BlockMemory& memory);
    // The rows moved down by `lines`: copied, their cells made when first read.
    void addMoved(const MarkdownNode* rows, size_t count, const BlockMemory& memory, int lines);
    // Room for `count` rows more, written by the caller; `run` makes their cells.
    MarkdownNode* append(size_t count, std::shared_ptr<const MovedChildren> run);
    const MarkdownNode* first() const { return m_rows; }
    // What the parts are kept by, at most.
    size_t owners() const { return m_arena->owners().size(); }
    // The table `table` (its kind and range) with the rows added, and its memory.
    std::pair<MarkdownNode, BlockMemory> finish(MarkdownNode table);

private:
    void keep(const std::shared_ptr<const void>& owner);
    void keepOwners(const BlockMemory& memory);

    std::shared_ptr<NodeArena> m_arena;
    MarkdownNode* m_rows = nullptr;
    size_t m_count = 0;
    std::vector<std::shared_ptr<const MovedChildren>> m_runs; // made by addMoved, until finish
    size_t m_capacity = 0;
};

// A document's top-level blocks side by side, each with the memory of its
// descendants and strings. A re-parse shares the memory of the blocks it
// keeps, so a block's memory goes once no parse keeps it.
struct MarkdownTreeStorage {
    std::vector<MarkdownNode> blocks;
    std::vector<BlockMemory> memory;
    // The link reference definitions links resolve with (ReferenceDefinitions::inEffect).
    std::vector<ReferenceDefinition> definitions;
    bool blocksHaveLines = true; // every top-level block knows its source lines

    // Moves a node down by `lines`. cmark gives some inline nodes (in table
    // cells) no start column and a line counted from their cell, not from the
    // document: those stay as they are.
    static void shiftRange(MarkdownNode& node, int lines);
    // A block moved down by `lines`; its children are made when first read.
    static std::pair<MarkdownNode, BlockMemory> moved(const MarkdownNode& block,
                                                      const BlockMemory& memory, int lines);
};
