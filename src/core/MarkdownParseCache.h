#pragma once

#include "core/MarkdownParser.h"
#include "core/MarkdownTree.h"
#include "core/TextSnapshot.h"

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

// The latest parse of one preview's Markdown text. Edits re-parse after a
// 0.15 s pause (a trailing debounce that each new text restarts), so the
// preview renders once per pause in typing rather than on every keystroke.
// The tree carries the text it came from, so readers can tell when it is stale.
//
// Parses run on the one parsing thread all previews share, each from a
// snapshot of the text and with a parser and memory of its own: the text is
// joined and the edit found there, never on the calling thread. The tree comes back
// through the event loop. A newer text supersedes a parse still running: it
// stops at its next step and never comes back. Only a small text asked for
// now, while the parsing thread has no parse to do, is parsed at once on the
// calling thread: that takes about a millisecond, no longer than the trip.
class MarkdownParseCache : public QObject {
    Q_OBJECT
public:
    static constexpr int debounceMs = 150;
    // parseNow parses texts up to this many characters on the calling thread.
    static constexpr qsizetype parsedAtOnce = 16 * 1024;

    // Work a reader wants done on the parsing thread with each new tree, from
    // the tree before it (the latest when the parse started); what it returns
    // comes back with the tree as followup(). It must touch nothing but the two.
    using Followup =
        std::function<std::any(const ParsedMarkdown& before, const ParsedMarkdown& parsed)>;

    // Starts with the parse of the empty text.
    explicit MarkdownParseCache(QObject* parent = nullptr);
    ~MarkdownParseCache() override;

    std::shared_ptr<const ParsedMarkdown> document() const { return m_document; }
    // The text of the newest parse asked for, done or on its way (not one
    // still waiting for its pause).
    const TextSnapshot& latestText() const { return m_latestText; }
    // What the followup made for document(); empty after a parse on this thread.
    const std::any& followup() const { return m_followup; }
    // Hands the followup over, leaving none: what it made for a large
    // document is large, and needed only until the receiver took it.
    std::any takeFollowup() { return std::exchange(m_followup, std::any()); }
    void setFollowup(Followup followup) { m_followupFunction = std::move(followup); }

    // Parses the text once no newer text has come for 0.15 s.
    void scheduleParse(const TextSnapshot& text);
    // Parses without waiting: a small text at once (unless the parsing
    // thread is busy), any other on the parsing thread straight away. A
    // scheduled text is dropped, never parsed later.
    void parseNow(const TextSnapshot& text);
    // Parses on the parsing thread straight away, whatever the text's size;
    // a scheduled text is dropped.
    void parseSoon(const TextSnapshot& text);

    // Lets go of a parse on the parsing thread, so that freeing a large tree
    // keeps no one waiting here. Only the last holder of a parse calls it.
    static void discard(std::shared_ptr<const ParsedMarkdown> parsed);

    // A text waits for its pause or its parse.
    bool isPending() const { return m_debounce.isActive() || m_inFlight; }
    // A text is being parsed on the parsing thread.
    bool isParsing() const { return m_inFlight; }

Q_SIGNALS:
    // The document was replaced.
    void changed();

private:
    struct Result {
        std::uint64_t job = 0;
        std::shared_ptr<const ParsedMarkdown> parsed;
        TextSnapshot text;
        std::any followup;
    };

    void start(const TextSnapshot& text);
    void finished();

    std::shared_ptr<const ParsedMarkdown> m_document;
    TextSnapshot m_documentText; // the snapshot m_document was parsed from
    std::any m_followup;
    Followup m_followupFunction;
    QTimer m_debounce;
    TextSnapshot m_pendingText;
    TextSnapshot m_latestText;
    QFutureWatcher<Result> m_running;
    std::uint64_t m_job = 0; // the parse whose tree is awaited; older ones are dropped
    bool m_inFlight = false;
};
