#include "platform/SingleInstance.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
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

    // The later quon ended at once and the running one received these paths.
    static void expectHandedOver(QProcess& later, QSignalSpy& received,
                                 const QStringList& expected) {
        QTRY_VERIFY_WITH_TIMEOUT(later.state() == QProcess::NotRunning, 30'000);
        QCOMPARE(later.exitStatus(), QProcess::NormalExit);
        QCOMPARE(later.exitCode(), 0);
        QVERIFY(received.size() == 1 || received.wait(30'000));
        QCOMPARE(received.first().first().toStringList(), expected);
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
        // ".." as the system takes it: out of a folder that is there.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        QProcess second;
        runQuon(second,
                {"notes.md", "sub/../other.md", "quon://new-file?dir=%2Ftmp&md=1",
                 "file:///tmp/a%20b.md"},
                dir.path());
        expectHandedOver(
            second, received,
            {dir.filePath(QStringLiteral("notes.md")), dir.filePath(QStringLiteral("other.md")),
             QStringLiteral("quon://new-file?dir=%2Ftmp&md=1"), QStringLiteral("/tmp/a b.md")});
    }

    // A quon killed outright leaves its socket behind; the next one takes over.
    void staleSocketIsRecovered() {
        QTemporaryDir dir;
        const QString file = TestSupport::writeFile(dir, QStringLiteral("a.md"), "# a\n");
        const QString socketPath = SingleInstance::defaultSocketPath();
        QProcess first;
        runQuon(first, {file}, dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(answers(socketPath), 30'000);

        // A later quon hands over to the real one and ends at once.
        QProcess second;
        runQuon(second, {file}, dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 30'000);
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
        expectHandedOver(third, received, {dir.filePath(QStringLiteral("b.md"))});
    }

    // The first quon is slow to start: it holds the start-up lock for longer
    // than any fixed wait. A later quon waits for it and hands over; it never
    // becomes a second instance, and no live socket is ever taken over.
    void slowStartIsWaitedFor() {
        QTemporaryDir dir;
        SingleInstance starting(SingleInstance::defaultSocketPath());
        QVERIFY(!starting.forwardToRunningInstance({}));
        QProcess later;
        runQuon(later, {QStringLiteral("b.md")}, dir.path());
        // What is tested is that no length of wait makes it give up, so this
        // one wait is for time itself; a busy machine can only make it longer.
        QTest::qWait(6500);
        QCOMPARE(later.state(), QProcess::Running);
        QVERIFY(!answers(starting.socketPath()));

        QVERIFY(starting.listen());
        QSignalSpy received(&starting, &SingleInstance::argumentsReceived);
        expectHandedOver(later, received, {dir.filePath(QStringLiteral("b.md"))});

        // Only a socket nobody answers on is ever replaced.
        SingleInstance another(starting.socketPath());
        QVERIFY(!another.listen());
        QVERIFY(answers(starting.socketPath()));
    }

    // A socket that cannot be made leaves quon running alone, and says why
    // under quon.platform.
    void aSocketThatCannotBeMadeIsLogged() {
        QTemporaryDir dir;
        TestSupport::writeFile(dir, QStringLiteral("taken"), "a file, not a folder\n");
        SingleInstance instance(dir.filePath(QStringLiteral("taken/instance")));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^no private folder.*taken")));
        QVERIFY(!instance.listen());
    }

    // The running quon dies with the arguments unanswered: the later quon
    // opens its file itself instead of ending with nothing on screen.
    void runningQuonDyingOnTheHandOver() {
        QTemporaryDir dir;
        const QString file = TestSupport::writeFile(dir, QStringLiteral("c.md"), "# c\n");
        const QString socketPath = SingleInstance::defaultSocketPath();
        QVERIFY(QDir().mkpath(QFileInfo(socketPath).absolutePath()));
        QLocalServer::removeServer(socketPath);
        QLocalServer dying;
        QVERIFY(dying.listen(socketPath));
        connect(&dying, &QLocalServer::newConnection, this, [&dying] {
            QLocalSocket* socket = dying.nextPendingConnection();
            connect(socket, &QLocalSocket::readyRead, socket, [socket, &dying] {
                socket->abort();
                dying.close();
            });
        });

        QProcess later;
        runQuon(later, {file}, dir.path());
        // It becomes the running quon and opens the file (kept as recent).
        const QString settings = qEnvironmentVariable("XDG_CONFIG_HOME") + "/quon/quon.conf";
        QTRY_VERIFY_WITH_TIMEOUT(answers(socketPath), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(TestSupport::readFile(settings).contains("c.md"), 20000);
        QCOMPARE(later.state(), QProcess::Running);
        later.kill();
        QVERIFY(later.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
