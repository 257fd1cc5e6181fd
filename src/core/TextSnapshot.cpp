#include "core/TextSnapshot.h"

#include <algorithm>

namespace {

bool samePiece(const QString& a, const QString& b) {
    return a.size() == b.size() && a.constData() == b.constData();
}

// Units the two share from their start.
qsizetype sharedStart(QStringView a, QStringView b) {
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype at = 0;
    while (at < n && a[at] == b[at])
        ++at;
    return at;
}

qsizetype sharedEnd(QStringView a, QStringView b) {
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype at = 0;
    while (at < n && a[a.size() - 1 - at] == b[b.size() - 1 - at])
        ++at;
    return at;
}

} // namespace

TextSnapshot::TextSnapshot(const QString& text) : m_length(text.size()) {
    if (!text.isEmpty())
        m_pieces.push_back(text);
}

TextSnapshot::TextSnapshot(std::vector<QString> pieces) : m_pieces(std::move(pieces)) {
    m_pieces.erase(std::remove_if(m_pieces.begin(), m_pieces.end(),
                                  [](const QString& piece) { return piece.isEmpty(); }),
                   m_pieces.end());
    for (const QString& piece : m_pieces)
        m_length += piece.size();
}

QString TextSnapshot::toString() const {
    if (m_pieces.size() == 1)
        return m_pieces.front();
    QString out;
    out.reserve(m_length);
    for (const QString& piece : m_pieces)
        out += piece;
    return out;
}

bool TextSnapshot::sameAs(const TextSnapshot& other) const {
    return m_length == other.m_length &&
           std::equal(m_pieces.begin(), m_pieces.end(), other.m_pieces.begin(),
                      other.m_pieces.end(), samePiece);
}

bool TextSnapshot::equals(QStringView text) const {
    if (text.size() != m_length)
        return false;
    qsizetype at = 0;
    for (const QString& piece : m_pieces) {
        if (QStringView(piece) != text.sliced(at, piece.size()))
            return false;
        at += piece.size();
    }
    return true;
}

TextDifference TextSnapshot::difference(const TextSnapshot& before, const TextSnapshot& after) {
    const std::vector<QString>& a = before.m_pieces;
    const std::vector<QString>& b = after.m_pieces;
    const qsizetype limit = std::min(before.m_length, after.m_length);
    TextDifference d;
    size_t head = 0;
    while (head < a.size() && head < b.size() && samePiece(a[head], b[head]))
        d.prefix += a[head++].size();
    if (head < a.size() && head < b.size())
        d.prefix += sharedStart(a[head], b[head]);
    d.prefix = std::min(d.prefix, limit);

    size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           samePiece(a[a.size() - 1 - tail], b[b.size() - 1 - tail]))
        d.suffix += a[a.size() - 1 - tail++].size();
    if (tail < a.size() && tail < b.size())
        d.suffix += sharedEnd(a[a.size() - 1 - tail], b[b.size() - 1 - tail]);
    d.suffix = std::min(d.suffix, limit - d.prefix);
    return d;
}
