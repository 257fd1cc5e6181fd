#pragma once

#include "core/MarkdownTree.h"

#include <QObject>
#include <QTimer>
#include <memory>

// The latest parse of one preview's Markdown text. Edits re-parse after a
// 0.15 s pause (a trailing debounce that each new text restarts), so the
// preview renders once per pause in typing rather than on every keystroke.
// The tree carries the text it came from, so readers can tell when it is stale.
class MarkdownParseCache : public QObject {
    Q_OBJECT
public:
    static constexpr int debounceMs = 150;

    // Starts with the parse of the empty text.
    explicit MarkdownParseCache(QObject* parent = nullptr);

    std::shared_ptr<const ParsedMarkdown> document() const { return m_document; }

    // Parses the text once no newer text has come for 0.15 s.
    void scheduleParse(const QString& text);
    // Parses at once; a scheduled text is dropped, never parsed later.
    void parseNow(const QString& text);

    bool isPending() const { return m_debounce.isActive(); }

Q_SIGNALS:
    // The document was replaced.
    void changed();

private:
    void assign(const QString& text);

    std::shared_ptr<const ParsedMarkdown> m_document;
    QTimer m_debounce;
    QString m_pendingText;
};
