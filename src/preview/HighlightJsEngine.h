#pragma once

#include <QJSValue>
#include <QString>
#include <memory>
#include <optional>

class QJSEngine;

// highlight.js loaded into a JavaScript engine of its own. The engine belongs
// to the thread that made the object; only interrupt() may be called from
// another. A call that fails (an interrupted one) gives no value.
//
// Detection runs every grammar over the code and keeps only their scores, so
// it runs with the library's markup building switched off: the two helpers
// that write the HTML write nothing then, which changes no score (they only
// feed the HTML), but spares the engine most of its garbage.
class HighlightJsEngine {
public:
    HighlightJsEngine();
    ~HighlightJsEngine();
    HighlightJsEngine(const HighlightJsEngine&) = delete;
    HighlightJsEngine& operator=(const HighlightJsEngine&) = delete;

    // Whether the library was loaded (and the engine can be used).
    bool isLoaded() const { return m_loaded; }

    // The language highlightAuto finds for the code, empty when none.
    std::optional<QString> detect(const QString& code);
    // highlight.js's HTML for the code in a language it knows, illegal
    // lexemes ignored.
    std::optional<QString> html(const QString& language, const QString& code);
    std::optional<bool> isKnown(const QString& language);
    // Compiles every grammar the library has. Grammars compile on first use,
    // and one interrupted half-way stays broken; once all are compiled, an
    // interrupted call harms no later one.
    bool compileEveryGrammar();
    bool hasEveryGrammar() const { return m_everyGrammar; }

    // Makes the running call (and every later one) fail at once; thread-safe.
    void interrupt();
    // Whether interrupt() was called; the engine runs calls again.
    bool resume();

private:
    std::optional<QJSValue> call(QJSValue& function, const QJSValueList& arguments);

    std::unique_ptr<QJSEngine> m_engine;
    QJSValue m_detect;
    QJSValue m_html;
    QJSValue m_isKnown;
    QJSValue m_compileAll;
    bool m_loaded = false;
    bool m_everyGrammar = false;
};
