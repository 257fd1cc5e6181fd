#include "core/LargeMemory.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace LargeMemory {

namespace {

constexpr size_t hugePage = size_t(2) << 20;

size_t rounded(size_t bytes) {
    return (bytes + hugePage - 1) & ~(hugePage - 1);
}

} // namespace

void* take(size_t bytes) {
    if (bytes < leastBytes)
        return ::operator new(bytes);
    // Mapped apart from the heap and aligned to a huge page, so the kernel
    // can back all of it with them and it goes back whole when given.
    const size_t size = rounded(bytes);
    void* mapped =
        mmap(nullptr, size + hugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + hugePage - 1) & ~(hugePage - 1);
    if (aligned > start)
        munmap(mapped, aligned - start);
    if (const size_t after = start + hugePage - aligned)
        munmap(reinterpret_cast<void*>(aligned + size), after);
    auto* memory = reinterpret_cast<void*>(aligned);
    madvise(memory, size, MADV_HUGEPAGE);
    return memory;
}

void give(void* memory, size_t bytes) {
    if (bytes < leastBytes)
        ::operator delete(memory);
    else
        munmap(memory, rounded(bytes));
}

} // namespace LargeMemory
