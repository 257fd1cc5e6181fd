#include "core/DocumentText.h"

#include "core/TextCounts.h"

#include <vector>

DocumentText::DocumentText(const DocumentFileContents& contents)
    : m_units(contents.text), m_style(contents.lineEnding), m_mixed(!contents.endings.isEmpty()) {
    if (m_mixed)
        m_endings = GapBuffer<quint8>(reinterpret_cast<const quint8*>(contents.endings.constData()),
                                      contents.endings.size());
}

void DocumentText::count() const {
    if (m_counted)
        return;
    const QString text = toString();
    m_words = TextCounts::words(text);
    m_characters = TextCounts::characters(text);
    m_counted = true;
}

int DocumentText::wordCount() const {
    count();
    return m_words;
}

int DocumentText::characterCount() const {
    count();
    return m_characters;
}

QString DocumentText::mid(qsizetype position, qsizetype count) const {
    QString out(count, Qt::Uninitialized);
    m_units.copy(position, count, out.data());
    return out;
}

void DocumentText::copyInto(QString& into) const {
    into.resize(length());
    m_units.copy(0, length(), into.data());
}

QString DocumentText::toString() const {
    return mid(0, length());
}

bool DocumentText::isParagraphEnd(QChar c) {
    const char16_t u = c.unicode();
    return u == u'\n' || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1;
}

LineEnding DocumentText::endingForNewBreaks(qsizetype from) const {
    for (qsizetype i = from; i < length(); ++i) {
        const QChar c = at(i);
        if (isParagraphEnd(c))
            return c == QLatin1Char('\n') ? endingAt(i) : m_style;
    }
    return m_style;
}

// The last fixed point at or before position - 1 (its pair lies before the
// position), or the start.
qsizetype DocumentText::fixedPointBefore(qsizetype position) const {
    for (qsizetype i = position - 1; i > 0; --i)
        if (TextCounts::isFixedPoint(at(i - 1), at(i)))
            return i;
    return 0;
}

// The first fixed point whose pair lies at or after position, or the end.
qsizetype DocumentText::fixedPointAfter(qsizetype position) const {
    for (qsizetype i = position + 1; i < length(); ++i)
        if (TextCounts::isFixedPoint(at(i - 1), at(i)))
            return i;
    return length();
}

void DocumentText::replace(qsizetype position, qsizetype removed, QStringView added) {
    if (!m_counted) {
        edit(position, removed, added);
        return;
    }
    // The piece whose counts the edit can change lies between two fixed
    // points outside it, which stay fixed points after it.
    const qsizetype from = fixedPointBefore(position);
    const qsizetype to = fixedPointAfter(position + removed);
    const TextCounts::WordState state =
        from > 0 ? TextCounts::stateAfter(at(from - 1)) : TextCounts::WordState{};
    const QString before = mid(from, to - from);
    edit(position, removed, added);
    const QString after = mid(from, to - from - removed + added.size());
    m_words += TextCounts::words(after, state) - TextCounts::words(before, state);
    m_characters += TextCounts::characters(after) - TextCounts::characters(before);
}

void DocumentText::edit(qsizetype position, qsizetype removed, QStringView added) {
    if (m_mixed) {
        // Only units that are LF read theirs: the others take any value.
        const bool breaks = added.contains(QLatin1Char('\n'));
        const auto ending = quint8(breaks ? endingForNewBreaks(position + removed) : m_style);
        const std::vector<quint8> endings(size_t(added.size()), ending);
        m_endings.replace(position, removed, endings.data(), added.size());
    }
    m_units.replace(position, removed, added);
}

QByteArray DocumentText::endings() const {
    QByteArray out;
    if (m_mixed) {
        out.resize(length());
        m_endings.copy(0, length(), reinterpret_cast<quint8*>(out.data()));
    }
    return out;
}

std::optional<QByteArray> DocumentText::encode(bool bom) const {
    return DocumentFile::encode(toString(), m_style, bom, endings());
}
