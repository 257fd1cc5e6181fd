#pragma once

#include "preview/CodeTheme.h"
#include "preview/StyledText.h"

#include <QCache>
#include <QHash>
#include <QString>
#include <atomic>
#include <memory>

class HighlightJsEngine;

// Fenced code coloured by highlight.js, at once: the work the colouring
// thread does (CodeHighlightService), and what tests and figures compare it
// with. Belongs to the thread that made it; only interrupt() may be called
// from another.
//
// It runs two engines. Detection compiles every grammar the library has, and
// the engine then holds them all; each garbage collection walks everything
// an engine holds, and colouring long code makes garbage fast, so colouring
// in that engine took many times as long. Colouring runs in an engine of its
// own that holds only the grammars it coloured with.
struct HighlightedCode {
    StyledText styled; // the code with its colours
    QString language;  // the language used; empty when shown plain
};

class CodeHighlighter {
public:
    // Auto-detection reads at most this much of a block (cut at a line end).
    static constexpr qsizetype detectionPrefix = 1024;
    // highlight.js takes longer the longer the code, more than in proportion:
    // longer code shows plain.
    static constexpr qsizetype highlightLimit = 64 * 1024;

    CodeHighlighter();
    ~CodeHighlighter();
    CodeHighlighter(const CodeHighlighter&) = delete;
    CodeHighlighter& operator=(const CodeHighlighter&) = delete;

    // theme: "atom-one-light" or "atom-one-dark". An empty language asks for
    // detection; an unknown one, or code longer than highlightLimit, gives the
    // plain code.
    HighlightedCode highlight(const QString& code, const QString& language, const QString& theme);
    // The language highlight.js guesses for the code's detectionSample, empty
    // when none. Cached by sample.
    QString detectLanguage(const QString& code);
    // The code coloured as a language given or detected.
    HighlightedCode colour(const QString& code, const QString& language, const QString& theme);
    bool isKnownLanguage(const QString& language);
    // Whether highlight.js could be loaded.
    bool isAvailable();
    // Load the engine detection or colouring runs in, unless loaded (no
    // interrupt() reaches a load); whether highlight.js is there.
    bool readyToDetect();
    bool readyToColour();
    // Whether stopping the detection engine would throw away the grammars it
    // is still compiling.
    bool detectionIsWarm() const;

    // Makes the call running now, and any made before endInterruption, fail
    // at once. Thread-safe while no engine is being loaded or let go: after a
    // ready call, until endInterruption.
    void interrupt();
    // After a call: whether it was interrupted, its result then meaning
    // nothing. An engine stopped while it could have been compiling a grammar
    // is let go, and loaded again when next needed.
    bool endInterruption();

    void clearCaches();

    // The part of the code detection reads.
    static QString detectionSample(const QString& code);

private:
    const CodeTheme& theme(const QString& name);

    std::unique_ptr<HighlightJsEngine> m_detector;
    std::unique_ptr<HighlightJsEngine> m_colourer;
    HighlightJsEngine* m_used = nullptr; // by the last call
    std::atomic<bool> m_interrupted = false;
    QCache<QString, QString> m_detected;
    QHash<QString, bool> m_known;
    QHash<QString, CodeTheme> m_themes;
};
