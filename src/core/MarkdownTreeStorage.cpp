#include "core/MarkdownTreeStorage.h"

#include <algorithm>

namespace {

// Nodes whose children are made when first read (moved before, or parsed
// from their lines) keep them so when copied: reading them would make them all.
size_t descendants(const MarkdownNode& node) {
    if (node.children.moved())
        return 0;
    size_t count = node.children.size();
    for (const MarkdownNode& child : node.children)
        count += descendants(child);
    return count;
}

// Gives `to` copies of the children of `from`, moved down by `lines`, taken
// from `next` on, and their descendants after them; copies whose children
// are made when read go to `deferred`.
void copyBelow(const MarkdownNode& from, MarkdownNode& to, MarkdownNode*& next, int lines,
               std::vector<MarkdownNode*>& deferred) {
    if (from.children.moved()) {
        deferred.push_back(&to);
        return;
    }
    if (from.children.empty())
        return;
    const size_t count = from.children.size();
    MarkdownNode* children = next;
    next += count;
    for (size_t i = 0; i < count; ++i) {
        children[i] = from.children[i];
        MarkdownTreeStorage::shiftRange(children[i], lines);
    }
    to.children = {children, count};
    for (size_t i = 0; i < count; ++i)
        copyBelow(from.children[i], children[i], next, lines, deferred);
}

} // namespace

namespace {

// The one large room let go and not yet taken again.
struct SpareRoom {
    std::mutex mutex;
    MarkdownNode* nodes = nullptr;
    size_t capacity = 0;
};

SpareRoom& spareRoom() {
    static SpareRoom spare;
    return spare;
}

} // namespace

RecycledRoom::RecycledRoom(size_t count) {
    SpareRoom& spare = spareRoom();
    {
        const std::lock_guard lock(spare.mutex);
        // Not one far larger than asked for: that would stay taken for long.
        if (spare.nodes && spare.capacity >= count && spare.capacity / 2 <= count) {
            m_nodes = std::exchange(spare.nodes, nullptr);
            m_capacity = std::exchange(spare.capacity, 0);
            return;
        }
    }
    // A little more, so that the next edit, a row longer, fits.
    m_capacity = count + count / 16;
    m_nodes = static_cast<MarkdownNode*>(::operator new(m_capacity * sizeof(MarkdownNode)));
}

RecycledRoom::~RecycledRoom() {
    SpareRoom& spare = spareRoom();
    {
        const std::lock_guard lock(spare.mutex);
        if (m_capacity > spare.capacity) {
            std::swap(m_nodes, spare.nodes);
            std::swap(m_capacity, spare.capacity);
        }
    }
    ::operator delete(m_nodes);
}

MarkdownNode* NodeArena::recycledRoom(size_t count) {
    if (count * sizeof(MarkdownNode) < RecycledRoom::leastBytes)
        return room(count);
    m_recycled = std::make_unique<RecycledRoom>(count);
    return m_recycled->nodes();
}

MarkdownNode* NodeArena::nodes(size_t count) {
    MarkdownNode* taken = m_nodes.take(count);
    for (size_t i = 0; i < count; ++i)
        new (taken + i) MarkdownNode;
    return taken;
}

QStringView NodeArena::copy(QStringView text) {
    if (text.isEmpty())
        return {};
    char16_t* at = m_text.take(size_t(text.size()));
    std::copy(text.utf16(), text.utf16() + text.size(), at);
    return {at, text.size()};
}

TableJoin::TableJoin(size_t rows)
    : m_arena(std::make_shared<NodeArena>(0, 0)), m_rows(m_arena->recycledRoom(rows)),
      m_capacity(rows) {}

void TableJoin::keep(const std::shared_ptr<const void>& owner) {
    if (!owner)
        return;
    const auto& owners = m_arena->owners();
    if (std::find(owners.rbegin(), owners.rend(), owner) == owners.rend())
        m_arena->keepAlive(owner);
}

void TableJoin::keepOwners(const BlockMemory& memory) {
    // The rows copied point into the arena of the parse that made them, or
    // into what a joined table's arena keeps (it holds nothing but rows).
    if (memory.arena && !memory.arena->owners().empty()) {
        for (const auto& owner : memory.arena->owners())
            keep(owner);
    } else {
        keep(memory.arena);
    }
    keep(memory.moved);
}

void TableJoin::add(const MarkdownNode* rows, size_t count, const BlockMemory& memory) {
    Q_ASSERT(m_count + count <= m_capacity);
    std::copy(rows, rows + count, m_rows + m_count);
    m_count += count;
    keepOwners(memory);
}

void TableJoin::addMoved(const MarkdownNode* rows, size_t count, const BlockMemory& memory,
                         int lines) {
    if (lines == 0) {
        add(rows, count, memory);
        return;
    }
    Q_ASSERT(m_count + count <= m_capacity);
    keepOwners(memory);
    // A run's cells are made together when one of its rows is read.
    constexpr size_t run = 256;
    for (size_t first = 0; first < count; first += run) {
        const size_t end = qMin(count, first + run);
        std::vector<MovedChildren::List> lists;
        lists.reserve(end - first);
        for (size_t i = first; i < end; ++i)
            lists.push_back(MovedChildren::listOf(rows[i].children, lines));
        const auto cells = std::make_shared<const MovedChildren>(std::move(lists));
        for (size_t i = first; i < end; ++i) {
            MarkdownNode& row = m_rows[m_count++];
            row = rows[i];
            MarkdownTreeStorage::shiftRange(row, lines);
            if (!row.children.empty())
                row.children = MarkdownNodeList(cells.get(), row.children.size(), i - first);
        }
        m_runs.push_back(cells);
    }
}

MarkdownNode* TableJoin::append(size_t count, std::shared_ptr<const MovedChildren> run) {
    Q_ASSERT(m_count + count <= m_capacity);
    MarkdownNode* rows = m_rows + m_count;
    m_count += count;
    m_runs.push_back(std::move(run));
    return rows;
}

std::pair<MarkdownNode, BlockMemory> TableJoin::finish(MarkdownNode table) {
    table.children = {m_rows, m_count};
    // The runs of moved cells the rows use, each once: a row's run follows the row's before it.
    std::vector<std::shared_ptr<const MovedChildren>> moved;
    const MovedChildren* last = nullptr;
    for (size_t i = 0; i < m_count; ++i) {
        const MovedChildren* cells = m_rows[i].children.moved();
        if (cells && cells != last)
            moved.push_back(cells->shared_from_this());
        last = cells ? cells : last;
    }
    m_arena->keepMoved(std::move(moved));
    m_runs.clear();
    return {table, {std::move(m_arena), {}}};
}

void MarkdownTreeStorage::shiftRange(MarkdownNode& node, int lines) {
    if (node.range.isValid() && (node.range.startColumn > 0 || node.isBlock())) {
        node.range.startLine += lines;
        node.range.endLine += lines;
    }
}

std::pair<MarkdownNode, BlockMemory>
MarkdownTreeStorage::moved(const MarkdownNode& block, const BlockMemory& memory, int lines) {
    MarkdownNode moved = block;
    shiftRange(moved, lines);
    if (lines == 0 || block.children.empty())
        return {moved, memory};
    // From the children as first parsed, moved as far as the block has moved in all.
    const MovedChildren::List list = MovedChildren::listOf(block.children, lines);
    auto children = std::make_shared<MovedChildren>(list.original, list.count, list.lines);
    moved.children = MarkdownNodeList(children.get(), block.children.size());
    return {moved, {memory.arena, std::move(children)}};
}

MovedChildren::MovedChildren(std::vector<List> lists) : m_lists(std::move(lists)) {
    for (const List& list : m_lists)
        if (list.source && (m_sources.empty() || m_sources.back().get() != list.source))
            m_sources.push_back(list.source->shared_from_this());
}

MovedChildren::List MovedChildren::listOf(const MarkdownNodeList& children, int lines) {
    if (const MovedChildren* before = children.moved()) {
        List list = before->list(children.movedList());
        list.lines += lines;
        return list;
    }
    return {children.begin(), std::uint32_t(children.size()), lines};
}

void MovedChildren::deferMoved(const std::vector<MarkdownNode*>& copies, int lines) const {
    // Their children moved again, made when read, a run of them together.
    constexpr size_t run = 256;
    for (size_t first = 0; first < copies.size(); first += run) {
        const size_t end = qMin(copies.size(), first + run);
        std::vector<List> lists;
        lists.reserve(end - first);
        for (size_t i = first; i < end; ++i)
            lists.push_back(listOf(copies[i]->children, lines));
        const auto made = std::make_shared<const MovedChildren>(std::move(lists));
        for (size_t i = first; i < end; ++i)
            copies[i]->children =
                MarkdownNodeList(made.get(), copies[i]->children.size(), i - first);
        m_deferred.push_back(made);
    }
}

const MarkdownNode* MovedChildren::nodes(size_t index) const {
    std::call_once(m_made, [this] {
        // The lists as first parsed, and how many of their nodes there are.
        std::vector<std::pair<const MarkdownNode*, size_t>> originals;
        originals.reserve(m_lists.size());
        for (const List& list : m_lists) {
            if (!list.source) {
                originals.emplace_back(list.original, list.count);
                continue;
            }
            const MarkdownNodeList& cells = list.source->row(list.row).children;
            Q_ASSERT(cells.size() == list.count);
            originals.emplace_back(cells.begin(), qMin<size_t>(list.count, cells.size()));
        }
        size_t total = 0;
        m_starts.reserve(m_lists.size());
        for (size_t l = 0; l < m_lists.size(); ++l) {
            m_starts.push_back(total);
            total += m_lists[l].count;
            for (size_t i = 0; i < originals[l].second; ++i)
                total += descendants(originals[l].first[i]);
        }
        m_nodes = std::make_unique<MarkdownNode[]>(total);
        for (size_t l = 0; l < m_lists.size(); ++l) {
            const auto [original, count] = originals[l];
            const int lines = m_lists[l].lines;
            MarkdownNode* copies = m_nodes.get() + m_starts[l];
            MarkdownNode* next = copies + m_lists[l].count;
            std::vector<MarkdownNode*> deferred;
            for (size_t i = 0; i < count; ++i) {
                copies[i] = original[i];
                MarkdownTreeStorage::shiftRange(copies[i], lines);
                copyBelow(original[i], copies[i], next, lines, deferred);
            }
            deferMoved(deferred, lines);
        }
    });
    return m_nodes.get() + m_starts[index];
}

const MarkdownNode* MarkdownNodeList::made() const {
    return moved()->nodes(m_list);
}
