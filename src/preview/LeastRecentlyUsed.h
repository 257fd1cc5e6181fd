#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// Which of the items waiting out of sight to let go so that `kept` of them
// stay: the least recently used first. lastUsed(item) tells when an item was
// last used (a growing count).
namespace LeastRecentlyUsed {

template <typename LastUsed>
std::vector<size_t> beyond(std::vector<size_t> waiting, size_t kept, LastUsed lastUsed) {
    if (waiting.size() <= kept)
        return {};
    std::sort(waiting.begin(), waiting.end(),
              [&lastUsed](size_t a, size_t b) { return lastUsed(a) < lastUsed(b); });
    waiting.resize(waiting.size() - kept);
    return waiting;
}

} // namespace LeastRecentlyUsed
