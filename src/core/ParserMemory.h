#pragma once

#include <cstddef>
#include <vector>

struct cmark_mem;

// The memory cmark-gfm works in while it parses: allocations bumped out of
// chunks and nothing freed one by one. After a parse the chunks it used are
// kept (up to keptBytes) for the next one, so parsing again, as the preview
// does after every pause in typing, does not page fresh memory in each time.
// That covers a whole parse of a document of a megabyte or two; the much
// more a very large document takes goes back, and its edits re-parse little.
// One per thread; one parse at a time on it.
class ParserMemory {
public:
    static constexpr size_t chunkBytes = size_t(4) << 20;
    static constexpr size_t keptBytes = size_t(16) << 20;

    // The allocator to hand cmark for a parse on this thread.
    static cmark_mem* allocator();
    // The parse is done with everything it allocated.
    static void reset();
    // Bytes held for parses now, in use or kept.
    static size_t heldBytes();
    // The most bytes one parse on this thread had in use since resetPeak().
    static size_t peakBytes();
    static void resetPeak();

private:
    struct Chunk {
        char* memory;
        size_t size;
    };

    static ParserMemory& local();
    static void* callocate(size_t count, size_t size);
    static void* reallocate(void* old, size_t size);
    static void release(void*) {}
    ParserMemory() = default;
    ~ParserMemory();

    void* take(size_t size);
    void* grow(void* old, size_t size);
    void rewind();

    std::vector<Chunk> m_chunks;
    size_t m_chunk = 0;  // the chunk allocations come from
    size_t m_used = 0;   // bytes of it taken
    size_t m_before = 0; // bytes of the chunks before it
    size_t m_peak = 0;
    void* m_last = nullptr;
};
