#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// Where two texts differ: they share `prefix` units at the start and
// `suffix` at the end, the two never overlapping in the shorter text.
struct TextDifference {
    qsizetype prefix = 0;
    qsizetype suffix = 0;

    // Units two texts share from their start, and at their end.
    static qsizetype sharedStart(QStringView a, QStringView b);
    static qsizetype sharedEnd(QStringView a, QStringView b);
};

// A text as it stood at one moment, in pieces shared with the text it was
// taken from: taking one copies no characters, and a later edit of that text
// copies only the piece it touches. Safe to read on another thread.
class TextSnapshot {
public:
    TextSnapshot() = default;
    // The string as one piece, shared, not copied.
    TextSnapshot(const QString& text); // NOLINT: a string is a snapshot of itself
    explicit TextSnapshot(std::vector<QString> pieces);

    qsizetype length() const { return m_length; }
    bool isEmpty() const { return m_length == 0; }
    const std::vector<QString>& pieces() const { return m_pieces; }
    // The whole text: the one piece itself, or the pieces joined.
    QString toString() const;

    // Holds the same pieces as `other`: the same text, known without reading it.
    bool sameAs(const TextSnapshot& other) const;
    bool equals(QStringView text) const;

    // Where `after` differs from `before`: the pieces both hold are passed
    // without reading them, so for snapshots of one text taken across an
    // edit, about the pieces the edit touched are read.
    static TextDifference difference(const TextSnapshot& before, const TextSnapshot& after);

private:
    std::vector<QString> m_pieces; // none empty
    qsizetype m_length = 0;
};
