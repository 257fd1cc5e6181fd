// The quon executable exporting an edited document as PDF through its real
// save dialog, driven from inside by the test plug-in in tests/driver: the
// export ends in a PDF or in the "Export Failed" alert, never in the end of
// the process and its unsaved edits.
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Hands a folder and everything in it to the user.
bool giveTo(const QString& path, uid_t user, gid_t group) {
    if (::chown(QFile::encodeName(path).constData(), user, group) != 0)
        return false;
    QDirIterator entries(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
        if (::lchown(QFile::encodeName(entries.next()).constData(), user, group) != 0)
            return false;
    return true;
}

// The first child of the process that runs the program, or 0.
qint64 childRunning(qint64 parent, const QString& program) {
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& process : processes) {
        const QByteArray stat = TestSupport::readFile("/proc/" + process + "/stat");
        // "PID (NAME) STATE PPID ...": the name may hold anything but the last ')'.
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 2 || fields[1].toLongLong() != parent)
            continue;
        const QByteArray command = TestSupport::readFile("/proc/" + process + "/cmdline");
        if (QString::fromLocal8Bit(command.left(command.indexOf('\0'))).endsWith(program))
            return process.toLongLong();
    }
    return 0;
}

// Running, or ended but not yet reaped by anyone.
bool running(qint64 process) {
    const QByteArray stat = TestSupport::readFile("/proc/" + QByteArray::number(process) + "/stat");
    return !stat.isEmpty() && stat.mid(stat.lastIndexOf(')') + 2, 1) != "Z";
}

} // namespace

class TestPdfExportProcess : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exportKeepsQuonRunning_data() {
        QTest::addColumn<QString>("helper"); // QTWEBENGINEPROCESS_PATH; empty: the real one
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("asUser"); // a normal user's quon, with the engine's sandbox
        // The sandbox cannot run as root; the engine used to end the process.
        QTest::newRow("as root") << QString() << true << false;
        QTest::newRow("helper ends at once") << QStringLiteral("/bin/false") << false << false;
        QTest::newRow("no helper")
            << QStringLiteral("/nonexistent/QtWebEngineProcess") << false << false;
        QTest::newRow("as a user") << QString() << true << true;
        // With the sandbox a helper that cannot start stops the engine's whole
        // process; that used to be quon's.
        QTest::newRow("as a user, helper ends at once")
            << QStringLiteral("/bin/false") << false << true;
    }
    void exportKeepsQuonRunning() {
        QFETCH(QString, helper);
        QFETCH(bool, written);
        QFETCH(bool, asUser);
        if (helper.isEmpty() && !asUser && ::geteuid() != 0)
            QSKIP("needs root");
        QTemporaryDir dir;
        // Run by root, the row drops to nobody, who owns the folders quon writes to.
        const bool dropToNobody = asUser && ::geteuid() == 0;
        const passwd* nobody = dropToNobody ? ::getpwnam("nobody") : nullptr;
        if (dropToNobody && (!nobody || QStandardPaths::findExecutable("setpriv").isEmpty()))
            QSKIP("needs the user nobody and setpriv to run quon as a normal user");
        const QStringList asNobody =
            dropToNobody ? QStringList{QStringLiteral("--reuid=%1").arg(nobody->pw_uid),
                                       QStringLiteral("--regid=%1").arg(nobody->pw_gid),
                                       QStringLiteral("--clear-groups"), QStringLiteral("--")}
                         : QStringList();
        if (dropToNobody &&
            QProcess::execute(QStringLiteral("setpriv"),
                              asNobody + QStringList{QStringLiteral("test"), QStringLiteral("-x"),
                                                     QStringLiteral(QUON_EXECUTABLE)}) != 0)
            QSKIP("nobody cannot run quon from this build folder");
        for (const char* folder : {"home", "runtime", "tmp"})
            QVERIFY(QDir(dir.path()).mkdir(QLatin1String(folder)));
        QCOMPARE(::chmod(QFile::encodeName(dir.filePath("runtime")).constData(), 0700), 0);
        const QString document =
            TestSupport::writeFile(dir, QStringLiteral("notes.md"), "# Notes\n\nSaved text.\n");
        const QString pdf = dir.filePath(QStringLiteral("notes.pdf"));
        if (dropToNobody)
            QVERIFY(giveTo(dir.path(), nobody->pw_uid, nobody->pw_gid));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // Its own single-instance socket: no quon of an earlier row answers.
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath("runtime"));
        if (asUser) {
            // A home and folders of the user's own, as a desktop session gives.
            environment.insert(QStringLiteral("HOME"), dir.filePath("home"));
            environment.insert(QStringLiteral("TMPDIR"), dir.filePath("tmp"));
            for (const char* variable :
                 {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
                environment.remove(QLatin1String(variable));
        }
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
        if (dropToNobody) {
            // setpriv runs quon in its own place: the process the test kills is quon.
            quon.setProgram(QStringLiteral("setpriv"));
            quon.setArguments(asNobody + QStringList{QStringLiteral(QUON_EXECUTABLE), document});
        } else {
            quon.setProgram(QStringLiteral(QUON_EXECUTABLE));
            quon.setArguments({document});
        }
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
        // Where the system gives a normal user no sandbox, that export can only fail.
        if (asUser && written && output.contains("alert: Export Failed | ") &&
            (errors.contains("No usable sandbox") ||
             errors.contains("Failed to move to new namespace")))
            QSKIP("the web engine's sandbox cannot run for a normal user on this system");
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

    // A quon that ends in the middle of an export takes its printer along.
    void printerEndsWithQuon() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("runtime")));
        const QString document =
            TestSupport::writeFile(dir, QStringLiteral("notes.md"), "# Notes\n");
        // An engine helper that never answers: the page never loads, and
        // the helper lives as long as the printer that started it.
        const QString helper = TestSupport::writeFile(
            dir, QStringLiteral("helper"),
            "#!/bin/sh\nwhile kill -0 $PPID 2>/dev/null; do sleep 0.1; done\n");
        QVERIFY(QFile::setPermissions(helper, QFile::ReadOwner | QFile::ExeOwner));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath("runtime"));
        environment.insert(QStringLiteral("QTWEBENGINEPROCESS_PATH"), helper);
        environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(QUON_TEST_PLUGINS));
        environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"),
                           QStringLiteral("quonexportdriver:") + dir.filePath("notes.pdf"));
        QProcess quon;
        quon.setProcessEnvironment(environment);
        quon.setStandardOutputFile(QProcess::nullDevice());
        quon.setStandardErrorFile(QProcess::nullDevice());
        quon.start(QStringLiteral(QUON_EXECUTABLE), {document});
        QVERIFY(quon.waitForStarted());
        qint64 printer = 0;
        QTRY_VERIFY_WITH_TIMEOUT(
            (printer = childRunning(quon.processId(), QStringLiteral("/quon-pdf-printer"))) != 0,
            90'000);
        quon.kill();
        QVERIFY(quon.waitForFinished(10'000));
        QTRY_VERIFY_WITH_TIMEOUT(!running(printer), 30'000);
    }
};

QTEST_GUILESS_MAIN(TestPdfExportProcess)
#include "tst_pdfexportprocess.moc"
