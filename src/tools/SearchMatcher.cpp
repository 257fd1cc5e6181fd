#include "tools/SearchMatcher.h"

#include <algorithm>
#include <array>
#include <vector>

namespace SearchMatcher {

namespace {

// The simple case folding of every code unit of the Basic Multilingual
// Plane; surrogates stand for themselves.
const std::array<char16_t, 0x10000>& foldTable() {
    static const std::array<char16_t, 0x10000> table = [] {
        std::array<char16_t, 0x10000> t{};
        for (char32_t c = 0; c < 0x10000; ++c)
            t[c] = QChar::isSurrogate(c) ? char16_t(c) : char16_t(QChar::toCaseFolded(c));
        return t;
    }();
    return table;
}

// What the unit at i compares as: its folding, or for the low half of a
// surrogate pair the folding of the pair's code point.
char32_t foldedAt(const char16_t* s, qsizetype i, const std::array<char16_t, 0x10000>& table) {
    const char16_t unit = s[i];
    if (QChar::isLowSurrogate(unit) && i > 0 && QChar::isHighSurrogate(s[i - 1]))
        return QChar::toCaseFolded(QChar::surrogateToUcs4(s[i - 1], unit));
    return table[unit];
}

// A query folded once, with the few code units that fold to its first one,
// so candidates are found by plain comparisons that the compiler vectorises.
class Needle {
public:
    explicit Needle(QStringView query) : m_table(foldTable()) {
        const auto* units = reinterpret_cast<const char16_t*>(query.utf16());
        m_folded.reserve(query.size());
        for (qsizetype i = 0; i < query.size(); ++i)
            m_folded.push_back(foldedAt(units, i, m_table));
        if (m_folded.empty())
            return;
        const char32_t first = m_folded.front();
        for (char32_t unit = 0; unit < 0x10000 && m_starts <= int(m_start.size()); ++unit)
            if (m_table[unit] == first) {
                if (m_starts < int(m_start.size()))
                    m_start[m_starts] = char16_t(unit);
                ++m_starts;
            }
        // Unused places repeat a unit, so every comparison stays meaningful.
        for (int i = m_starts; i < int(m_start.size()); ++i)
            m_start[i] = m_start[0];
    }

    qsizetype length() const { return qsizetype(m_folded.size()); }

    // The first match starting in [from, lastStart] that fits in the text; -1
    // for none.
    qsizetype indexIn(QStringView text, qsizetype from, qsizetype lastStart) const {
        const auto* units = reinterpret_cast<const char16_t*>(text.utf16());
        const qsizetype last = std::min(lastStart, text.size() - length());
        for (qsizetype at = std::max<qsizetype>(from, 0); at <= last; ++at) {
            at = nextStart(units, at, last);
            if (at < 0)
                return -1;
            if (matchesAt(units, at))
                return at;
        }
        return -1;
    }

private:
    bool isStart(char16_t unit) const {
        return unit == m_start[0] || unit == m_start[1] || unit == m_start[2] || unit == m_start[3];
    }

    // The first position in [at, last] whose unit can begin a match.
    qsizetype nextStart(const char16_t* units, qsizetype at, qsizetype last) const {
        if (m_starts > int(m_start.size())) {
            for (; at <= last; ++at)
                if (m_table[units[at]] == m_folded.front())
                    return at;
            return -1;
        }
        // Blocks without a candidate are skipped whole; no early exit inside,
        // so the comparisons run in vector registers.
        constexpr qsizetype block = 32;
        for (; at + block <= last + 1; at += block) {
            unsigned any = 0;
            for (qsizetype i = 0; i < block; ++i) {
                const char16_t unit = units[at + i];
                any |= unsigned(unit == m_start[0]) | unsigned(unit == m_start[1]) |
                       unsigned(unit == m_start[2]) | unsigned(unit == m_start[3]);
            }
            if (any)
                break;
        }
        for (; at <= last; ++at)
            if (isStart(units[at]))
                return at;
        return -1;
    }

    bool matchesAt(const char16_t* units, qsizetype at) const {
        for (qsizetype i = 0; i < length(); ++i)
            if (foldedAt(units, at + i, m_table) != m_folded[size_t(i)])
                return false;
        return true;
    }

    const std::array<char16_t, 0x10000>& m_table;
    std::vector<char32_t> m_folded;
    std::array<char16_t, 4> m_start{};
    int m_starts = 0; // above the array's size: too many to compare one by one
};

} // namespace

QString searchedQuery(const QString& query) {
    return query.trimmed();
}

QList<TextRange> findMatches(QStringView text, QStringView query) {
    QList<TextRange> matches;
    if (query.isEmpty())
        return matches;
    const Needle needle(query);
    for (qsizetype at = needle.indexIn(text, 0, text.size()); at >= 0;
         at = needle.indexIn(text, at + needle.length(), text.size()))
        matches.append({int(at), int(needle.length())});
    return matches;
}

QList<TextRange> matchesAfterChange(const QList<TextRange>& before, QStringView text,
                                    QStringView query, const TextChange& change) {
    QList<TextRange> matches;
    if (query.isEmpty())
        return matches;
    const Needle needle(query);
    const TextChange c = change.within(int(text.size()));
    const qsizetype changeEnd = qsizetype(c.position) + c.added;
    const qsizetype delta = c.delta();

    // Matches that end before the change read nothing it touched: they stay.
    const auto kept = std::upper_bound(before.cbegin(), before.cend(), qint64(c.position),
                                       [](qint64 p, const TextRange& m) { return p < m.end(); });
    matches.reserve(before.size() + 16);
    matches.append(before.cbegin(), kept);
    qsizetype at = kept == before.cbegin() ? 0 : (kept - 1)->end();
    // Starts whose units all lie before the change were tried and failed
    // when the matches before were found.
    const qsizetype nextBefore = kept == before.cend() ? text.size() : kept->location;
    at = std::max(at, std::min(c.position - needle.length() + 1, nextBefore));

    // A start past the change (its unit before it too: a surrogate's pair)
    // reads only text that moved unchanged, so from there on the search goes
    // as it went before, as soon as it starts where the search before started
    // too: not inside one of the earlier matches.
    qsizetype limit = changeEnd + 1;
    for (;;) {
        if (at >= limit) {
            const qsizetype old = at - delta;
            const auto next =
                std::lower_bound(kept, before.cend(), old,
                                 [](const TextRange& m, qsizetype p) { return m.location < p; });
            if (next == before.cbegin() || (next - 1)->end() <= old) {
                for (auto m = next; m != before.cend(); ++m)
                    matches.append({int(m->location + delta), m->length});
                return matches;
            }
            limit = (next - 1)->end() + delta;
        }
        const qsizetype found = needle.indexIn(text, at, limit - 1);
        if (found < 0) {
            at = limit;
            continue;
        }
        matches.append({int(found), int(needle.length())});
        at = found + needle.length();
    }
}

} // namespace SearchMatcher
