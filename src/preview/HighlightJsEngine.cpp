#include "preview/HighlightJsEngine.h"

#include "platform/Logging.h"

#include <QFile>
#include <QJSEngine>
#include <QLoggingCategory>
#include <atomic>

namespace {

const QString scriptPath = QStringLiteral("/usr/share/javascript/highlight.js/highlight.min.js");

// The two markup helpers of the library, each given a first statement that
// makes it build nothing while detection runs. Both or neither: a library of
// another shape loads as it is, and detection only takes longer.
QString withMarkupSwitch(QString source) {
    const std::pair<QLatin1String, QLatin1String> helpers[] = {
        {QLatin1String("function escape(value){"), QLatin1String("if(markupOff)return\"\";")},
        {QLatin1String("function buildSpan(className,insideSpan,leaveOpen,noPrefix){"),
         QLatin1String("if(markupOff)return\"\";")},
    };
    for (const auto& [head, body] : helpers) {
        if (source.count(head) != 1)
            return source;
    }
    for (const auto& [head, body] : helpers)
        source.replace(head, head + body);
    return source;
}

// Set before the library is evaluated: a browser global to attach itself to,
// a console that must exist but need not print, and the markup switch.
const char* const prelude = "var self = this; var window = this;"
                            "var console = {log: function() {}, warn: function() {},"
                            " error: function() {}, info: function() {}};"
                            "var markupOff = false;";

const char* const detectFunction = "(function (code) {"
                                   "  markupOff = true;"
                                   "  var found = hljs.highlightAuto(code).language;"
                                   "  markupOff = false;"
                                   "  return found || '';"
                                   "})";
const char* const htmlFunction = "(function (language, code) {"
                                 "  markupOff = false;"
                                 "  return hljs.highlight(language, code, true).value;"
                                 "})";
const char* const isKnownFunction =
    "(function (language) { return !!hljs.getLanguage(language); })";
const char* const compileAllFunction = "(function () {"
                                       "  markupOff = true;"
                                       "  hljs.listLanguages().forEach(function (name) {"
                                       "    hljs.highlight(name, '', true);"
                                       "  });"
                                       "  markupOff = false;"
                                       "  return true;"
                                       "})";

// Said once a run: every engine made after that meets the same library.
void warnNotLoaded(const QString& why) {
    static std::atomic_bool warned = false;
    if (!warned.exchange(true))
        qCWarning(quonPreview) << "highlight.js not loaded from" << scriptPath
                               << "- code blocks stay plain:" << why;
}

} // namespace

HighlightJsEngine::HighlightJsEngine() {
    // The script compiler warns about the minified library's style on every
    // start; the filter must be in place before an engine exists. Rules from
    // QT_LOGGING_RULES still come after it and win.
    static const bool filtered = [] {
        QLoggingCategory::setFilterRules(QStringLiteral("qt.qml.compiler=false"));
        return true;
    }();
    Q_UNUSED(filtered);
    QFile file(scriptPath);
    if (!file.open(QIODevice::ReadOnly)) {
        warnNotLoaded(file.errorString());
        return;
    }
    m_engine = std::make_unique<QJSEngine>();
    m_engine->evaluate(QString::fromLatin1(prelude));
    const QJSValue loaded =
        m_engine->evaluate(withMarkupSwitch(QString::fromUtf8(file.readAll())), scriptPath);
    if (loaded.isError() || !m_engine->globalObject().property(QStringLiteral("hljs")).isObject()) {
        warnNotLoaded(loaded.toString());
        return;
    }
    m_detect = m_engine->evaluate(QString::fromLatin1(detectFunction));
    m_html = m_engine->evaluate(QString::fromLatin1(htmlFunction));
    m_isKnown = m_engine->evaluate(QString::fromLatin1(isKnownFunction));
    m_compileAll = m_engine->evaluate(QString::fromLatin1(compileAllFunction));
    m_loaded = m_detect.isCallable() && m_html.isCallable() && m_isKnown.isCallable() &&
               m_compileAll.isCallable();
    if (!m_loaded)
        warnNotLoaded(QStringLiteral("it lacks the functions quon calls"));
}

HighlightJsEngine::~HighlightJsEngine() = default;

std::optional<QJSValue> HighlightJsEngine::call(QJSValue& function, const QJSValueList& arguments) {
    if (!m_loaded)
        return std::nullopt;
    QJSValue result = function.call(arguments);
    if (result.isError() || m_engine->isInterrupted())
        return std::nullopt;
    return result;
}

std::optional<QString> HighlightJsEngine::detect(const QString& code) {
    const auto result = call(m_detect, {QJSValue(code)});
    return result ? std::optional(result->toString()) : std::nullopt;
}

std::optional<QString> HighlightJsEngine::html(const QString& language, const QString& code) {
    const auto result = call(m_html, {QJSValue(language), QJSValue(code)});
    return result && result->isString() ? std::optional(result->toString()) : std::nullopt;
}

std::optional<bool> HighlightJsEngine::isKnown(const QString& language) {
    const auto result = call(m_isKnown, {QJSValue(language)});
    return result ? std::optional(result->toBool()) : std::nullopt;
}

bool HighlightJsEngine::compileEveryGrammar() {
    m_everyGrammar = m_everyGrammar || call(m_compileAll, {}).has_value();
    return m_everyGrammar;
}

void HighlightJsEngine::interrupt() {
    if (m_engine)
        m_engine->setInterrupted(true);
}

bool HighlightJsEngine::resume() {
    if (!m_engine || !m_engine->isInterrupted())
        return false;
    m_engine->setInterrupted(false);
    return true;
}
