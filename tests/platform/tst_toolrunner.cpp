#include "platform/ToolRunner.h"
#include "support/TestSupport.h"

#include <QTest>

class TestToolRunner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One answer from the event loop, whatever the tool does; a tool that
    // hangs or is missing never holds anything up.
    void runs_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("started");
        QTest::addColumn<bool>("timedOut");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("output kept, errors dropped")
            << "sh" << QStringList{"-c", "echo out; echo err >&2"} << true << false << 0
            << QByteArray("out\n");
        QTest::newRow("failure") << "sh" << QStringList{"-c", "exit 3"} << true << false << 3
                                 << QByteArray();
        QTest::newRow("hangs") << "sleep" << QStringList{"30"} << true << true << -1
                               << QByteArray();
        QTest::newRow("missing") << "quon-no-such-tool" << QStringList{} << false << false << -1
                                 << QByteArray();
    }
    void runs() {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(bool, timedOut);
        QList<ToolRunner::Result> results;
        // A short time-out only where it is meant to strike: a slow machine
        // may take a while to start even sh.
        const int timeoutMs = timedOut ? 300 : ToolRunner::defaultTimeoutMs;
        ToolRunner::run(
            program, arguments, [&](const ToolRunner::Result& r) { results.append(r); }, timeoutMs);
        QVERIFY(results.isEmpty());
        // Well before the hanging tool would end by itself.
        QTRY_COMPARE_WITH_TIMEOUT(results.size(), 1, 20'000);
        // Once the process is gone nothing is left to answer again.
        QTRY_VERIFY_WITH_TIMEOUT(TestSupport::toolRunsAreOver(), 10'000);
        QCOMPARE(results.size(), 1);
        const ToolRunner::Result& result = results.first();
        QTEST(result.started, "started");
        QTEST(result.timedOut, "timedOut");
        QTEST(result.exitCode, "exitCode");
        QTEST(result.output, "output");
    }
};

QTEST_GUILESS_MAIN(TestToolRunner)
#include "tst_toolrunner.moc"
