#include "core/ChunkedText.h"

#include <algorithm>
#include <cstring>

ChunkedText::ChunkedText(QStringView text) {
    setPieces(0, 0, text);
}

size_t ChunkedText::pieceAt(qsizetype i) const {
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), i);
    return after == m_starts.begin() ? 0 : size_t(after - m_starts.begin()) - 1;
}

QChar ChunkedText::at(qsizetype i) const {
    const size_t p = pieceAt(i);
    return m_pieces[p][i - m_starts[p]];
}

void ChunkedText::copy(qsizetype from, qsizetype count, QChar* out) const {
    forEachRun(from, from + count, [&out](const QChar* units, qsizetype n) {
        std::memcpy(static_cast<void*>(out), units, size_t(n) * sizeof(QChar));
        out += n;
    });
}

// Pieces first..last (exclusive) become `text`, cut into pieces of about
// pieceUnits.
void ChunkedText::setPieces(size_t first, size_t last, QStringView text) {
    std::vector<QString> made;
    const qsizetype count = (text.size() + pieceUnits - 1) / pieceUnits;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype from = text.size() * i / count;
        const qsizetype to = text.size() * (i + 1) / count;
        made.push_back(text.sliced(from, to - from).toString());
    }
    m_pieces.erase(m_pieces.begin() + qsizetype(first), m_pieces.begin() + qsizetype(last));
    m_pieces.insert(m_pieces.begin() + qsizetype(first), made.begin(), made.end());
    recount(first);
}

void ChunkedText::recount(size_t from) {
    m_starts.resize(m_pieces.size());
    qsizetype start = from > 0 ? m_starts[from - 1] + m_pieces[from - 1].size() : 0;
    for (size_t p = from; p < m_pieces.size(); ++p) {
        m_starts[p] = start;
        start += m_pieces[p].size();
    }
    m_size = start;
}

void ChunkedText::replace(qsizetype position, qsizetype removed, QStringView added) {
    if (removed == 0 && added.isEmpty())
        return;
    if (m_pieces.empty()) {
        setPieces(0, 0, added);
        return;
    }
    size_t first = pieceAt(position);
    // An insertion at a piece's start goes at the end of the piece before it.
    if (first > 0 && position == m_starts[first] && removed == 0)
        --first;
    const size_t last = pieceAt(std::max(position, position + removed - 1));
    const qsizetype offset = position - m_starts[first];
    QString& piece = m_pieces[first];
    const qsizetype edited = piece.size() - removed + added.size();
    // Within one piece that stays of a fair size: edited in place (copied
    // first only when a snapshot shares it).
    if (first == last && offset + removed <= piece.size() && edited >= pieceUnits / 4 &&
        edited <= 2 * pieceUnits) {
        piece.replace(offset, removed, added.data(), added.size());
        recount(first);
        return;
    }
    // Otherwise the pieces it touches, and a neighbour to keep pieces from
    // dwindling, are cut again.
    size_t from = first;
    size_t to = last + 1;
    if (to < m_pieces.size())
        ++to;
    else if (from > 0)
        --from;
    QString text;
    const qsizetype start = m_starts[from];
    const qsizetype end = m_starts[to - 1] + m_pieces[to - 1].size();
    text.reserve(end - start - removed + added.size());
    forEachRun(start, position,
               [&text](const QChar* units, qsizetype n) { text.append(units, n); });
    text.append(added);
    forEachRun(position + removed, end,
               [&text](const QChar* units, qsizetype n) { text.append(units, n); });
    setPieces(from, to, text);
}
