#include "Bench.h"

#include "preview/CodeHighlightService.h"
#include "preview/CodeHighlighter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>

namespace {

QString pythonBlock(int lines) {
    QString code;
    for (int i = 0; code.count(u'\n') < lines; ++i)
        code += QStringLiteral("def compute_%1(value, factor=%1):\n"
                               "    # scale the value %1 times\n"
                               "    result = [value * factor for _ in range(%1)]\n"
                               "    return sum(result) / len(\"text %1\")\n\n")
                    .arg(i);
    return code;
}

double onceMs(const std::function<void()>& fn) {
    QElapsedTimer t;
    t.start();
    fn();
    return double(t.nsecsElapsed()) / 1e6;
}

// What the UI thread pays for colours the colouring thread made before.
double cachedMs(const QString& code, const QString& language, const QString& theme) {
    CodeHighlightService& service = CodeHighlightService::shared();
    QObject receiver;
    bool done = false;
    service.request(code, language, theme, &receiver, [&](const auto&) { done = true; });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return Bench::medianMs(5, [&] { service.cached(code, language, theme); });
}

// The colouring thread's work, done here at once: the engines load, colour a
// tagged block, and detect the language of an untagged one (the first
// detection compiles every grammar).
void highlightFigures() {
    CodeHighlighter h;
    const QString theme = QStringLiteral("atom-one-light");
    Bench::report(QStringLiteral("code.engine.load"), onceMs([&] { h.isAvailable(); }), "ms");

    const QString code = pythonBlock(1000);
    Bench::report(QStringLiteral("code.highlight.1000lines.cold"),
                  onceMs([&] { h.highlight(code, QStringLiteral("python"), theme); }), "ms");
    Bench::report(QStringLiteral("code.highlight.1000lines.cached"),
                  cachedMs(code, QStringLiteral("python"), theme), "ms");

    h.readyToDetect();
    Bench::report(QStringLiteral("code.detect.1000lines.cold"),
                  onceMs([&] { h.detectLanguage(code); }), "ms");
    h.clearCaches();
    Bench::report(QStringLiteral("code.highlight.auto.1000lines.cold"),
                  onceMs([&] { h.highlight(code, QString(), theme); }), "ms");
    Bench::report(QStringLiteral("code.highlight.auto.1000lines.cached"),
                  cachedMs(code, QString(), theme), "ms");
}

const Bench::Registration registration("code", highlightFigures);

} // namespace
