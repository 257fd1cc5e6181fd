#include "platform/SingleInstance.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Two processes: this test stands for the running quon (or starts a real
// one), and the quon executable is the later `quon ARGS`.
class TestSingleInstance : public QObject {
    Q_OBJECT

    static bool answers(const QString& socketPath) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        return socket.waitForConnected(200);
    }

    static void runQuon(QProcess& process, const QStringList& arguments, const QString& folder) {
        process.setProgram(QStringLiteral(QUON_EXECUTABLE));
        process.setArguments(arguments);
        process.setWorkingDirectory(folder);
        process.start();
    }

private Q_SLOTS:
    void secondQuonHandsItsArgumentsOver() {
        // Under the runtime folder the test runner gives each test.
        SingleInstance running(SingleInstance::defaultSocketPath());
        QVERIFY(running.socketPath().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
        QVERIFY(!running.forwardToRunningInstance({}));
        QVERIFY(running.listen());
        QVERIFY(QFileInfo(QFileInfo(running.socketPath()).absolutePath()).permissions() ==
                (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                 QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser));
        QSignalSpy received(&running, &SingleInstance::argumentsReceived);

        QTemporaryDir dir;
        QProcess second;
        runQuon(second,
                {"notes.md", "sub/../other.md", "quon://new-file?dir=%2Ftmp&md=1",
                 "file:///tmp/a%20b.md"},
                dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 10000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(received.size() == 1 || received.wait(5000));
        const QStringList expected = {
            dir.filePath(QStringLiteral("notes.md")), dir.filePath(QStringLiteral("other.md")),
            QStringLiteral("quon://new-file?dir=%2Ftmp&md=1"), QStringLiteral("/tmp/a b.md")};
        QCOMPARE(received.first().first().toStringList(), expected);
    }

    // A quon killed outright leaves its socket behind; the next one takes over.
    void staleSocketIsRecovered() {
        QTemporaryDir dir;
        const QString file = TestSupport::writeFile(dir, QStringLiteral("a.md"), "# a\n");
        const QString socketPath = SingleInstance::defaultSocketPath();
        QProcess first;
        runQuon(first, {file}, dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(answers(socketPath), 10000);

        // A later quon hands over to the real one and ends at once.
        QProcess second;
        runQuon(second, {file}, dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 10000);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        first.kill();
        QVERIFY(first.waitForFinished(10000));
        QVERIFY(QFileInfo::exists(socketPath));
        QVERIFY(!answers(socketPath));

        SingleInstance next(socketPath);
        QVERIFY(!next.forwardToRunningInstance({file}));
        QVERIFY(next.listen());
        QSignalSpy received(&next, &SingleInstance::argumentsReceived);
        QProcess third;
        runQuon(third, {QStringLiteral("b.md")}, dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(third.state() == QProcess::NotRunning, 10000);
        QCOMPARE(third.exitCode(), 0);
        QVERIFY(received.size() == 1 || received.wait(5000));
        QCOMPARE(received.first().first().toStringList(),
                 QStringList{dir.filePath(QStringLiteral("b.md"))});
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
