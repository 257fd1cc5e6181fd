#include "preview/CodeHighlighter.h"

#include "preview/CodeTheme.h"

#include <QFile>
#include <QJSEngine>
#include <QLoggingCategory>
#include <vector>

namespace {

const QString scriptPath = QStringLiteral("/usr/share/javascript/highlight.js/highlight.min.js");

// The code itself is not in the key, only its hash: an entry holds the code
// once, as its text, and a hit is checked against that.
QString cacheKey(const QString& theme, const QString& language, const QString& code) {
    return theme + QChar(0) + language + QChar(0) + QString::number(qHash(code), 16);
}

void appendDecoded(QString& out, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            out.append(text[i]);
            continue;
        }
        const qsizetype end = text.indexOf(u';', i);
        if (end < 0) {
            out.append(text[i]);
            continue;
        }
        const QStringView entity = text.mid(i + 1, end - i - 1);
        if (entity == u"amp")
            out.append(u'&');
        else if (entity == u"lt")
            out.append(u'<');
        else if (entity == u"gt")
            out.append(u'>');
        else if (entity == u"quot")
            out.append(u'"');
        else if (entity.startsWith(u"#x"))
            out.append(QChar(entity.mid(2).toUInt(nullptr, 16)));
        else if (entity.startsWith(u'#'))
            out.append(QChar(entity.mid(1).toUInt()));
        else {
            out.append(text[i]);
            continue;
        }
        i = end;
    }
}

// Turns highlight.js HTML into the plain code and its formats.
StyledText fromHtml(const QString& html, const QString& themeName) {
    const CodeTheme& theme = CodeTheme::named(themeName);
    StyledText out;
    std::vector<QStringList> spans;
    QTextCharFormat current = theme.format(spans);
    qsizetype runStart = 0;
    auto closeRun = [&] {
        if (out.text.size() > runStart)
            out.formats.append({int(runStart), int(out.text.size() - runStart), current});
        runStart = out.text.size();
    };
    const QStringView view(html);
    qsizetype i = 0;
    while (i < view.size()) {
        const qsizetype tag = view.indexOf(u'<', i);
        appendDecoded(out.text, view.mid(i, (tag < 0 ? view.size() : tag) - i));
        if (tag < 0)
            break;
        const qsizetype tagEnd = view.indexOf(u'>', tag);
        if (tagEnd < 0)
            break;
        const QStringView inside = view.mid(tag + 1, tagEnd - tag - 1);
        closeRun();
        if (inside.startsWith(u'/')) {
            if (!spans.empty())
                spans.pop_back();
        } else {
            QStringList classes;
            const qsizetype cls = inside.indexOf(u"class=\"");
            if (cls >= 0) {
                const qsizetype start = cls + 7;
                const qsizetype end = inside.indexOf(u'"', start);
                classes = inside.mid(start, end - start).toString().split(u' ', Qt::SkipEmptyParts);
            }
            spans.push_back(classes);
        }
        current = theme.format(spans);
        i = tagEnd + 1;
    }
    closeRun();
    return out;
}

} // namespace

CodeHighlighter& CodeHighlighter::shared() {
    static CodeHighlighter instance;
    return instance;
}

CodeHighlighter::CodeHighlighter() : m_results(resultBytes), m_detected(512) {}

CodeHighlighter::~CodeHighlighter() = default;

QJSEngine* CodeHighlighter::engine() {
    if (m_engine || m_loadFailed)
        return m_engine.get();
    QFile file(scriptPath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_loadFailed = true;
        return nullptr;
    }
    // The script compiler warns about the minified library's style on every
    // start; the filter must be in place before the engine exists. Rules from
    // QT_LOGGING_RULES still come after it and win.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qml.compiler=false"));
    auto engine = std::make_unique<QJSEngine>();
    // The library looks for a browser global to attach itself to, and warns
    // through a console that must exist but need not print.
    engine->evaluate(QStringLiteral("var self = this; var window = this;"
                                    "var console = {log: function() {}, warn: function() {},"
                                    " error: function() {}, info: function() {}};"));
    const QJSValue loaded = engine->evaluate(QString::fromUtf8(file.readAll()), scriptPath);
    if (loaded.isError() || !engine->globalObject().property(QStringLiteral("hljs")).isObject()) {
        m_loadFailed = true;
        return nullptr;
    }
    m_engine = std::move(engine);
    return m_engine.get();
}

bool CodeHighlighter::isAvailable() {
    return engine() != nullptr;
}

void CodeHighlighter::clearCaches() {
    m_results.clear();
    m_detected.clear();
}

bool CodeHighlighter::isKnownLanguage(const QString& language) {
    if (language.isEmpty())
        return false;
    const auto it = m_known.constFind(language);
    if (it != m_known.constEnd())
        return *it;
    QJSEngine* js = engine();
    bool known = false;
    if (js) {
        QJSValue getLanguage = js->globalObject()
                                   .property(QStringLiteral("hljs"))
                                   .property(QStringLiteral("getLanguage"));
        const QJSValue found = getLanguage.call({QJSValue(language)});
        known = !found.isError() && found.isObject();
    }
    m_known.insert(language, known);
    return known;
}

QString CodeHighlighter::detectionSample(const QString& code) {
    if (code.size() <= detectionPrefix)
        return code;
    QString sample = code.left(detectionPrefix);
    const qsizetype lastBreak = sample.lastIndexOf(u'\n');
    if (lastBreak > 0)
        sample.truncate(lastBreak + 1);
    return sample;
}

QString CodeHighlighter::detectLanguage(const QString& code) {
    const QString sample = detectionSample(code);
    if (const QString* cached = m_detected.object(sample))
        return *cached;
    QString language;
    if (QJSEngine* js = engine()) {
        QJSValue highlightAuto = js->globalObject()
                                     .property(QStringLiteral("hljs"))
                                     .property(QStringLiteral("highlightAuto"));
        const QJSValue result = highlightAuto.call({QJSValue(sample)});
        if (!result.isError()) {
            const QJSValue found = result.property(QStringLiteral("language"));
            if (found.isString())
                language = found.toString();
        }
    }
    m_detected.insert(sample, new QString(language));
    return language;
}

bool CodeHighlighter::needsDetection(const QString& code) {
    return code.size() <= highlightLimit && isAvailable() &&
           !m_detected.contains(detectionSample(code));
}

std::shared_ptr<const HighlightedCode>
CodeHighlighter::highlight(const QString& code, const QString& language, const QString& theme) {
    if (code.size() > highlightLimit)
        return std::make_shared<const HighlightedCode>(HighlightedCode{{code, {}}, {}});
    const QString key = cacheKey(theme, language, code);
    if (auto* cached = m_results.object(key); cached && (*cached)->styled.text == code)
        return *cached;

    const QString used = language.isEmpty() ? detectLanguage(code) : language;
    HighlightedCode result;
    result.styled.text = code;
    if (isKnownLanguage(used)) {
        QJSValue highlightFn = engine()
                                   ->globalObject()
                                   .property(QStringLiteral("hljs"))
                                   .property(QStringLiteral("highlight"));
        const QJSValue value = highlightFn.call({QJSValue(used), QJSValue(code), QJSValue(true)});
        if (!value.isError()) {
            StyledText styled = fromHtml(value.property(QStringLiteral("value")).toString(), theme);
            // The library keeps the text; anything else means the HTML was not
            // understood, and the plain code is the safe thing to show.
            if (styled.text == code) {
                // The caller's copy, not one grown a character at a time.
                styled.text = code;
                result = {std::move(styled), used};
            }
        }
    }
    // The cost is what an entry holds: its key and code, and its runs, each
    // with a format of its own.
    constexpr qsizetype bytesPerRun = qsizetype(sizeof(QTextLayout::FormatRange)) + 64;
    const qsizetype bytes = qsizetype(sizeof(QChar)) * (key.size() + code.size()) +
                            result.styled.formats.size() * bytesPerRun + 256;
    auto shared = std::make_shared<const HighlightedCode>(std::move(result));
    m_results.insert(key, new std::shared_ptr<const HighlightedCode>(shared),
                     int(qMin<qsizetype>(bytes, 1 << 30)));
    return shared;
}
