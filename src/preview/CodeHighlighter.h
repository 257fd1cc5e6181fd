#pragma once

#include "preview/StyledText.h"

#include <QCache>
#include <QHash>
#include <QString>
#include <memory>

class QJSEngine;

// Fenced code coloured by highlight.js in one shared JavaScript engine, loaded
// on first use. Results are cached by theme, language and code, so re-renders
// of an unchanged block cost a lookup.
struct HighlightedCode {
    StyledText styled; // the code with its colours
    QString language;  // the language used; empty when shown plain
};

class CodeHighlighter {
public:
    static CodeHighlighter& shared();

    // Auto-detection reads at most this much of a block (cut at a line end).
    static constexpr qsizetype detectionPrefix = 1024;
    // highlight.js takes longer the longer the code, more than in proportion,
    // and the window waits meanwhile: longer code shows plain.
    static constexpr qsizetype highlightLimit = 64 * 1024;
    // The memory the cached results may hold, in bytes.
    static constexpr int resultBytes = 8 * 1024 * 1024;

    // theme: "atom-one-light" or "atom-one-dark". An empty language asks for
    // detection; an unknown one, or code longer than highlightLimit, gives the
    // plain code.
    std::shared_ptr<const HighlightedCode> highlight(const QString& code, const QString& language,
                                                     const QString& theme);
    // The language highlight.js guesses for the code, empty when none.
    QString detectLanguage(const QString& code);
    // Whether colouring the code without a language would have to run the
    // (slow) detection first.
    bool needsDetection(const QString& code);
    bool isKnownLanguage(const QString& language);
    // Whether highlight.js could be loaded.
    bool isAvailable();

    void clearCaches();

    // The part of the code detection reads.
    static QString detectionSample(const QString& code);

private:
    CodeHighlighter();
    ~CodeHighlighter();
    QJSEngine* engine();

    std::unique_ptr<QJSEngine> m_engine;
    bool m_loadFailed = false;
    QCache<QString, std::shared_ptr<const HighlightedCode>> m_results;
    QCache<QString, QString> m_detected;
    QHash<QString, bool> m_known;
};
