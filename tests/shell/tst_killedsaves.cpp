#include "core/FileWriter.h"
#include "core/MarkdownDocument.h"
#include "shell/DocumentController.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDirIterator>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using Step = FileWriter::Step;
using TestSupport::readFile;

namespace {

const QByteArray oldText("The old text, longer than the new one, line after line.\n");
const QByteArray newText("The new text.\n");
const uid_t nobody = 65534;
// Set for this test run again as the saving child.
const char* const killStep = "QUON_TEST_KILL_SAVE_AT";
const char* const asNobody = "QUON_TEST_SAVE_AS_NOBODY";
const char* const savedPath = "QUON_TEST_SAVE_PATH";

void killHere(Step step) {
    if (int(step) == qEnvironmentVariableIntValue(killStep))
        ::raise(SIGKILL);
}

// The child: types the new text and saves it as quon does, killed (kill -9)
// at the step.
int saveAndDie() {
    if (qEnvironmentVariableIsSet(asNobody) &&
        (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0))
        return 2;
    const QString path = qEnvironmentVariable(savedPath);
    auto document = MarkdownDocument::open(path, nullptr);
    if (!document)
        return 3;
    document->setText(QString::fromLatin1(newText));
    FileWriter::stepHookForTesting = killHere;
    return document->save(path, nullptr) ? 0 : 1;
}

// How the file is saved: by a rename, or in place with the copy beside it
// (a second hard link) or in quon's state folder (a folder the saver may
// not write).
enum class Kind { Renamed, Linked, LockedFolder };

// quon's copies in the folders, wherever they lie.
QStringList copiesIn(const QStringList& folders) {
    QStringList copies;
    for (const QString& folder : folders)
        for (QDirIterator it(folder, {QStringLiteral("*.quon-*")}, QDir::Files | QDir::Hidden,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            copies.append(it.next());
    return copies;
}

bool setMode(const QString& path, mode_t mode) {
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

bool giveToNobody(const QString& path) {
    return ::chown(QFile::encodeName(path).constData(), nobody, nobody) == 0;
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

    // A save killed (kill -9) at each of its steps, then the file opened
    // again: another document of its folder removes the partial copies and
    // asks nothing; the file itself removes a complete copy that holds what
    // it holds and offers to open one that differs.
    void killedSaveThenOpen_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("step"); // -1: the save finishes
        QTest::addColumn<QByteArray>("left");
        QTest::addColumn<bool>("complete"); // a complete copy is left
        QTest::addColumn<bool>("offered");
        const QByteArray cut = oldText.left(newText.size());
        const auto rows = [&](const char* name, Kind kind) {
            const auto row = [&](const char* stepName, Step step, const QByteArray& left,
                                 bool complete, bool offered) {
                QTest::addRow("%s, %s", name, stepName)
                    << kind << int(step) << left << complete << offered;
            };
            row("copy created", Step::CopyCreated, oldText, false, false);
            row("copy written", Step::CopyWritten, oldText, false, false);
            row("copy synced", Step::CopySynced, oldText, true, true);
            QTest::addRow("%s, finished", name) << kind << -1 << newText << false << false;
            if (kind == Kind::Renamed)
                return;
            row("original cut", Step::OriginalCut, cut, true, true);
            row("original written", Step::OriginalWritten, newText, true, false);
            row("original synced", Step::OriginalSynced, newText, true, false);
        };
        rows("renamed", Kind::Renamed);
        rows("hard-linked", Kind::Linked);
        rows("folder not writable", Kind::LockedFolder);
    }
    void killedSaveThenOpen() {
        QFETCH(Kind, kind);
        QFETCH(int, step);
        QFETCH(QByteArray, left);
        QFETCH(bool, complete);
        QFETCH(bool, offered);
        QTemporaryDir dir;
        QVERIFY(setMode(dir.path(), 0755));
        const QString docs = dir.filePath(QStringLiteral("docs"));
        const QString state = dir.filePath(QStringLiteral("state"));
        QVERIFY(QDir().mkpath(docs) && QDir().mkpath(state));
        const QString path = TestSupport::writeFile(dir, QStringLiteral("docs/a.md"), oldText);
        const QString other = TestSupport::writeFile(dir, QStringLiteral("docs/b.md"), "b\n");
        if (kind == Kind::Linked)
            QCOMPARE(::link(QFile::encodeName(path).constData(),
                            QFile::encodeName(docs + QStringLiteral("/c.md")).constData()),
                     0);
        // Root is bound by a folder's mode only as another user.
        const bool saverIsNobody = kind == Kind::LockedFolder && ::geteuid() == 0;
        if (saverIsNobody)
            QVERIFY(giveToNobody(path) && giveToNobody(state));
        if (kind == Kind::LockedFolder)
            QVERIFY(setMode(docs, 0555));

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(killStep), QString::number(step));
        environment.insert(QLatin1String(savedPath), path);
        environment.insert(QStringLiteral("XDG_STATE_HOME"), state);
        if (saverIsNobody)
            environment.insert(QLatin1String(asNobody), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(120'000));
        QCOMPARE(child.exitStatus(), step < 0 ? QProcess::NormalExit : QProcess::CrashExit);
        // Killed at the step, or saved.
        QCOMPARE(child.exitCode(), step < 0 ? 0 : SIGKILL);
        QCOMPARE(readFile(path), left);

        const QByteArray stateHome = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QFile::encodeName(state));
        QCOMPARE(controller.open(other), DocumentController::OpenResult::Opened);
        QCOMPARE(dialogs->confirmTexts, QStringList());
        const QStringList copies = copiesIn({docs, state});
        QCOMPARE(copies.size(), complete ? 1 : 0);
        // Never beside a file in a folder the saver may not write.
        if (kind == Kind::LockedFolder && complete)
            QVERIFY2(copies[0].startsWith(state), qPrintable(copies[0]));

        dialogs->confirmations = {true};
        QCOMPARE(controller.open(path), DocumentController::OpenResult::Opened);
        qputenv("XDG_STATE_HOME", stateHome);
        QVERIFY(setMode(docs, 0755));
        QCOMPARE(copiesIn({docs, state}), offered ? copies : QStringList());
        if (!offered) {
            QCOMPARE(dialogs->confirmTexts, QStringList());
            return;
        }
        QCOMPARE(dialogs->confirmTexts,
                 QStringList{QStringLiteral("A save of “a.md” didn’t finish.")});
        QVERIFY(dialogs->confirmDetails[0].contains(copies[0]));
        // The copy opens in a window of its own, holding the new text whole.
        QCOMPARE(controller.documents().last()->fileUrl().toLocalFile(), copies[0]);
        QCOMPARE(controller.documents().last()->text().toLatin1(), newText);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet(killStep)) {
        QCoreApplication app(argc, argv);
        return saveAndDie();
    }
    QApplication app(argc, argv);
    TestKilledSaves test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_killedsaves.moc"
