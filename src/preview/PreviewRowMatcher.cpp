#include "preview/PreviewRowMatcher.h"

#include <QHash>
#include <algorithm>

namespace {

// Same tree apart from source positions.
bool sameContent(const MarkdownNode& a, const MarkdownNode& b) {
    if (a.kind != b.kind || a.headingLevel != b.headingLevel || a.checkbox != b.checkbox ||
        a.listStart != b.listStart || a.tight != b.tight || a.literal != b.literal ||
        a.language != b.language || a.destination != b.destination || a.title != b.title ||
        a.children.size() != b.children.size())
        return false;
    for (size_t i = 0; i < a.children.size(); ++i)
        if (!sameContent(a.children[i], b.children[i]))
            return false;
    return true;
}

} // namespace

size_t PreviewRowMatcher::key(const ParsedMarkdown& parsed, const MarkdownNode& block) {
    return qHashMulti(0, int(block.kind), parsed.sourceView(block));
}

std::vector<int> PreviewRowMatcher::match(const ParsedMarkdown& before,
                                          const std::vector<size_t>& beforeKeys,
                                          const ParsedMarkdown& after,
                                          const std::vector<size_t>& afterKeys) {
    std::vector<int> kept(afterKeys.size(), -1);
    const auto same = [&](size_t then, size_t now) {
        if (beforeKeys[then] != afterKeys[now])
            return false;
        const MarkdownNode& a = before.document.children[then];
        const MarkdownNode& b = after.document.children[now];
        return before.sourceView(a) == after.sourceView(b) && sameContent(a, b);
    };
    // An edit usually leaves long runs before and after it in place.
    size_t head = 0;
    while (head < beforeKeys.size() && head < afterKeys.size() && same(head, head)) {
        kept[head] = int(head);
        ++head;
    }
    size_t tail = 0;
    while (tail < beforeKeys.size() - head && tail < afterKeys.size() - head &&
           same(beforeKeys.size() - 1 - tail, afterKeys.size() - 1 - tail)) {
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
