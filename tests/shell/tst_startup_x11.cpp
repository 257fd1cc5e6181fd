// quon started on a file, as a user starts it, on a real X server.
#include "platform/SingleInstance.h"
#include "support/TestSupport.h"

#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A healthy start prints nothing: no warnings of the libraries it loads,
    // highlight.js's compiler included, without any logging rules set.
    void healthyStartIsSilent() {
        QTemporaryDir dir;
        const QString file =
            TestSupport::writeFile(dir, QStringLiteral("notes.md"),
                                   "# Notes\n\n```js\nconst a = [1, 2].map((x) => x * 2);\n```\n\n"
                                   "```\nSELECT name FROM users WHERE id = 1;\n```\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_LOGGING_RULES"));
        QProcess quon;
        quon.setProcessEnvironment(environment);
        quon.setProgram(QStringLiteral(QUON_EXECUTABLE));
        quon.setArguments({file});
        quon.start();
        QVERIFY(quon.waitForStarted());
        const auto answers = [] {
            QLocalSocket socket;
            socket.connectToServer(SingleInstance::defaultSocketPath());
            return socket.waitForConnected(200);
        };
        QTRY_VERIFY_WITH_TIMEOUT(answers(), 20'000);
        // Time for the window, its preview and the colouring of both blocks.
        QTest::qWait(3000);
        QCOMPARE(quon.state(), QProcess::Running);
        quon.terminate();
        QVERIFY(quon.waitForFinished(10'000));
        QCOMPARE(quon.readAllStandardError(), QByteArray());
        QCOMPARE(quon.readAllStandardOutput(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup_x11.moc"
