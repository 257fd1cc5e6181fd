#include "core/TextSnapshot.h"

#include <algorithm>
#include <cstring>

namespace {

bool samePiece(const QString& a, const QString& b) {
    return a.size() == b.size() && a.constData() == b.constData();
}

constexpr qsizetype block = 1024;

} // namespace

// Compared a block at a time first.
qsizetype TextDifference::sharedStart(QStringView a, QStringView b) {
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype at = 0;
    while (at + block <= n && std::memcmp(a.data() + at, b.data() + at, block * sizeof(QChar)) == 0)
        at += block;
    while (at < n && a[at] == b[at])
        ++at;
    return at;
}

qsizetype TextDifference::sharedEnd(QStringView a, QStringView b) {
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype at = 0;
    while (at + block <= n &&
           std::memcmp(a.data() + a.size() - at - block, b.data() + b.size() - at - block,
                       block * sizeof(QChar)) == 0)
        at += block;
    while (at < n && a[a.size() - 1 - at] == b[b.size() - 1 - at])
        ++at;
    return at;
}

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

namespace {

// Reads two piece lists side by side, from the start or from the end.
struct Walk {
    const std::vector<QString>& pieces;
    bool backward;
    size_t piece = 0;
    qsizetype offset = 0; // units of the current piece already passed

    bool done() const { return piece >= pieces.size(); }
    const QString& current() const { return pieces[backward ? pieces.size() - 1 - piece : piece]; }
    QStringView rest() const {
        const QString& p = current();
        return backward ? QStringView(p).first(p.size() - offset) : QStringView(p).sliced(offset);
    }
    void pass(qsizetype units) {
        offset += units;
        if (offset == current().size()) {
            ++piece;
            offset = 0;
        }
    }
};

// Units the walks pass alike, at most `limit`: pieces both share are passed
// whole without reading them.
qsizetype walkAlike(Walk a, Walk b, qsizetype limit) {
    qsizetype alike = 0;
    while (alike < limit && !a.done() && !b.done()) {
        const QStringView x = a.rest();
        const QStringView y = b.rest();
        const qsizetype n = std::min({x.size(), y.size(), limit - alike});
        qsizetype same = 0;
        if (a.offset == 0 && b.offset == 0 && samePiece(a.current(), b.current()))
            same = n;
        else if (a.backward)
            same = TextDifference::sharedEnd(x.last(n), y.last(n));
        else
            same = TextDifference::sharedStart(x.first(n), y.first(n));
        alike += same;
        if (same < n)
            break;
        a.pass(n);
        b.pass(n);
    }
    return alike;
}

} // namespace

TextDifference TextSnapshot::difference(const TextSnapshot& before, const TextSnapshot& after) {
    const qsizetype shorter = std::min(before.m_length, after.m_length);
    TextDifference d;
    d.prefix = walkAlike({before.m_pieces, false}, {after.m_pieces, false}, shorter);
    d.suffix = walkAlike({before.m_pieces, true}, {after.m_pieces, true}, shorter - d.prefix);
    return d;
}
