#include "core/MarkdownTreeStorage.h"

#include <algorithm>

namespace {

size_t descendants(const MarkdownNode& node) {
    size_t count = node.children.size();
    for (const MarkdownNode& child : node.children)
        count += descendants(child);
    return count;
}

// Gives `to` copies of the children of `from`, moved down by `lines`, taken
// from `next` on, and their descendants after them.
void copyBelow(const MarkdownNode& from, MarkdownNode& to, MarkdownNode*& next, int lines) {
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
        copyBelow(from.children[i], children[i], next, lines);
}

} // namespace

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
    : m_arena(std::make_shared<NodeArena>(rows, 0)), m_rows(m_arena->room(rows)), m_capacity(rows) {
}

void TableJoin::keep(const std::shared_ptr<const void>& owner) {
    if (!owner)
        return;
    const auto& owners = m_arena->owners();
    if (std::find(owners.rbegin(), owners.rend(), owner) == owners.rend())
        m_arena->keepAlive(owner);
}

void TableJoin::add(const MarkdownNode* rows, size_t count, const BlockMemory& memory) {
    Q_ASSERT(m_count + count <= m_capacity);
    std::copy(rows, rows + count, m_rows + m_count);
    m_count += count;
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

std::pair<MarkdownNode, BlockMemory> TableJoin::finish(MarkdownNode table) {
    table.children = {m_rows, m_count};
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
    const MovedChildren* before = block.children.moved();
    auto children = before ? std::make_shared<MovedChildren>(before->original, before->count,
                                                             before->lines + lines)
                           : std::make_shared<MovedChildren>(block.children.begin(),
                                                             block.children.size(), lines);
    moved.children = MarkdownNodeList(children.get(), block.children.size());
    return {moved, {memory.arena, std::move(children)}};
}

const MarkdownNode* MovedChildren::nodes() const {
    std::call_once(m_made, [this] {
        size_t total = count;
        for (size_t i = 0; i < count; ++i)
            total += descendants(original[i]);
        m_nodes = std::make_unique<MarkdownNode[]>(total);
        MarkdownNode* next = m_nodes.get() + count;
        for (size_t i = 0; i < count; ++i) {
            m_nodes[i] = original[i];
            MarkdownTreeStorage::shiftRange(m_nodes[i], lines);
            copyBelow(original[i], m_nodes[i], next, lines);
        }
    });
    return m_nodes.get();
}

const MarkdownNode* MarkdownNodeList::made() const {
    return moved()->nodes();
}
