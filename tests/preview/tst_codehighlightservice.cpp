#include "preview/CodeHighlightService.h"
#include "preview/CodeHighlighter.h"
#include "preview/HighlightJsEngine.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QJSEngine>
#include <QRandomGenerator>
#include <QTest>
#include <memory>

namespace {

const QString light = QStringLiteral("atom-one-light");

// highlight.js as it comes, in an engine of the test's own.
struct Library : QJSEngine {
    Library() {
        QFile file(QStringLiteral("/usr/share/javascript/highlight.js/highlight.min.js"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("highlight.js missing");
        evaluate(QStringLiteral("var self = this; var window = this;"
                                "var console = {log: function() {}};"));
        evaluate(QString::fromUtf8(file.readAll()));
    }
    // What the script gives for the code and the language.
    QString run(const char* script, const QString& code, const QString& language = {}) {
        globalObject().setProperty(QStringLiteral("code"), code);
        globalObject().setProperty(QStringLiteral("language"), language);
        return evaluate(QString::fromLatin1(script)).toString();
    }
};

// Inputs of several languages, among them one whose grammar colours another
// language inside it, and words that are no code.
QList<QString> samples() {
    QString python;
    for (int i = 0; python.size() < 3000; ++i)
        python += QStringLiteral("def compute_%1(value):\n    # scale\n    return [value * %1 "
                                 "for _ in range(%1)]\n\n")
                      .arg(i);
    return {
        python,
        QStringLiteral("#include <stdio.h>\nint main(void) {\n    printf(\"%d\\n\", 1 << 3);\n"
                       "    return 0;\n}\n"),
        QStringLiteral("<html>\n<style>p { color: red; }</style>\n<script>var a = 1 < 2;</script>\n"
                       "<p class=\"x\">Hi &amp; bye</p>\n</html>\n"),
        QStringLiteral("Some words that are not code at all, only a sentence.\n"),
    };
}

} // namespace

class TestCodeHighlightService : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The language the service detects, the HTML its engine makes and the
    // colours it hands back are what the library and the highlighter at once
    // give for the same input, also after jobs stopped at any moment, in
    // detection or colouring: those leave the engines whole.
    void resultsAreTheLibrarysOwn() {
        CodeHighlightService& service = CodeHighlightService::shared();
        const QList<QString> codes = samples();
        QRandomGenerator random(39);
        for (int round = 0; round < 24; ++round) {
            auto receiver = std::make_unique<QObject>();
            const QString code = codes[round % codes.size()] + QString(round, u'\n');
            const QString language = round % 3 ? QString() : QStringLiteral("xml");
            service.request(code, language, light, receiver.get(), [](const auto&) {});
            QTest::qWait(int(random.bounded(60)));
            receiver.reset();
        }
        QTRY_COMPARE_WITH_TIMEOUT(service.jobCount(), 0, 120000);
        Library library;
        CodeHighlighter direct;
        HighlightJsEngine engine;
        QVERIFY(engine.isLoaded());
        for (const QString& code : codes) {
            const QString language = library.run("hljs.highlightAuto(code).language || ''",
                                                 CodeHighlighter::detectionSample(code));
            QCOMPARE(direct.detectLanguage(code), language);

            std::shared_ptr<const HighlightedCode> coloured;
            QObject receiver;
            service.request(code, QString(), light, &receiver,
                            [&](const auto& c) { coloured = c; });
            QTRY_VERIFY_WITH_TIMEOUT(coloured, 120000);
            QCOMPARE(coloured->language, language);
            QCOMPARE(coloured->styled.formats,
                     direct.highlight(code, QString(), light).styled.formats);
            if (language.isEmpty())
                continue;
            QVERIFY(!coloured->styled.formats.isEmpty());
            QCOMPARE(engine.html(language, code).value_or(QString()),
                     library.run("hljs.highlight(language, code, true).value", code, language));
        }
    }

    // Jobs whose views are gone before they run are never run: a fence typed
    // into a long document does not queue minutes of work.
    void jobsNoOneWaitsForAreDropped() {
        CodeHighlightService& service = CodeHighlightService::shared();
        QList<QString> codes;
        {
            std::vector<std::unique_ptr<QObject>> views;
            for (int i = 0; i < 20; ++i) {
                codes << QStringLiteral("Paragraph %1 of prose that became code.\n")
                             .arg(i)
                             .repeated(200);
                views.push_back(std::make_unique<QObject>());
                service.request(codes.last(), QString(), light, views.back().get(),
                                [](const auto&) { QFAIL("a view that is gone is coloured"); });
            }
        }
        QTRY_COMPARE_WITH_TIMEOUT(service.jobCount(), 0, 120000);
        // The job running when they went may have finished.
        const auto done = std::count_if(codes.begin(), codes.end(), [&](const QString& code) {
            return service.cached(code, QString(), light) != nullptr;
        });
        QVERIFY2(done <= 2, qPrintable(QString::number(done)));
    }

    // The application going away stops the job that runs and the thread;
    // nothing is answered afterwards. (Last: the service is gone then.)
    void shutDownStopsTheRunningJob() {
        CodeHighlightService& service = CodeHighlightService::shared();
        QObject receiver;
        const QString code = QStringLiteral("<p>%1</p>\n").repeated(6000);
        const int interruptedBefore = service.interruptedSteps();
        service.request(code, QStringLiteral("xml"), light, &receiver, [](const auto&) {});
        // Stopped while it colours, not while it waits its turn.
        QTRY_VERIFY(service.isColouring());
        service.shutDown();
        QCOMPARE(service.interruptedSteps(), interruptedBefore + 1);
        QCOMPARE(service.jobCount(), 0);
        bool answered = false;
        service.request(QStringLiteral("x = 1\n"), QStringLiteral("python"), light, &receiver,
                        [&](const auto&) { answered = true; });
        QCOMPARE(service.jobCount(), 0);
        QVERIFY(TestSupport::runPastTimers(100));
        QVERIFY(!answered);
    }
};

QTEST_MAIN(TestCodeHighlightService)
#include "tst_codehighlightservice.moc"
