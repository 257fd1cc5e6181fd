#include "platform/ToolRunner.h"

#include <QElapsedTimer>
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
        QList<ToolRunner::Result> results;
        QElapsedTimer clock;
        clock.start();
        ToolRunner::run(
            program, arguments, [&](const ToolRunner::Result& r) { results.append(r); }, 300);
        QVERIFY(results.isEmpty());
        QTRY_COMPARE(results.size(), 1);
        QVERIFY(clock.elapsed() < 5000);
        QTest::qWait(50);
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
