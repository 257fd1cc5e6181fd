#include "core/ParserMemory.h"

#include "core/LargeMemory.h"

#include <cmark-gfm.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Every allocation starts with its size, so a reallocation knows what to copy;
// cmark keeps nothing that needs more than 8-byte alignment.
constexpr size_t header = 8;

size_t rounded(size_t size) {
    return (size + 7) & ~size_t(7);
}

} // namespace

cmark_mem* ParserMemory::allocator() {
    static cmark_mem memory{&ParserMemory::callocate, &ParserMemory::reallocate,
                            &ParserMemory::release};
    return &memory;
}

void ParserMemory::reset() {
    local().rewind();
}

size_t ParserMemory::heldBytes() {
    size_t bytes = 0;
    for (const Chunk& chunk : local().m_chunks)
        bytes += chunk.size;
    return bytes;
}

size_t ParserMemory::peakBytes() {
    return local().m_peak;
}

void ParserMemory::resetPeak() {
    local().m_peak = 0;
}

ParserMemory& ParserMemory::local() {
    thread_local ParserMemory memory;
    return memory;
}

ParserMemory::~ParserMemory() {
    for (const Chunk& chunk : m_chunks)
        LargeMemory::give(chunk.memory, chunk.size);
}

void* ParserMemory::callocate(size_t count, size_t size) {
    // cmark's own allocator gives up the same way when memory runs out.
    if (size != 0 && count > (SIZE_MAX / 2) / size)
        std::abort();
    void* memory = local().take(count * size);
    std::memset(memory, 0, count * size);
    return memory;
}

void* ParserMemory::reallocate(void* old, size_t size) {
    if (size > SIZE_MAX / 2)
        std::abort();
    return old ? local().grow(old, size) : local().take(size);
}

void* ParserMemory::take(size_t size) {
    const size_t needed = header + rounded(size);
    while (m_chunk < m_chunks.size() && m_used + needed > m_chunks[m_chunk].size) {
        m_before += m_chunks[m_chunk++].size;
        m_used = 0;
    }
    if (m_chunk == m_chunks.size()) {
        const size_t bytes = needed > chunkBytes ? needed : chunkBytes;
        m_chunks.push_back({static_cast<char*>(LargeMemory::take(bytes)), bytes});
        m_used = 0;
    }
    char* at = m_chunks[m_chunk].memory + m_used;
    m_used += needed;
    m_peak = std::max(m_peak, m_before + m_used);
    *reinterpret_cast<size_t*>(at) = needed - header;
    m_last = at + header;
    return m_last;
}

void* ParserMemory::grow(void* old, size_t size) {
    size_t& capacity = *reinterpret_cast<size_t*>(static_cast<char*>(old) - header);
    if (size <= capacity)
        return old;
    // Buffers grow one after another: the latest grows where it is.
    const size_t extra = rounded(size) - capacity;
    if (old == m_last && m_used + extra <= m_chunks[m_chunk].size) {
        m_used += extra;
        capacity += extra;
        return old;
    }
    void* moved = take(size);
    std::memcpy(moved, old, capacity);
    return moved;
}

void ParserMemory::rewind() {
    // Keep what this parse used, as far as keptBytes allows.
    const size_t used = m_chunks.empty() ? 0 : m_chunk + 1;
    size_t kept = 0;
    size_t keep = 0;
    while (keep < used && kept + m_chunks[keep].size <= keptBytes)
        kept += m_chunks[keep++].size;
    for (size_t i = keep; i < m_chunks.size(); ++i)
        LargeMemory::give(m_chunks[i].memory, m_chunks[i].size);
    m_chunks.resize(keep);
    m_chunk = 0;
    m_used = 0;
    m_before = 0;
    m_last = nullptr;
}
