#pragma once

#include <QtGlobal>
#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

// A sequence that is cheap to edit where it was last edited: its free space
// (the gap) stays at the last edit, so typing moves only the units between
// one edit and the next, never the whole sequence.
template <typename T> class GapBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    GapBuffer() = default;
    GapBuffer(const T* data, qsizetype size) : m_gapStart(size), m_gapEnd(size + slack(size)) {
        m_data.reserve(size_t(m_gapEnd));
        m_data.assign(data, data + size);
        m_data.resize(size_t(m_gapEnd));
    }

    qsizetype size() const { return qsizetype(m_data.size()) - gapLength(); }
    T at(qsizetype i) const { return m_data[size_t(i < m_gapStart ? i : i + gapLength())]; }

    // Calls fn(const T* data, qsizetype count) for the units from..to in
    // order, in at most two runs.
    template <typename Fn> void forEachRun(qsizetype from, qsizetype to, Fn fn) const {
        if (from < m_gapStart && from < to)
            fn(m_data.data() + from, std::min(to, m_gapStart) - from);
        if (to > m_gapStart && from < to) {
            const qsizetype start = std::max(from, m_gapStart);
            fn(m_data.data() + start + gapLength(), to - start);
        }
    }

    void copy(qsizetype from, qsizetype count, T* out) const {
        forEachRun(from, from + count, [&out](const T* data, qsizetype n) {
            if (n > 0)
                std::memcpy(out, data, size_t(n) * sizeof(T));
            out += n;
        });
    }

    // Replaces `removed` units at `position` with `count` units of `added`.
    void replace(qsizetype position, qsizetype removed, const T* added, qsizetype count) {
        moveGap(position);
        m_gapEnd += removed;
        if (count <= 0)
            return;
        if (gapLength() < count)
            growGap(count);
        std::memcpy(m_data.data() + m_gapStart, added, size_t(count) * sizeof(T));
        m_gapStart += count;
    }

private:
    qsizetype gapLength() const { return m_gapEnd - m_gapStart; }
    // Free space kept for a sequence of this size, so growing stays rare.
    static qsizetype slack(qsizetype size) { return size / 8 + 1024; }

    void moveGap(qsizetype position) {
        if (position == m_gapStart)
            return;
        T* data = m_data.data();
        if (position < m_gapStart) {
            const qsizetype n = m_gapStart - position;
            std::memmove(data + m_gapEnd - n, data + position, size_t(n) * sizeof(T));
            m_gapStart -= n;
            m_gapEnd -= n;
        } else if (position > m_gapStart) {
            const qsizetype n = position - m_gapStart;
            std::memmove(data + m_gapStart, data + m_gapEnd, size_t(n) * sizeof(T));
            m_gapStart += n;
            m_gapEnd += n;
        }
    }

    // Room for at least `count` units, and slack.
    void growGap(qsizetype count) {
        const qsizetype gap = count + slack(size());
        std::vector<T> grown;
        grown.reserve(size_t(size() + gap));
        grown.insert(grown.end(), m_data.begin(), m_data.begin() + m_gapStart);
        grown.resize(size_t(m_gapStart + gap));
        grown.insert(grown.end(), m_data.begin() + m_gapEnd, m_data.end());
        m_data = std::move(grown);
        m_gapEnd = m_gapStart + gap;
    }

    std::vector<T> m_data;
    qsizetype m_gapStart = 0;
    qsizetype m_gapEnd = 0;
};
