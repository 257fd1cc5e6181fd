#pragma once

#include "core/TextSnapshot.h"

#include <QString>
#include <algorithm>
#include <vector>

// UTF-16 text kept as a sequence of pieces of some tens of thousands of units
// each. An edit rewrites only the pieces it touches, and a snapshot shares
// the pieces instead of copying them: the piece an edit then touches is
// copied once, not the text.
class ChunkedText {
public:
    static constexpr qsizetype pieceUnits = 32 * 1024;

    ChunkedText() = default;
    explicit ChunkedText(QStringView text);

    qsizetype size() const { return m_size; }
    QChar at(qsizetype i) const;
    void copy(qsizetype from, qsizetype count, QChar* out) const;
    // Calls fn(const QChar* units, qsizetype count) for the units from..to in
    // order, a run per piece.
    template <typename Fn> void forEachRun(qsizetype from, qsizetype to, Fn fn) const {
        for (size_t p = pieceAt(from); from < to && p < m_pieces.size(); ++p) {
            const qsizetype offset = from - m_starts[p];
            const qsizetype count = std::min(to, m_starts[p] + m_pieces[p].size()) - from;
            fn(m_pieces[p].constData() + offset, count);
            from += count;
        }
    }

    void replace(qsizetype position, qsizetype removed, QStringView added);
    TextSnapshot snapshot() const { return TextSnapshot(m_pieces); }

private:
    // The piece holding unit i (the last piece for the end).
    size_t pieceAt(qsizetype i) const;
    void setPieces(size_t first, size_t last, QStringView text);
    void recount(size_t from);

    std::vector<QString> m_pieces; // none empty
    std::vector<qsizetype> m_starts;
    qsizetype m_size = 0;
};
