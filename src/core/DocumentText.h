#pragma once

#include "core/ChunkedText.h"
#include "core/DocumentFile.h"
#include "core/GapBuffer.h"

#include <QString>
#include <optional>

// The text of a document while it is edited: UTF-16 with LF line breaks, the
// ending each line break has in the file, and the word and character counts.
// An edit costs what it touches, not the length of the text: the units sit
// in pieces (ChunkedText), and the counts are redone only for the part around
// the edit. A snapshot of the text costs no copy of it.
//
// A line break an edit adds takes the ending of the line it splits (the
// break that ends that line); in the last line, or where that line ends in a
// U+2029, U+FDD0 or U+FDD1, it takes the file's own style.
class DocumentText {
public:
    explicit DocumentText(const DocumentFileContents& contents = {});

    qsizetype length() const { return m_units.size(); }
    QChar at(qsizetype i) const { return QChar(m_units.at(i)); }
    QString mid(qsizetype position, qsizetype count) const;
    // The whole text written into `into`, whose buffer is kept when it is
    // large enough and held by nobody else.
    void copyInto(QString& into) const;
    QString toString() const;
    TextSnapshot snapshot() const { return m_units.snapshot(); }
    // Calls fn(const QChar* units, qsizetype count) for the units from..to in
    // order, in runs.
    template <typename Fn> void forEachRun(qsizetype from, qsizetype to, Fn fn) const {
        m_units.forEachRun(from, to, fn);
    }

    // The file's style: that of its first line break.
    LineEnding style() const { return m_style; }
    // The ending of the line break at i.
    LineEnding endingAt(qsizetype i) const {
        return m_mixed ? LineEnding(m_endings.at(i)) : m_style;
    }
    bool hasMixedEndings() const { return m_mixed; }
    // As in DocumentFileContents: empty unless the endings are mixed.
    QByteArray endings() const;

    // Counted on first use, then kept up to date by each edit.
    int wordCount() const;
    int characterCount() const;

    void replace(qsizetype position, qsizetype removed, QStringView added);

    // The file's bytes for this text; none when it is no valid UTF-16.
    std::optional<QByteArray> encode(bool bom) const;

    // The line breaks that count as the end of a line for a new break's
    // ending (besides LF, those QTextDocument also turns into block breaks).
    static bool isParagraphEnd(QChar c);

private:
    LineEnding endingForNewBreaks(qsizetype from) const;
    qsizetype fixedPointBefore(qsizetype position) const;
    qsizetype fixedPointAfter(qsizetype position) const;
    void count() const;
    void edit(qsizetype position, qsizetype removed, QStringView added);

    ChunkedText m_units;
    GapBuffer<quint8> m_endings; // only with mixed endings
    LineEnding m_style = LineEnding::LF;
    bool m_mixed = false;
    mutable bool m_counted = false;
    mutable int m_words = 0;
    mutable int m_characters = 0;
};
