#include "core/FileWriter.h"
#include "core/SaveCopies.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Step = FileWriter::Step;
using TestSupport::readFile;

Q_DECLARE_METATYPE(FileWriter::Step)

namespace {

Step stopAt = Step::CopyCreated;

// Stops the saving child at one step, for the test to kill it there.
void stopHere(Step step) {
    if (step == stopAt)
        ::raise(SIGSTOP);
}

struct stat statOf(const QString& path) {
    struct stat status = {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

// The names in the folder other than the two links.
QStringList othersIn(const QTemporaryDir& dir) {
    QStringList names =
        QDir(dir.path())
            .entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.removeAll(QStringLiteral("a.md"));
    names.removeAll(QStringLiteral("b.md"));
    return names;
}

// A file with a second name, so a save writes it in place.
QString linkedPair(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString a = TestSupport::writeFile(dir, QStringLiteral("a.md"), bytes);
    if (::link(QFile::encodeName(a).constData(),
               QFile::encodeName(dir.filePath(QStringLiteral("b.md"))).constData()) != 0)
        qFatal("cannot link");
    return a;
}

// Files larger than this cannot be written from the copy's sync on.
rlim_t sizeLimit = RLIM_INFINITY;
void limitSizeOnceCopied(Step step) {
    if (step != Step::CopySynced)
        return;
    struct rlimit limit;
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = sizeLimit;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

const QByteArray oldText("The old text, longer than the new one, line after line.\n");
const QByteArray newText("The new text.\n");

// What another program makes of the file once the new one is written.
struct stat changedTo;
QByteArray changedPath;
void changeOnceCopied(Step step) {
    if (step == Step::CopySynced &&
        (::chown(changedPath.constData(), changedTo.st_uid, gid_t(-1)) != 0 ||
         ::chmod(changedPath.constData(), changedTo.st_mode) != 0))
        qFatal("cannot change the file");
}

// quon's copies under the folders, wherever they lie.
QStringList copiesUnder(const QStringList& folders) {
    QStringList copies;
    for (const QString& folder : folders)
        for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             it.hasNext();)
            copies.append(it.next());
    return copies.filter(QStringLiteral(".quon-"));
}

// What a second quon opening the file finds at each step of a save.
QString savedPath;
QStringList seenCopies;
QStringList offeredMeanwhile;
QStringList copiesAround(const QString& file) {
    return copiesUnder(
        {QFileInfo(file).absolutePath(), QFileInfo(SaveCopies::stateFolderFor(file)).path()});
}
void lookAsAnotherQuon(Step) {
    const QStringList copies = copiesAround(savedPath);
    seenCopies += copies;
    offeredMeanwhile += SaveCopies::leftOver(savedPath);
    if (copiesAround(savedPath) != copies)
        offeredMeanwhile += QStringLiteral("a copy in use was removed");
}

bool refuseBesideFiles(const QString& copy) {
    return !copy.startsWith(QFileInfo(SaveCopies::stateFolderFor(savedPath)).path());
}

} // namespace

class TestFileWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A process killed (kill -9) at any step of a save in place leaves the
    // old text in the file or the complete new text in a copy beside it,
    // and the two names still one file.
    void killedDuringASaveInPlace_data() {
        QTest::addColumn<Step>("step");
        QTest::newRow("copy created") << Step::CopyCreated;
        QTest::newRow("copy synced") << Step::CopySynced;
        QTest::newRow("original written") << Step::OriginalWritten;
        QTest::newRow("original synced") << Step::OriginalSynced;
    }
    void killedDuringASaveInPlace() {
        QFETCH(Step, step);
        QTemporaryDir dir;
        const QString a = linkedPair(dir, oldText);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            stopAt = step;
            FileWriter::stepHookForTesting = stopHere;
            FileWriter::replace(a, newText, {}, nullptr);
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, WUNTRACED), child);
        QVERIFY2(WIFSTOPPED(status), "the save never reached the step");
        QCOMPARE(::kill(child, SIGKILL), 0);
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        const QStringList others = othersIn(dir);
        QVERIFY(others.size() <= 1);
        const QByteArray copy = others.isEmpty() ? QByteArray() : readFile(dir.filePath(others[0]));
        const QByteArray file = readFile(a);
        QVERIFY2(file == oldText || file == newText || copy == newText, file.constData());
        if (step == Step::CopyCreated)
            QCOMPARE(file, oldText);
        else
            QCOMPARE(copy, newText);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("b.md"))), file);
        QCOMPARE(statOf(a).st_nlink, nlink_t(2));
    }

    // A finished save in place, and one refused because the file changed,
    // leave no copy behind; the file stays the same file.
    // A rewrite in place that breaks off (a full disk, a quota) puts the old
    // text back; where even that fails, the complete new text stays in the
    // copy, which the failure names.
    void aRewriteThatBreaksOff_data() {
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("restored");
        QTest::newRow("room for the old text") << 4096 << true;
        QTest::newRow("not even for that") << 8 << false;
    }
    void aRewriteThatBreaksOff() {
        QFETCH(int, limit);
        QFETCH(bool, restored);
        QTemporaryDir dir;
        const QString a = linkedPair(dir, oldText);
        const QByteArray longer = QByteArray("A much longer new text.\n").repeated(1000);
        ::signal(SIGXFSZ, SIG_IGN);
        sizeLimit = rlim_t(limit);
        FileWriter::stepHookForTesting = limitSizeOnceCopied;
        FileWriter::Failure failure;
        const bool saved = FileWriter::replace(a, longer, {}, &failure);
        FileWriter::stepHookForTesting = nullptr;
        struct rlimit unlimited;
        ::getrlimit(RLIMIT_FSIZE, &unlimited);
        unlimited.rlim_cur = unlimited.rlim_max;
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        ::signal(SIGXFSZ, SIG_DFL);

        QVERIFY(!saved);
        QVERIFY(!failure.changedOnDisk);
        QVERIFY(!failure.errorText.isEmpty());
        QCOMPARE(statOf(a).st_nlink, nlink_t(2));
        if (restored) {
            QCOMPARE(readFile(a), oldText);
            QVERIFY(failure.keptCopy.isEmpty());
            QCOMPARE(othersIn(dir), QStringList());
        } else {
            QCOMPARE(othersIn(dir), QStringList{QFileInfo(failure.keptCopy).fileName()});
            QCOMPARE(readFile(failure.keptCopy), longer);
        }
    }

    void savesInPlaceLeaveNothingBehind() {
        QTemporaryDir dir;
        const QString a = linkedPair(dir, oldText);
        const ino_t inode = statOf(a).st_ino;
        FileWriter::Failure failure;
        QVERIFY(!FileWriter::replace(
            a, newText, [] { return false; }, &failure));
        QVERIFY(failure.changedOnDisk);
        QCOMPARE(readFile(a), oldText);
        QCOMPARE(othersIn(dir), QStringList());

        QVERIFY(FileWriter::replace(a, newText, {}, &failure));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("b.md"))), newText);
        QCOMPARE(statOf(a).st_ino, inode);
        QCOMPARE(statOf(a).st_nlink, nlink_t(2));
        QCOMPARE(othersIn(dir), QStringList());
    }

    // A user who cannot give the file's group to a new file (not a member of
    // it) saves in place: the file stays the same file, with its group.
    void groupTheSaverCannotGiveIsKept() {
        if (::geteuid() != 0)
            QSKIP("only root can make a file another user's");
        QTemporaryDir dir;
        const uid_t nobody = 65534;
        const QString path = TestSupport::writeFile(dir, QStringLiteral("a.md"), oldText);
        QCOMPARE(::chown(QFile::encodeName(dir.path()).constData(), nobody, nobody), 0);
        QCOMPARE(::chown(QFile::encodeName(path).constData(), nobody, 0), 0);
        const ino_t inode = statOf(path).st_ino;
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)
                ::_exit(2);
            ::_exit(FileWriter::replace(path, newText, {}, nullptr) ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(readFile(path), newText);
        QCOMPARE(statOf(path).st_ino, inode);
        QCOMPARE(statOf(path).st_uid, nobody);
        QCOMPARE(statOf(path).st_gid, gid_t(0));
        QCOMPARE(othersIn(dir), QStringList());
    }

    // Made read-only, private or another user's while a save runs: the save
    // starts again from what the file is now, and only root writes a file
    // made read-only.
    void fileChangedWhileSaving_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<uint>("owner");
        QTest::newRow("made read-only") << 0444 << ::geteuid();
        QTest::newRow("made private") << 0600 << ::geteuid();
        if (::geteuid() == 0)
            QTest::newRow("given to another user") << 0644 << 65534u;
    }
    void fileChangedWhileSaving() {
        QFETCH(int, mode);
        QFETCH(uint, owner);
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, QStringLiteral("a.md"), oldText);
        changedPath = QFile::encodeName(path);
        QCOMPARE(::chmod(changedPath.constData(), 0644), 0);
        changedTo.st_mode = mode_t(mode);
        changedTo.st_uid = uid_t(owner);
        FileWriter::stepHookForTesting = changeOnceCopied;
        const bool saved = FileWriter::replace(path, newText, {}, nullptr);
        FileWriter::stepHookForTesting = nullptr;
        QCOMPARE(statOf(path).st_mode & 07777, changedTo.st_mode);
        QCOMPARE(statOf(path).st_uid, changedTo.st_uid);
        const bool writable = ::geteuid() == 0 || (mode & 0200);
        QCOMPARE(saved, writable);
        QCOMPARE(readFile(path), writable ? newText : oldText);
        QCOMPARE(othersIn(dir), QStringList());
    }

    // A second quon that opens the file while a save runs neither offers nor
    // removes the save's copy, which stays locked until the save ends. On a
    // file system that takes no lock the copy lies in quon's state folder.
    void aSaveHoldsItsCopyUntilItEnds_data() {
        QTest::addColumn<int>("kind"); // 0 renamed, 1 hard-linked, 2 new file
        QTest::addColumn<bool>("locks");
        for (const bool locks : {true, false}) {
            const char* where = locks ? "locks" : "no locks beside the file";
            QTest::addRow("renamed, %s", where) << 0 << locks;
            QTest::addRow("hard-linked, %s", where) << 1 << locks;
            QTest::addRow("new file, %s", where) << 2 << locks;
        }
    }
    void aSaveHoldsItsCopyUntilItEnds() {
        QFETCH(int, kind);
        QFETCH(bool, locks);
        QTemporaryDir dir;
        savedPath = dir.filePath(QStringLiteral("a.md"));
        if (kind == 0)
            TestSupport::writeFile(dir, QStringLiteral("a.md"), oldText);
        else if (kind == 1)
            linkedPair(dir, oldText);
        seenCopies.clear();
        offeredMeanwhile.clear();
        FileWriter::stepHookForTesting = lookAsAnotherQuon;
        SaveCopies::refuseLockForTesting = locks ? nullptr : refuseBesideFiles;
        FileWriter::Failure failure;
        const bool saved = FileWriter::replace(savedPath, newText, {}, &failure);
        FileWriter::stepHookForTesting = nullptr;
        SaveCopies::refuseLockForTesting = nullptr;
        QVERIFY2(saved, qPrintable(failure.errorText));
        QCOMPARE(readFile(savedPath), newText);
        QVERIFY(!seenCopies.isEmpty());
        QCOMPARE(offeredMeanwhile, QStringList());
        const QString state = SaveCopies::stateFolderFor(savedPath);
        for (const QString& copy : std::as_const(seenCopies))
            QVERIFY2(locks || copy.startsWith(state), qPrintable(copy));
        QCOMPARE(copiesAround(savedPath), QStringList());
        QCOMPARE(statOf(savedPath).st_nlink, nlink_t(kind == 1 ? 2 : 1));
    }
};

QTEST_APPLESS_MAIN(TestFileWriter)
#include "tst_filewriter.moc"
