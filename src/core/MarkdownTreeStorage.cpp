#include "core/MarkdownTreeStorage.h"

#include <algorithm>

namespace {

// The nodes below `node` and the units of the strings of its subtree.
void measure(const MarkdownNode& node, size_t& nodes, size_t& units) {
    units += size_t(node.literal.size() + node.language.size() + node.destination.size() +
                    node.title.size());
    nodes += node.children.size();
    for (const MarkdownNode& child : node.children)
        measure(child, nodes, units);
}

MarkdownNode copied(const MarkdownNode& node, NodeArena& arena, int lines) {
    MarkdownNode copy = node;
    MarkdownTreeStorage::shiftRange(copy, lines);
    copy.literal = arena.copy(node.literal);
    copy.language = arena.copy(node.language);
    copy.destination = arena.copy(node.destination);
    copy.title = arena.copy(node.title);
    if (!node.children.empty()) {
        MarkdownNode* children = arena.nodes(node.children.size());
        for (size_t i = 0; i < node.children.size(); ++i)
            children[i] = copied(node.children[i], arena, lines);
        copy.children = {children, node.children.size()};
    }
    return copy;
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

void MarkdownTreeStorage::shiftRange(MarkdownNode& node, int lines) {
    if (node.range.isValid() && (node.range.startColumn > 0 || node.isBlock())) {
        node.range.startLine += lines;
        node.range.endLine += lines;
    }
}

std::pair<MarkdownNode, NodeArenaRef>
MarkdownTreeStorage::moved(const MarkdownNode& block, const NodeArenaRef& arena, int lines) {
    if (lines == 0)
        return {block, arena};
    size_t nodes = 0;
    size_t units = 0;
    measure(block, nodes, units);
    auto own = std::make_shared<NodeArena>(nodes, units);
    MarkdownNode moved = copied(block, *own, lines);
    return {moved, std::move(own)};
}
