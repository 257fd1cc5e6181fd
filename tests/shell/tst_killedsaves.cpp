#include "core/FileIdentity.h"
#include "core/FileWriter.h"
#include "core/MarkdownDocument.h"
#include "shell/DocumentController.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDirIterator>
#include <QLocale>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using Step = FileWriter::Step;

namespace {

const QByteArray oldText("The old text, longer than the new one, line after line.\n");
const QByteArray newText("The new text.\n");
const uid_t nobody = 65534;
// The saving child (this test run again): the step it is killed at (-1:
// none), and the file size it may not pass from the copy's sync on (0: none).
int killAt = -1;
rlim_t sizeLimit = 0;

void atStep(Step step) {
    if (int(step) == killAt)
        ::raise(SIGKILL);
    struct rlimit size;
    if (step == Step::CopySynced && sizeLimit > 0 && ::getrlimit(RLIMIT_FSIZE, &size) == 0) {
        size.rlim_cur = sizeLimit;
        ::setrlimit(RLIMIT_FSIZE, &size);
    }
}

// `--save PATH STEP LIMIT [nobody]`: types the new text over the file and
// saves it as quon does; says why a save failed.
int saveAsChild(const QStringList& arguments) {
    killAt = arguments[3].toInt();
    sizeLimit = arguments[4].toULong();
    if (arguments.size() > 5 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0))
        return 2;
    ::signal(SIGXFSZ, SIG_IGN);
    auto document = MarkdownDocument::open(arguments[2], nullptr);
    document->setText(QString::fromLatin1(newText));
    FileWriter::stepHookForTesting = atStep;
    DocumentFileError error;
    if (document->save(arguments[2], &error))
        return 0;
    std::fputs(qPrintable(error.message()), stdout);
    return 1;
}

// A rename, a rewrite in place after a copy beside the file (it has a second
// hard link), or after a copy in quon's state folder (its folder takes no
// file from the saver, root included: root saves as nobody).
enum class Kind { Renamed, Linked, LockedFolder };

QStringList copiesIn(const QStringList& folders) {
    QStringList copies;
    for (const QString& folder : folders)
        for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            copies.append(it.next());
    return copies.filter(QStringLiteral(".quon-"));
}

// Which file it is, whose, with what mode.
auto whatIs(const QString& path) {
    const QFileInfo info(path);
    return std::tuple(FileIdentity::of(path), info.ownerId(), info.permissions());
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestKilledSaves : public QObject {
    Q_OBJECT

    DocumentController& controller = DocumentController::shared();
    ScriptedDialogs* dialogs = nullptr;

private Q_SLOTS:
    void initTestCase() {
        controller.setWindowFactory(
            [](MarkdownDocument&, DocumentController&) { return new QMainWindow; });
    }
    void init() { dialogs = &ScriptedDialogs::install(); }
    void cleanup() { dialogs->discardAll(controller); }

    // A save killed (kill -9) at each step, or broken off by a full disk,
    // then the file opened again. Another document of the folder removes the
    // partial copies and asks nothing; the file removes a complete copy that
    // holds what it holds and offers to open one that differs. Written in
    // place, the file stays the same file, with its owner and mode.
    void killedSaveThenOpen_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("step"); // -1: the save ends
        QTest::addColumn<int>("limit");
        QTest::addColumn<QByteArray>("left");
        const QByteArray cut = oldText.left(newText.size());
        for (const auto& [name, kind] :
             {std::pair("renamed", Kind::Renamed), std::pair("hard-linked", Kind::Linked),
              std::pair("folder not writable", Kind::LockedFolder)}) {
            const auto row = [&](const char* at, Step step, const QByteArray& left) {
                QTest::addRow("%s, %s", name, at) << kind << int(step) << 0 << left;
            };
            row("finished", Step(-1), newText);
            row("copy created", Step::CopyCreated, oldText);
            row("copy written", Step::CopyWritten, oldText);
            row("copy synced", Step::CopySynced, oldText);
            if (kind == Kind::Renamed)
                continue;
            row("original cut", Step::OriginalCut, cut);
            row("original written", Step::OriginalWritten, newText);
            row("original synced", Step::OriginalSynced, newText);
        }
        QTest::newRow("folder not writable, disk full") << Kind::LockedFolder << -1 << 8 << cut;
    }
    void killedSaveThenOpen() {
        QFETCH(Kind, kind);
        QFETCH(int, step);
        QFETCH(int, limit);
        QFETCH(QByteArray, left);
        // Once synced, the copy is complete: offered when the file lacks it.
        const bool complete = limit || step >= int(Step::CopySynced);
        const bool offered = complete && left != newText;
        QTemporaryDir dir;
        const QString docs = dir.filePath(QStringLiteral("docs"));
        const QString state = dir.filePath(QStringLiteral("state"));
        QVERIFY(QDir().mkpath(docs) && QDir().mkpath(state));
        const QString path = TestSupport::writeFile(dir, QStringLiteral("docs/a.md"), oldText);
        const QString other = TestSupport::writeFile(dir, QStringLiteral("docs/b.md"), "b\n");
        if (kind == Kind::Linked)
            QCOMPARE(::link(qPrintable(path), qPrintable(docs + QStringLiteral("/c.md"))), 0);
        const bool asNobody = kind == Kind::LockedFolder && ::geteuid() == 0;
        if (asNobody)
            QVERIFY(::chmod(qPrintable(dir.path()), 0755) == 0 &&
                    ::chown(qPrintable(path), nobody, nobody) == 0 &&
                    ::chown(qPrintable(state), nobody, nobody) == 0);
        if (kind == Kind::LockedFolder)
            QCOMPARE(::chmod(qPrintable(docs), 0555), 0);
        const auto before = whatIs(path);

        // The child saves, and this process opens, with the state folder of the row.
        const QByteArray stateHome = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QFile::encodeName(state));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    QStringList{"--save", path, QString::number(step), QString::number(limit)} +
                        (asNobody ? QStringList{"nobody"} : QStringList()));
        QVERIFY(child.waitForFinished(120'000));
        // Killed at the step, saved, or refused by the full disk.
        QCOMPARE(child.exitCode(), step >= 0 ? SIGKILL : limit ? 1 : 0);
        QCOMPARE(TestSupport::readFile(path), left);
        QVERIFY(kind == Kind::Renamed || whatIs(path) == before);
        // This process stands for the saver's own next quon: its copies are its own.
        if (asNobody)
            for (const QString& copy : copiesIn({docs, state}))
                QCOMPARE(::chown(qPrintable(copy), ::geteuid(), ::getegid()), 0);

        QCOMPARE(controller.open(other), DocumentController::OpenResult::Opened);
        QCOMPARE(dialogs->confirmTexts, QStringList());
        const QStringList copies = copiesIn({docs, state});
        QCOMPARE(copies.size(), complete ? 1 : 0);
        // Never beside a file in a folder the saver may not write; the
        // alert of a rewrite that broke off names the copy.
        if (kind == Kind::LockedFolder && complete)
            QVERIFY(copies[0].startsWith(state));
        if (limit)
            QVERIFY(QString::fromUtf8(child.readAllStandardOutput()).contains(copies[0]));

        dialogs->confirmations = {true};
        QCOMPARE(controller.open(path), DocumentController::OpenResult::Opened);
        qputenv("XDG_STATE_HOME", stateHome);
        QCOMPARE(::chmod(qPrintable(docs), 0755), 0);
        QCOMPARE(copiesIn({docs, state}), offered ? copies : QStringList());
        QCOMPARE(dialogs->confirmTexts.size(), offered ? 1 : 0);
        if (!offered)
            return;
        QCOMPARE(dialogs->confirmTexts[0], QStringLiteral("A save of “a.md” didn’t finish."));
        QVERIFY(dialogs->confirmDetails[0].contains(copies[0]));
        // Both texts' times and sizes, to tell which is newer.
        const auto said = [](const QString& file, qsizetype size) {
            const QLocale locale;
            const QString format = locale.dateFormat(QLocale::ShortFormat) + " HH:mm:ss";
            const QString time = locale.toString(QFileInfo(file).lastModified(), format);
            return QStringLiteral("written %1, %2 bytes.").arg(time).arg(size);
        };
        QVERIFY(
            dialogs->confirmDetails[0].contains("The copy: " + said(copies[0], newText.size())));
        QVERIFY(dialogs->confirmDetails[0].contains("The file: " + said(path, left.size())));
        // The copy opens in a window of its own, holding the new text whole.
        QCOMPARE(controller.documents().last()->fileUrl().toLocalFile(), copies[0]);
        QCOMPARE(controller.documents().last()->text().toLatin1(), newText);
        // Dialogs still start in the document's folder, never in quon's own.
        controller.saveAs(controller.newDocument());
        QCOMPARE(QFileInfo(dialogs->lastProposedPath).absolutePath(), docs);
    }

    // Only the user's own copies are quon's: in a shared folder (as root)
    // another user's copies, and a name of that shape linked to another
    // file, are neither removed nor offered.
    void othersCopiesStay_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("linked"); // else another user's
        const QStringList names = {"a.md.quon-0a0a0a.partial", "b.md.quon-0a0a0a.partial",
                                   "a.md.quon-0b0b0b.saved"};
        for (const QString& name : names) {
            QTest::addRow("hard-linked %s", qPrintable(name)) << name << true;
            if (::geteuid() == 0)
                QTest::addRow("nobody's %s", qPrintable(name)) << name << false;
        }
    }
    void othersCopiesStay() {
        QFETCH(QString, name);
        QFETCH(bool, linked);
        QTemporaryDir dir;
        QCOMPARE(::chmod(qPrintable(dir.path()), 01777), 0);
        const QString path = TestSupport::writeFile(dir, QStringLiteral("a.md"), oldText);
        const QString copy = TestSupport::writeFile(dir, name, newText);
        if (linked)
            QCOMPARE(::link(qPrintable(copy), qPrintable(dir.filePath(QStringLiteral("keep")))), 0);
        else
            QCOMPARE(::chown(qPrintable(copy), nobody, nobody), 0);
        QCOMPARE(controller.open(path), DocumentController::OpenResult::Opened);
        QCOMPARE(dialogs->confirmTexts, QStringList());
        QCOMPARE(TestSupport::readFile(copy), newText);
    }

    // A FIFO named like a partial copy is another program's: opening a
    // document of its folder neither opens nor removes it.
    void othersFileStays() {
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, QStringLiteral("a.md"), oldText);
        const QString fifo = dir.filePath(QStringLiteral("b.md.quon-0a0a0a.partial"));
        QCOMPARE(::mkfifo(qPrintable(fifo), 0600), 0);
        QCOMPARE(controller.open(path), DocumentController::OpenResult::Opened);
        QVERIFY(QFileInfo(fifo).exists());
    }
};

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], "--save") == 0) {
        QCoreApplication app(argc, argv);
        return saveAsChild(QCoreApplication::arguments());
    }
    QApplication app(argc, argv);
    CheckedTest<TestKilledSaves> test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_killedsaves.moc"
