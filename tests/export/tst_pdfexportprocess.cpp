// The quon executable exporting an edited document as PDF through its real
// save dialog, driven from inside by the test plug-in in tests/driver: the
// export ends in a PDF or in the "Export Failed" alert, never in the end of
// the process and its unsaved edits.
#include "support/TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestPdfExportProcess : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exportKeepsQuonRunning_data() {
        QTest::addColumn<QString>("helper"); // QTWEBENGINEPROCESS_PATH; empty: the real one
        QTest::addColumn<bool>("written");
        // The sandbox cannot run as root; the engine used to end the process.
        QTest::newRow("as root") << QString() << true;
        QTest::newRow("helper ends at once") << QStringLiteral("/bin/false") << false;
        QTest::newRow("no helper") << QStringLiteral("/nonexistent/QtWebEngineProcess") << false;
    }
    void exportKeepsQuonRunning() {
        QFETCH(QString, helper);
        QFETCH(bool, written);
        if (helper.isEmpty() && ::geteuid() != 0)
            QSKIP("needs root");
        QTemporaryDir dir;
        const QString document =
            TestSupport::writeFile(dir, QStringLiteral("notes.md"), "# Notes\n\nSaved text.\n");
        const QString pdf = dir.filePath(QStringLiteral("notes.pdf"));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // Its own single-instance socket: no quon of an earlier row answers.
        QTemporaryDir runtime;
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        // As quon starts from a desktop or `make run`.
        environment.remove(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"));
        if (!helper.isEmpty())
            environment.insert(QStringLiteral("QTWEBENGINEPROCESS_PATH"), helper);
        environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(QUON_TEST_PLUGINS));
        environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"),
                           QStringLiteral("quonexportdriver:") + pdf);
        QByteArray output;
        QProcess quon;
        quon.setProcessEnvironment(environment);
        quon.setProgram(QStringLiteral(QUON_EXECUTABLE));
        quon.setArguments({document});
        quon.setProcessChannelMode(QProcess::SeparateChannels);
        connect(&quon, &QProcess::readyReadStandardOutput, this,
                [&] { output += quon.readAllStandardOutput(); });
        quon.start();
        QVERIFY(quon.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(output.contains("done\n") || quon.state() != QProcess::Running,
                                 90'000);
        const QByteArray errors = quon.readAllStandardError();
        QVERIFY2(quon.state() == QProcess::Running,
                 qPrintable(QStringLiteral("exit %1; %2; %3")
                                .arg(quon.exitCode())
                                .arg(QString::fromUtf8(output), QString::fromUtf8(errors))));
        const QList<QByteArray> lines = output.split('\n');
        QVERIFY2(lines.contains("edited"), output.constData());
        QVERIFY2(lines.contains("modified"), output.constData());
        if (written) {
            QVERIFY2(lines.contains("exported"), output.constData());
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
            QVERIFY(text.waitForFinished(30'000));
            const QByteArray printed = text.readAllStandardOutput();
            QVERIFY2(printed.contains("Unsaved words."), printed.constData());
        } else {
            QVERIFY2(output.contains("alert: Export Failed | "), output.constData());
            QVERIFY(!QFile::exists(pdf));
        }
        QCOMPARE(TestSupport::readFile(document), QByteArray("# Notes\n\nSaved text.\n"));
        quon.kill();
        QVERIFY(quon.waitForFinished(10'000));
    }
};

QTEST_GUILESS_MAIN(TestPdfExportProcess)
#include "tst_pdfexportprocess.moc"
