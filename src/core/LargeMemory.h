#pragma once

#include <cstddef>

// Memory for large blocks that a parse fills at once, given in huge pages
// where the system offers them: a 10 MB document's tree spans tens of
// megabytes, and faulting it in a small page at a time costs the parse more
// than making it.
namespace LargeMemory {

// Below this a block comes from the usual allocator.
constexpr size_t leastBytes = size_t(2) << 20;

// `bytes` of uninitialised memory (zeroed when large); throws std::bad_alloc as new does.
void* take(size_t bytes);
// Gives back what take(bytes) gave.
void give(void* memory, size_t bytes);

} // namespace LargeMemory
