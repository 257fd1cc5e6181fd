#include "core/ExternalChangeMonitor.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTest>
#include <cstdio>

namespace {

// When each callback came, in ms on one clock.
struct CallbackLog {
    QElapsedTimer clock;
    QList<qint64> times;
    CallbackLog() { clock.start(); }
    void attach(ExternalChangeMonitor& monitor) {
        monitor.onPotentialChange = [this] { times.append(clock.elapsed()); };
    }
    int count() const { return int(times.size()); }
};

void append(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A monitor started on dir/doc.md, logging its callbacks.
struct WatchedFile {
    QTemporaryDir dir;
    QString path = TestSupport::writeFile(dir, QStringLiteral("doc.md"), "alpha\n");
    ExternalChangeMonitor monitor;
    CallbackLog log;
    WatchedFile() {
        log.attach(monitor);
        monitor.start(QUrl::fromLocalFile(path));
    }
};

QStringList openDescriptors() {
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System);
}

// Watches held by the process's inotify instances.
int inotifyWatches() {
    int watches = 0;
    for (const QString& fd : openDescriptors()) {
        const QString target = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/") + fd);
        if (!target.contains(QStringLiteral("inotify")))
            continue;
        const QByteArray info = TestSupport::readFile(QStringLiteral("/proc/self/fdinfo/") + fd);
        watches += int(info.count("inotify wd:"));
    }
    return watches;
}

} // namespace

class TestExternalChangeMonitor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void burstOfWritesGivesOneCallback() {
        WatchedFile watched;
        const QString& path = watched.path;
        ExternalChangeMonitor& monitor = watched.monitor;
        CallbackLog& log = watched.log;
        QVERIFY(monitor.isWatching());

        for (int i = 0; i < 10; ++i) {
            append(path, "line\n");
            QTest::qWait(20);
        }
        const qint64 lastWrite = log.clock.elapsed() - 20;
        QTRY_COMPARE_WITH_TIMEOUT(log.count(), 1, 3000);
        const qint64 delay = log.times.first() - lastWrite;
        QVERIFY2(delay >= 250 && delay < 2000, qPrintable(QString::number(delay)));
        QTest::qWait(600);
        QCOMPARE(log.count(), 1);

        // The watch is live again after the report.
        append(path, "more\n");
        QTRY_COMPARE_WITH_TIMEOUT(log.count(), 2, 3000);
    }

    // How editors save: in place, or a new file renamed over the old one.
    void editorSavesAreReportedOnce_data() {
        QTest::addColumn<QString>("editor");
        QTest::newRow("in place") << "in place";
        QTest::newRow("gedit") << "gedit";
        QTest::newRow("vim") << "vim";
        QTest::newRow("sed -i") << "sed -i";
    }
    void editorSavesAreReportedOnce() {
        QFETCH(QString, editor);
        WatchedFile watched;
        const QString& path = watched.path;
        ExternalChangeMonitor& monitor = watched.monitor;
        CallbackLog& log = watched.log;

        if (editor == QLatin1String("in place")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("beta\n");
        } else if (editor == QLatin1String("gedit")) {
            QSaveFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("beta\n");
            QVERIFY(file.commit());
        } else if (editor == QLatin1String("vim")) {
            // Original renamed to a backup, a new file written, the backup removed.
            const QString backup = path + QLatin1Char('~');
            QCOMPARE(std::rename(QFile::encodeName(path), QFile::encodeName(backup)), 0);
            TestSupport::writeFile(watched.dir, QStringLiteral("doc.md"), "beta\n");
            QVERIFY(QFile::remove(backup));
        } else {
            if (QStandardPaths::findExecutable(QStringLiteral("sed")).isEmpty())
                QSKIP("sed is not installed");
            QCOMPARE(
                QProcess::execute(QStringLiteral("sed"),
                                  {QStringLiteral("-i"), QStringLiteral("s/alpha/beta/"), path}),
                0);
        }
        QCOMPARE(TestSupport::readFile(path), QByteArray("beta\n"));
        QTRY_COMPARE_WITH_TIMEOUT(log.count(), 1, 3000);
        QTest::qWait(600);
        QCOMPARE(log.count(), 1);

        // The new file is the one watched now.
        append(path, "gamma\n");
        QTRY_COMPARE_WITH_TIMEOUT(log.count(), 2, 3000);
        QVERIFY(monitor.isWatching());
    }

    void fileBrieflyGoneIsWatchedAgainWhenBack() {
        WatchedFile watched;
        const QString& path = watched.path;
        ExternalChangeMonitor& monitor = watched.monitor;
        CallbackLog& log = watched.log;

        QVERIFY(QFile::remove(path));
        QTRY_COMPARE_WITH_TIMEOUT(log.count(), 1, 3000);
        QVERIFY(monitor.isWatching());
        // Other files in the folder are no concern.
        TestSupport::writeFile(watched.dir, QStringLiteral("other.md"), "x\n");
        QTest::qWait(600);
        QCOMPARE(log.count(), 1);

        TestSupport::writeFile(watched.dir, QStringLiteral("doc.md"), "beta\n");
        QTRY_COMPARE_WITH_TIMEOUT(log.count(), 2, 3000);
        append(path, "gamma\n");
        QTRY_COMPARE_WITH_TIMEOUT(log.count(), 3, 3000);
        TestSupport::writeFile(watched.dir, QStringLiteral("other.md"), "y\n");
        QTest::qWait(600);
        QCOMPARE(log.count(), 3);
    }

    void stoppedMonitorNeverCallsBack() {
        WatchedFile watched;
        const QString& path = watched.path;
        ExternalChangeMonitor& monitor = watched.monitor;
        CallbackLog& log = watched.log;
        const QString other =
            TestSupport::writeFile(watched.dir, QStringLiteral("other.md"), "alpha\n");

        append(path, "beta\n");
        QTest::qWait(100);
        monitor.stop();
        QVERIFY(!monitor.isWatching());
        QVERIFY(monitor.monitoredUrl().isEmpty());
        append(path, "gamma\n");
        QTest::qWait(700);
        QCOMPARE(log.count(), 0);

        // A restart on another file forgets the first one's pending report.
        monitor.start(QUrl::fromLocalFile(path));
        append(path, "delta\n");
        QTest::qWait(100);
        monitor.start(QUrl::fromLocalFile(other));
        append(path, "epsilon\n");
        QTest::qWait(700);
        QCOMPARE(log.count(), 0);

        // Stopping from inside the callback ends the watch for good.
        monitor.onPotentialChange = [&] {
            log.times.append(0);
            monitor.stop();
        };
        append(other, "beta\n");
        QTRY_COMPARE_WITH_TIMEOUT(log.count(), 1, 3000);
        QVERIFY(!monitor.isWatching());
        append(other, "gamma\n");
        QTest::qWait(600);
        QCOMPARE(log.count(), 1);
    }

    void missingFileLeavesMonitorIdle() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing.md"));
        ExternalChangeMonitor monitor;
        CallbackLog log;
        log.attach(monitor);
        monitor.start(QUrl::fromLocalFile(path));
        QVERIFY(!monitor.isWatching());
        QCOMPARE(monitor.monitoredUrl(), QUrl::fromLocalFile(path));
        TestSupport::writeFile(dir, QStringLiteral("missing.md"), "now here\n");
        QTest::qWait(600);
        QCOMPARE(log.count(), 0);

        monitor.start(QUrl(QStringLiteral("https://example.com/doc.md")));
        QVERIFY(!monitor.isWatching());
    }

    void startStopCyclesLeakNoDescriptors() {
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, QStringLiteral("doc.md"), "alpha\n");
        const qsizetype before = openDescriptors().size();
        const int watchesBefore = inotifyWatches();
        {
            ExternalChangeMonitor monitor;
            monitor.start(QUrl::fromLocalFile(path));
            monitor.stop();
            const qsizetype armed = openDescriptors().size();
            for (int i = 0; i < 1000; ++i) {
                monitor.start(QUrl::fromLocalFile(path));
                monitor.stop();
            }
            QCOMPARE(openDescriptors().size(), armed);
            QCOMPARE(inotifyWatches(), watchesBefore);
            monitor.start(QUrl::fromLocalFile(path));
            QCOMPARE(inotifyWatches(), watchesBefore + 1);
        }
        QCOMPARE(openDescriptors().size(), before);
        QCOMPARE(inotifyWatches(), watchesBefore);
    }
};

QTEST_GUILESS_MAIN(TestExternalChangeMonitor)
#include "tst_externalchangemonitor.moc"
