#include "core/ExternalChangeMonitor.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTest>
#include <cstdio>
#include <memory>

namespace {

void append(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList openDescriptors() {
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System);
}

// Watches held by the process's inotify instances.
int inotifyWatches() {
    int watches = 0;
    for (const QString& fd : openDescriptors()) {
        const QString target = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/") + fd);
        if (target.contains(QStringLiteral("inotify")))
            watches += int(TestSupport::readFile(QStringLiteral("/proc/self/fdinfo/") + fd)
                               .count("inotify wd:"));
    }
    return watches;
}

} // namespace

// Each test starts with a monitor watching dir/doc.md and counting its callbacks.
class TestExternalChangeMonitor : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ExternalChangeMonitor> monitor;
    QString path;
    int calls = 0;

    QString write(const QString& name, const QByteArray& bytes) {
        return TestSupport::writeFile(*dir, name, bytes);
    }
    void expectCallbacks(int count) { QTRY_COMPARE_WITH_TIMEOUT(calls, count, 10'000); }
    // Once the events already in have been taken and a debounce they started
    // has run out, still no further callback.
    void expectNoMore(int count) {
        QVERIFY(TestSupport::runPastTimers(ExternalChangeMonitor::debounceMs));
        QCOMPARE(calls, count);
    }
    // Takes the file events already in, so the report they set off is pending.
    static void takeEvents() { TestSupport::processPendingEvents(QEventLoop::X11ExcludeTimers); }

private Q_SLOTS:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        path = write(QStringLiteral("doc.md"), "alpha\n");
        monitor = std::make_unique<ExternalChangeMonitor>();
        calls = 0;
        monitor->onPotentialChange = [this] { ++calls; };
        monitor->start(QUrl::fromLocalFile(path));
    }

    // How editors save: in place, or a new file renamed over the old one.
    void editorSavesAreReportedOnce_data() {
        QTest::addColumn<QString>("editor");
        for (const char* editor : {"in place", "gedit", "vim", "sed -i"})
            QTest::newRow(editor) << QString::fromLatin1(editor);
    }
    void editorSavesAreReportedOnce() {
        QFETCH(QString, editor);
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
            write(QStringLiteral("doc.md"), "beta\n");
            QVERIFY(QFile::remove(backup));
        } else {
            if (QStandardPaths::findExecutable(QStringLiteral("sed")).isEmpty())
                QSKIP("sed is not installed");
            QCOMPARE(QProcess::execute(QStringLiteral("sed"), {"-i", "s/alpha/beta/", path}), 0);
        }
        QCOMPARE(TestSupport::readFile(path), QByteArray("beta\n"));
        expectCallbacks(1);
        expectNoMore(1);

        // The new file is the one watched now.
        append(path, "gamma\n");
        expectCallbacks(2);
    }

    void fileBrieflyGoneIsWatchedAgainWhenBack() {
        QVERIFY(QFile::remove(path));
        expectCallbacks(1);
        QVERIFY(monitor->isWatching());
        // Other files in the folder are no concern.
        write(QStringLiteral("other.md"), "x\n");
        expectNoMore(1);

        write(QStringLiteral("doc.md"), "beta\n");
        expectCallbacks(2);
        append(path, "gamma\n");
        expectCallbacks(3);
        write(QStringLiteral("other.md"), "y\n");
        expectNoMore(3);
    }

    void stoppedMonitorNeverCallsBack() {
        const QString other = write(QStringLiteral("other.md"), "alpha\n");
        append(path, "beta\n");
        takeEvents();
        monitor->stop();
        QVERIFY(!monitor->isWatching());
        append(path, "gamma\n");
        expectNoMore(0);

        // A restart on another file forgets the first one's pending report.
        monitor->start(QUrl::fromLocalFile(path));
        append(path, "delta\n");
        takeEvents();
        monitor->start(QUrl::fromLocalFile(other));
        append(path, "epsilon\n");
        expectNoMore(0);

        // Stopping from inside the callback ends the watch for good.
        monitor->onPotentialChange = [this] {
            ++calls;
            monitor->stop();
        };
        append(other, "beta\n");
        expectCallbacks(1);
        QVERIFY(!monitor->isWatching());
        append(other, "gamma\n");
        expectNoMore(1);
    }

    void missingFileLeavesMonitorIdle() {
        const QString missing = dir->filePath(QStringLiteral("missing.md"));
        monitor->start(QUrl::fromLocalFile(missing));
        QVERIFY(!monitor->isWatching());
        write(QStringLiteral("missing.md"), "now here\n");
        expectNoMore(0);
    }

    void startStopCyclesLeakNoDescriptors() {
        monitor.reset();
        const qsizetype before = openDescriptors().size();
        const int watchesBefore = inotifyWatches();
        {
            ExternalChangeMonitor cycled;
            cycled.start(QUrl::fromLocalFile(path));
            cycled.stop();
            const qsizetype armed = openDescriptors().size();
            for (int i = 0; i < 1000; ++i) {
                cycled.start(QUrl::fromLocalFile(path));
                cycled.stop();
            }
            QCOMPARE(openDescriptors().size(), armed);
            QCOMPARE(inotifyWatches(), watchesBefore);
            cycled.start(QUrl::fromLocalFile(path));
            QCOMPARE(inotifyWatches(), watchesBefore + 1);
        }
        QCOMPARE(openDescriptors().size(), before);
        QCOMPARE(inotifyWatches(), watchesBefore);
    }
};

QTEST_GUILESS_MAIN(TestExternalChangeMonitor)
#include "tst_externalchangemonitor.moc"
