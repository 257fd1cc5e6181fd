#include "preview/CodeHighlighter.h"

#include "preview/HighlightJsEngine.h"

#include <utility>
#include <vector>

namespace {

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
StyledText fromHtml(const QString& html, const CodeTheme& theme) {
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

CodeHighlighter::CodeHighlighter() : m_detected(512) {}

CodeHighlighter::~CodeHighlighter() = default;

bool CodeHighlighter::readyToDetect() {
    // An engine that failed to load stays, so it is not tried again.
    if (!m_detector)
        m_detector = std::make_unique<HighlightJsEngine>();
    return m_detector->isLoaded();
}

bool CodeHighlighter::readyToColour() {
    if (!m_colourer)
        m_colourer = std::make_unique<HighlightJsEngine>();
    return m_colourer->isLoaded();
}

bool CodeHighlighter::isAvailable() {
    return readyToColour();
}

bool CodeHighlighter::detectionIsWarm() const {
    return m_detector && m_detector->hasEveryGrammar();
}

void CodeHighlighter::interrupt() {
    m_interrupted = true;
    for (HighlightJsEngine* engine : {m_detector.get(), m_colourer.get()})
        if (engine)
            engine->interrupt();
}

bool CodeHighlighter::endInterruption() {
    HighlightJsEngine* const used = std::exchange(m_used, nullptr);
    if (!m_interrupted.exchange(false))
        return false;
    for (std::unique_ptr<HighlightJsEngine>* engine : {&m_detector, &m_colourer}) {
        if (*engine && (*engine)->resume() && engine->get() == used &&
            !(*engine)->hasEveryGrammar())
            engine->reset();
    }
    return true;
}

void CodeHighlighter::clearCaches() {
    m_detected.clear();
}

const CodeTheme& CodeHighlighter::theme(const QString& name) {
    auto it = m_themes.find(name);
    if (it == m_themes.end())
        it = m_themes.insert(name, CodeTheme::load(name));
    return *it;
}

bool CodeHighlighter::isKnownLanguage(const QString& language) {
    if (language.isEmpty())
        return false;
    const auto it = m_known.constFind(language);
    if (it != m_known.constEnd())
        return *it;
    if (!readyToColour())
        return false;
    m_used = m_colourer.get();
    const std::optional<bool> known = m_colourer->isKnown(language);
    if (known)
        m_known.insert(language, *known);
    return known.value_or(false);
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
    if (!readyToDetect())
        return {};
    m_used = m_detector.get();
    const std::optional<QString> language = m_detector->detect(sample);
    if (!language)
        return {};
    m_detected.insert(sample, new QString(*language));
    // Every grammar but the few detection skips is compiled now: compiling
    // those too costs nothing, and lets a later call be stopped safely.
    m_detector->compileEveryGrammar();
    return *language;
}

HighlightedCode CodeHighlighter::colour(const QString& code, const QString& language,
                                        const QString& themeName) {
    HighlightedCode result{{code, {}}, {}};
    if (code.size() > highlightLimit || !readyToColour() || !isKnownLanguage(language))
        return result;
    m_used = m_colourer.get();
    const std::optional<QString> html = m_colourer->html(language, code);
    if (!html)
        return result;
    StyledText styled = fromHtml(*html, theme(themeName));
    // The library keeps the text; anything else means the HTML was not
    // understood, and the plain code is the safe thing to show.
    if (styled.text != code)
        return result;
    // The caller's copy, not one grown a character at a time.
    styled.text = code;
    return {std::move(styled), language};
}

HighlightedCode CodeHighlighter::highlight(const QString& code, const QString& language,
                                           const QString& theme) {
    if (code.size() > highlightLimit)
        return {{code, {}}, {}};
    return colour(code, language.isEmpty() ? detectLanguage(code) : language, theme);
}
