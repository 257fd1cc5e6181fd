#include "core/ExternalChangeMonitor.h"
#include "core/MarkdownDocument.h"
#include "platform/ProcessMemory.h"
#include "shell/OutsideChangeWatch.h"
#include "support/EventLoopProbe.h"
#include "support/FakeWorkspaceAlerts.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

using Choice = WorkspaceAlerts::OutsideChangeChoice;

namespace {

// What another program may leave at a document's path.
enum class Stranger { DeviceLink, Fifo, Folder, Huge };

} // namespace

Q_DECLARE_METATYPE(Stranger)

namespace {

void addStrangers() {
    QTest::addColumn<Stranger>("stranger");
    QTest::newRow("link to /dev/zero") << Stranger::DeviceLink;
    QTest::newRow("FIFO") << Stranger::Fifo;
    QTest::newRow("folder") << Stranger::Folder;
    QTest::newRow("over 64 MB") << Stranger::Huge;
}

// Puts it in the file's place at once, as `ln -sf /dev/zero .z && mv .z doc.md`
// does. The link goes to `device`.
bool replaceBy(Stranger stranger, const QString& path,
               const QString& device = QStringLiteral("/dev/zero")) {
    const QString made = QFileInfo(path).absolutePath() + QStringLiteral("/.stranger");
    const QByteArray name = QFile::encodeName(made);
    switch (stranger) {
    case Stranger::DeviceLink:
        if (!QFile::link(device, made))
            return false;
        break;
    case Stranger::Fifo:
        if (::mkfifo(name.constData(), 0600) != 0)
            return false;
        break;
    case Stranger::Folder:
        // A folder cannot be renamed over a file.
        if (!QDir().mkdir(made) || !QFile::remove(path))
            return false;
        break;
    case Stranger::Huge:
        if (!TestSupport::makeSparseFile(made, DocumentFile::largestTextFile + 1))
            return false;
        break;
    }
    return ::rename(name.constData(), QFile::encodeName(path).constData()) == 0;
}

// A zero device of the test's own where a save could break one: a save that
// wrote through the link as root would replace the node itself. Others
// cannot replace /dev/zero.
QString ownZeroDevice(const QTemporaryDir& dir) {
    if (::geteuid() != 0)
        return QStringLiteral("/dev/zero");
    const QString path = dir.filePath(QStringLiteral("zero"));
    if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, ::makedev(1, 5)) != 0)
        qFatal("cannot make a device node");
    return path;
}

bool isCharacterDevice(const QString& path) {
    struct stat status;
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISCHR(status.st_mode);
}

// A reader blocked opening a FIFO would freeze the test for good: past a
// generous pause a writer comes and goes every second, so such a fault fails
// the test instead of hanging it.
class FifoRelease {
public:
    static constexpr int afterMs = 20000;

    explicit FifoRelease(const QString& path)
        : m_path(QFile::encodeName(path)), m_thread([this] { run(); }) {}
    ~FifoRelease() {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

private:
    void run() {
        std::unique_lock lock(m_mutex);
        auto pause = std::chrono::milliseconds(afterMs);
        while (!m_wake.wait_for(lock, pause, [this] { return m_done; })) {
            const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0)
                ::close(fd);
            pause = std::chrono::seconds(1);
        }
    }

    QByteArray m_path;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_thread;
};

// A document opened from dir/doc.md and watched, with a fake prompt.
struct WatchedDocument {
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<MarkdownDocument> document;
    FakeWorkspaceAlerts alerts;
    OutsideChangeWatch watch;

    explicit WatchedDocument(const QByteArray& bytes = "alpha\n")
        : path(TestSupport::writeFile(dir, QStringLiteral("doc.md"), bytes)),
          document(MarkdownDocument::open(path, nullptr)), watch(*document, alerts, nullptr) {
        watch.start(QUrl::fromLocalFile(path));
    }

    void write(const QByteArray& bytes) const {
        TestSupport::writeFile(dir, QStringLiteral("doc.md"), bytes);
    }
};

} // namespace

class TestOutsideChangeWatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    void burstOfWritesPromptsOnce() {
        WatchedDocument w;
        for (int i = 0; i < 10; ++i) {
            w.write("outside " + QByteArray::number(i) + "\n");
            // Each write's event taken in turn, with no timer let fire: a
            // burst, however slow the machine.
            TestSupport::processPendingEvents(QEventLoop::X11ExcludeTimers);
        }
        QTRY_COMPARE_WITH_TIMEOUT(w.alerts.outsideChangeAsks, 1, 10'000);
        // Past the monitor's debounce and its re-arming.
        QVERIFY(TestSupport::runPastTimers(ExternalChangeMonitor::debounceMs));
        QCOMPARE(w.alerts.outsideChangeAsks, 1);
        // Kept: the text stays, and now differs from the file.
        QCOMPARE(w.document->text(), QStringLiteral("alpha\n"));
        QVERIFY(w.document->isModified());
        // The watch goes on after the answer, once per change.
        w.write("again\n");
        QTRY_COMPARE_WITH_TIMEOUT(w.alerts.outsideChangeAsks, 2, 10'000);
    }

    // No question without new text to offer; where the file no longer holds
    // the document's text, the text is only in quon and counts as modified.
    // (A deleted file: fileGoneLeavesTheTextOnlyInQuon.)
    void silentWhenNothingNewIsOnDisk_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("modified");
        QTest::newRow("same bytes") << QByteArray("alpha\n") << false;
        QTest::newRow("not utf-8") << QByteArray("caf\xe9\n") << true;
    }
    void silentWhenNothingNewIsOnDisk() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, modified);
        WatchedDocument w;
        w.write(bytes);
        w.watch.check();
        QCOMPARE(w.alerts.outsideChangeAsks, 0);
        QCOMPARE(w.document->isModified(), modified);
    }

    // Deleted or moved away and not back after the watch's pause: modified
    // until the file is back as it was, or saved again.
    void fileGoneLeavesTheTextOnlyInQuon_data() {
        QTest::addColumn<bool>("moved");
        QTest::newRow("deleted") << false;
        QTest::newRow("moved away") << true;
    }
    void fileGoneLeavesTheTextOnlyInQuon() {
        QFETCH(bool, moved);
        WatchedDocument w;
        if (moved)
            QVERIFY(QFile::rename(w.path, w.dir.filePath(QStringLiteral("elsewhere.md"))));
        else
            QVERIFY(QFile::remove(w.path));
        QTRY_VERIFY_WITH_TIMEOUT(w.document->isModified(), 10'000);
        w.write("alpha\n");
        QTRY_VERIFY_WITH_TIMEOUT(!w.document->isModified(), 10'000);

        QVERIFY(QFile::remove(w.path));
        w.watch.check();
        QVERIFY(w.document->isModified());
        QVERIFY(w.document->save(w.path, nullptr));
        QCOMPARE(TestSupport::readFile(w.path), QByteArray("alpha\n"));
        QVERIFY(!w.document->isModified());
        QCOMPARE(w.alerts.outsideChangeAsks, 0);
    }

    // A save made before the watch's pause has run after another program's
    // write: nothing is written until the user has answered.
    void saveRightAfterAnOutsideWriteAsksFirst_data() {
        QTest::addColumn<QByteArray>("theirs");
        QTest::addColumn<bool>("reload");
        QTest::newRow("kept") << QByteArray("theirs\n") << false;
        QTest::newRow("reloaded") << QByteArray("theirs\n") << true;
        QTest::newRow("not utf-8, kept") << QByteArray("caf\xe9\n") << false;
    }
    void saveRightAfterAnOutsideWriteAsksFirst() {
        QFETCH(QByteArray, theirs);
        QFETCH(bool, reload);
        WatchedDocument w;
        w.alerts.answer = reload ? Choice::Reload : Choice::KeepMyVersion;
        w.document->setText(QStringLiteral("mine\n"));
        w.write(theirs);
        const bool saved = w.document->save(w.path, nullptr);
        QCOMPARE(w.alerts.outsideChangeAsks, 1);
        QCOMPARE(w.alerts.savingAsks, 1);
        QCOMPARE(saved, !reload);
        QCOMPARE(TestSupport::readFile(w.path), reload ? theirs : QByteArray("mine\n"));
        QCOMPARE(w.document->text(), QString::fromUtf8(reload ? theirs : "mine\n"));
        QVERIFY(!w.document->isModified());
    }

    // Another program changes only line endings or the BOM: no question, and
    // quon takes the file's bytes as its own, so an unedited save keeps them
    // and an edit changes only its own line.
    void endingsChangedOutsideAreAdopted_data() {
        QTest::addColumn<QByteArray>("initial");
        QTest::addColumn<QByteArray>("theirs");
        QTest::addColumn<bool>("editedBefore");
        QTest::addColumn<QByteArray>("expected"); // "b" edited and saved
        const QByteArray lf("a\nb\nc\n");
        const QByteArray crlf("\xEF\xBB\xBF"
                              "a\r\nb\r\nc\r\n");
        const QByteArray edited("\xEF\xBB\xBF"
                                "a\r\nb!\r\nc\r\n");
        QTest::newRow("to CRLF and BOM") << lf << crlf << false << edited;
        QTest::newRow("to CRLF and BOM, edited before") << lf << crlf << true << edited;
        QTest::newRow("mixed to LF, edited before")
            << QByteArray("a\r\nb\nc\r\n") << lf << true << QByteArray("a\nb!\nc\n");
        QTest::newRow("LF to mixed, edited before")
            << lf << QByteArray("a\r\nb\nc\r\n") << true << QByteArray("a\r\nb!\nc\r\n");
    }
    void endingsChangedOutsideAreAdopted() {
        QFETCH(QByteArray, initial);
        QFETCH(QByteArray, theirs);
        QFETCH(bool, editedBefore);
        QFETCH(QByteArray, expected);
        WatchedDocument w(initial);
        const QString edited = QStringLiteral("a\nb!\nc\n");
        if (editedBefore)
            w.document->setText(edited);
        w.write(theirs);
        w.watch.check();
        QCOMPARE(w.alerts.outsideChangeAsks, 0);
        QCOMPARE(w.document->isModified(), editedBefore);
        if (!editedBefore) {
            QCOMPARE(w.document->fileBytes().value(), theirs);
            w.document->setText(edited);
        }
        QVERIFY(w.document->save(w.path, nullptr));
        QCOMPARE(TestSupport::readFile(w.path), expected);
        QCOMPARE(w.alerts.outsideChangeAsks, 0);
    }

    void reloadTakesTheFileAsSaved() {
        WatchedDocument w;
        w.document->setText(QStringLiteral("edited\n"));
        w.alerts.answer = Choice::Reload;
        w.write("from\r\noutside\r\n");
        w.watch.check();
        QCOMPARE(w.alerts.outsideChangeAsks, 1);
        QCOMPARE(w.document->text(), QStringLiteral("from\noutside\n"));
        QVERIFY(!w.document->isModified());
        // Unedited after the reload: a save writes the file's bytes back.
        QCOMPARE(w.document->fileBytes().value(), QByteArray("from\r\noutside\r\n"));

        // A reload that cannot read the file keeps the text and says why.
        w.document->setText(QStringLiteral("edited\n"));
        w.write("caf\xe9\n");
        w.watch.reload();
        QCOMPARE(w.alerts.reloadFailures.size(), 1);
        QVERIFY(w.alerts.reloadFailures.first().contains(QStringLiteral("doc.md")));
        QCOMPARE(w.document->text(), QStringLiteral("edited\n"));
    }

    // Whatever another program leaves in the file's place, an open window's
    // watch reads nothing it cannot hold: the window stays responsive, memory
    // stays where it was, and the document counts as modified, as when the
    // file is deleted.
    void replacedByWhatIsNoFile_data() { addStrangers(); }
    void replacedByWhatIsNoFile() {
        QFETCH(Stranger, stranger);
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, QStringLiteral("doc.md"), "alpha\n");
        WorkspaceWindow w(MarkdownDocument::open(path, nullptr));
        QTRY_VERIFY_WITH_TIMEOUT(w.view->outsideChangeWatch().monitor().isWatching(), 10000);
        QVERIFY(!w.view->isWindowModified());

        const qint64 before = ProcessMemory::residentBytes();
        EventLoopProbe probe;
        const FifoRelease release(path);
        QVERIFY(replaceBy(stranger, path));
        QTRY_VERIFY_WITH_TIMEOUT(w.document->isModified(), 20000);
        QVERIFY(probe.settle());
        // No turn works long, and none waits: a blocked open lasts until the
        // FIFO's writer comes.
        QVERIFY2(probe.longestBusyMs() < 200, qPrintable(QString::number(probe.longestBusyMs())));
        QVERIFY2(probe.longestGapMs() < FifoRelease::afterMs / 2,
                 qPrintable(QString::number(probe.longestGapMs())));
        QVERIFY(ProcessMemory::residentBytes() - before < 100 * 1024 * 1024);
        QVERIFY(w.view->isWindowModified());
        QCOMPARE(w.alerts.outsideChangeAsks, 0);
        QCOMPARE(w.document->text(), QStringLiteral("alpha\n"));
    }

    // A save finds it too, before writing: it asks, a reload says why it
    // cannot, and the kept text takes the path as a file of its own (never
    // written through a link to a device). A folder cannot be replaced: the
    // save fails without a question.
    void saveOverWhatIsNoFileAsksFirst_data() { addStrangers(); }
    void saveOverWhatIsNoFileAsksFirst() {
        QFETCH(Stranger, stranger);
        WatchedDocument w;
        w.watch.stop();
        w.document->setText(QStringLiteral("mine\n"));
        const FifoRelease release(w.path);
        const QString device = ownZeroDevice(w.dir);
        QVERIFY(replaceBy(stranger, w.path, device));
        DocumentFileError error;
        if (stranger == Stranger::Folder) {
            QVERIFY(!w.document->save(w.path, &error));
            QCOMPARE(error.kind, DocumentFileError::Kind::WriteFailed);
            QCOMPARE(w.alerts.outsideChangeAsks, 0);
            QVERIFY(QFileInfo(w.path).isDir());
            QVERIFY(w.document->isModified());
            return;
        }

        w.alerts.answer = Choice::Reload;
        QVERIFY(!w.document->save(w.path, nullptr));
        QCOMPARE(w.alerts.outsideChangeAsks, 1);
        QCOMPARE(w.alerts.reloadFailures.size(), 1);
        QVERIFY(w.alerts.reloadFailures.first().contains(QStringLiteral("doc.md")));
        QCOMPARE(w.document->text(), QStringLiteral("mine\n"));

        w.alerts.answer = Choice::KeepMyVersion;
        QVERIFY(w.document->save(w.path, &error));
        QCOMPARE(w.alerts.outsideChangeAsks, 2);
        QVERIFY(QFileInfo(w.path).isFile() && !QFileInfo(w.path).isSymLink());
        QCOMPARE(TestSupport::readFile(w.path), QByteArray("mine\n"));
        QVERIFY(!w.document->isModified());
        QVERIFY(isCharacterDevice(device));
    }

    // A save over another program's change asks with the real question: it
    // says the save replaces that change, and Escape or Return, as with any
    // box, calls the save off, keeping the file theirs and the text modified.
    void aSaveOverAChangeIsCalledOffByEscape_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("Return") << int(Qt::Key_Return);
    }
    void aSaveOverAChangeIsCalledOffByEscape() {
        QFETCH(int, key);
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, QStringLiteral("doc.md"), "alpha\n");
        const auto document = MarkdownDocument::open(path, nullptr);
        const OutsideChangeWatch watch(*document, WorkspaceAlerts::standard(), nullptr);
        document->setText(QStringLiteral("mine\n"));
        TestSupport::writeFile(dir, QStringLiteral("doc.md"), "theirs\n");
        QStringList buttons;
        QString question;
        QTimer user;
        user.setInterval(10);
        connect(&user, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            user.stop();
            question = box->informativeText();
            for (QAbstractButton* button : box->buttons())
                buttons.append(button->text());
            QTest::keyClick(box, Qt::Key(key));
        });
        user.start();
        DocumentFileError error;
        QVERIFY(!document->save(path, &error));
        user.stop();
        QVERIFY(error.declined);
        QVERIFY2(question.contains(QStringLiteral("replace")), qPrintable(question));
        QVERIFY(buttons.contains(QStringLiteral("Save Anyway")));
        QCOMPARE(TestSupport::readFile(path), QByteArray("theirs\n"));
        QCOMPARE(document->text(), QStringLiteral("mine\n"));
        QVERIFY(document->isModified());
    }

    // A check that runs after the document is gone does nothing.
    void documentGoneBeforeTheCheck() {
        WatchedDocument w;
        w.write("changed\n");
        w.document.reset();
        w.watch.check();
        QCOMPARE(w.alerts.outsideChangeAsks, 0);
    }
};

QTEST_MAIN(TestOutsideChangeWatch)
#include "tst_outsidechangewatch.moc"
