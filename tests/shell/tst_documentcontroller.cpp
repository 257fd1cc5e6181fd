#include "core/MarkdownDocument.h"
#include "core/RecentFilesStore.h"
#include "shell/DocumentController.h"
#include "shell/OutsideChangeWatch.h"
#include "support/FakeWorkspaceAlerts.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using TestSupport::readFile;
using TestSupport::writeFile;
using Result = DocumentController::OpenResult;

namespace {

// What typing at the start of the text does to the document.
void type(MarkdownDocument* document, const QString& text) {
    document->setText(text + document->text());
}

void plainWindows(DocumentController& controller) {
    controller.setWindowFactory(
        [](MarkdownDocument&, DocumentController&) { return new QMainWindow; });
}

} // namespace

class TestDocumentController : public QObject {
    Q_OBJECT

    DocumentController& controller = DocumentController::shared();
    ScriptedDialogs* dialogs = nullptr;

    QString title(MarkdownDocument* document) const {
        return controller.windowFor(document)->windowTitle().remove(QStringLiteral("[*]"));
    }

private Q_SLOTS:
    void initTestCase() { plainWindows(controller); }

    void init() {
        TestSupport::resetPreferences();
        dialogs = &ScriptedDialogs::install();
    }

    void cleanup() {
        dialogs->discardAll(controller);
        QCOMPARE(controller.documentCount(), 0);
    }

    void oneWindowPerFile() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"), "# A\n");
        QVERIFY(QFile::link(path, dir.filePath(QStringLiteral("link.md"))));
        QCOMPARE(controller.open(path), Result::Opened);
        QCOMPARE(controller.open(dir.path() + QStringLiteral("/./a.md")), Result::Raised);
        QCOMPARE(controller.open(dir.filePath(QStringLiteral("link.md"))), Result::Raised);
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        QCOMPARE(controller.open(QStringLiteral("./a.md")), Result::Raised);
        QDir::setCurrent(previous);
        QCOMPARE(controller.documentCount(), 1);
        QCOMPARE(title(controller.documents().first()), QStringLiteral("a.md"));

        // Raised from Open Recent, the open file moves back to the top.
        RecentFilesStore& recent = RecentFilesStore::shared();
        recent.record(QUrl::fromLocalFile(writeFile(dir, QStringLiteral("b.md"), "b")));
        QCOMPARE(controller.open(path), Result::Raised);
        QCOMPARE(recent.files().first().url, QUrl::fromLocalFile(path));

        // A failure names the file and the reason.
        QCOMPARE(controller.open(dir.filePath(QStringLiteral("missing.md"))), Result::NotOpened);
        QCOMPARE(dialogs->alerts.size(), 1);
        QVERIFY(dialogs->alerts[0].second.contains(QStringLiteral("missing.md")));
        QVERIFY(dialogs->alerts[0].second.contains(QStringLiteral("No such file")));
    }

    void untitledNumbering() {
        QCOMPARE(controller.displayName(controller.newDocument()), QStringLiteral("Untitled"));
        MarkdownDocument* second = controller.newDocument();
        QCOMPARE(controller.displayName(controller.newDocument()), QStringLiteral("Untitled 3"));
        controller.close(second);
        QCOMPARE(controller.displayName(controller.newDocument()), QStringLiteral("Untitled 2"));
        QVERIFY(dialogs->saveQuestions.isEmpty()); // the unedited sample goes silently
    }

    void closeWithChanges() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"), "old\n");
        controller.open(path);
        MarkdownDocument* document = controller.documents().first();
        QPointer<QMainWindow> window = controller.windowFor(document);
        type(document, QStringLiteral("new "));
        QVERIFY(window->isWindowModified());

        dialogs->saveChoices = {SaveChangesChoice::Cancel};
        QVERIFY(!window->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window && window->isVisible());
        QCOMPARE(dialogs->saveQuestions, QStringList{QStringLiteral("a.md")});

        dialogs->saveChoices = {SaveChangesChoice::DontSave};
        QSignalSpy closed(&controller, &DocumentController::documentWindowClosed);
        QVERIFY(window->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window);
        QCOMPARE(closed.size(), 1);
        QCOMPARE(readFile(path), QByteArray("old\n"));

        controller.open(path);
        type(controller.documents().first(), QStringLiteral("saved "));
        dialogs->saveChoices = {SaveChangesChoice::Save};
        QVERIFY(controller.close(controller.documents().first()));
        QCOMPARE(readFile(path), QByteArray("saved old\n"));
    }

    void quitReviewsEveryModifiedDocument() {
        QTemporaryDir dir;
        const QString a = writeFile(dir, QStringLiteral("a.md"), "a\n");
        const QString b = writeFile(dir, QStringLiteral("b.md"), "b\n");
        DocumentController local;
        plainWindows(local);
        local.open(a);
        local.open(b);
        local.newDocument(); // unedited: asks nothing
        for (MarkdownDocument* document : local.documents())
            if (document->fileUrl().isValid())
                document->setText(QStringLiteral("changed\n"));
        QSignalSpy confirmed(&local, &DocumentController::quitConfirmed);

        dialogs->saveChoices = {SaveChangesChoice::DontSave, SaveChangesChoice::Cancel};
        QVERIFY(!local.quit());
        QCOMPARE(dialogs->saveQuestions, (QStringList{"a.md", "b.md"}));
        QCOMPARE(local.documentCount(), 3);
        QCOMPARE(confirmed.size(), 0);

        dialogs->saveChoices = {SaveChangesChoice::DontSave, SaveChangesChoice::DontSave};
        QVERIFY(local.quit());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(dialogs->saveQuestions.size(), 4);
        QCOMPARE(local.documentCount(), 0);
        QCOMPARE(confirmed.size(), 1);
        QCOMPARE(readFile(a), QByteArray("a\n"));
        QCOMPARE(readFile(b), QByteArray("b\n"));
    }

    // A quit that arrives while a close question is up waits for that answer
    // instead of asking about the same document a second time.
    void quitDuringCloseQuestionAsksOnce() {
        controller.newDocument();
        MarkdownDocument* document = controller.documents().first();
        type(document, QStringLiteral("typed "));
        bool quitResult = true;
        dialogs->whileAskingSave = [&] { quitResult = controller.quit(); };
        dialogs->saveChoices = {SaveChangesChoice::Cancel};
        QVERIFY(!controller.close(document));
        QVERIFY(!quitResult);
        QCOMPARE(dialogs->saveQuestions.size(), 1);
        QCOMPARE(controller.documentCount(), 1);
    }

    // Reloaded from the file (another question's answer) while the quit's
    // Save question is up: the question goes, as nothing would be lost, and
    // the quit goes on without a save. The real box goes as Cancel.
    void reloadWhileAskingToSaveWithdrawsTheQuestion() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"), "mine\n");
        controller.open(path);
        MarkdownDocument* document = controller.documents().first();
        type(document, QStringLiteral("typed "));
        dialogs->whileAskingSave = [&] {
            writeFile(dir, QStringLiteral("a.md"), "theirs\n");
            document->reload(*DocumentFile::read(path, nullptr));
        };
        dialogs->saveChoices = {SaveChangesChoice::Cancel};
        QVERIFY(controller.quit());
        QCOMPARE(dialogs->withdrawnSaveQuestions, 1);
        QCOMPARE(controller.documentCount(), 0);
        QCOMPARE(readFile(path), QByteArray("theirs\n"));

        QMainWindow window;
        WidgetDocumentDialogs real;
        QTimer::singleShot(0, &window, [&] { real.withdrawSaveChanges(&window); });
        QCOMPARE(real.askSaveChanges(&window, QStringLiteral("a.md")), SaveChangesChoice::Cancel);
    }

    void saveIntoReadOnlyFolderAlerts() {
        QTemporaryDir dir;
        const QString locked = TestSupport::readOnlyFolder(dir);
        MarkdownDocument* document = controller.newDocument();
        type(document, QStringLiteral("keep me"));
        dialogs->savePaths = {locked + QStringLiteral("/notes")};
        QVERIFY(!controller.save(document));
        QCOMPARE(dialogs->alerts.size(), 1);
        QVERIFY(dialogs->alerts[0].second.contains(QStringLiteral("notes.md")));
        QVERIFY(controller.windowFor(document)->isWindowModified());
        QCOMPARE(controller.displayName(document), QStringLiteral("Untitled"));
        QVERIFY(!QFileInfo::exists(locked + QStringLiteral("/notes.md")));
    }

    // Another program rewrote the file, and the save cannot put that to the
    // user as the question is already open: it fails, and says why. One it
    // cannot read now is put to the user, and Cancel leaves it alone.
    void saveThatCannotAskSaysWhy_data() {
        QTest::addColumn<bool>("unreadable");
        QTest::newRow("file unreadable") << true;
        QTest::newRow("question already open") << false;
    }
    void saveThatCannotAskSaysWhy() {
        QFETCH(bool, unreadable);
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"), "mine\n");
        FakeWorkspaceAlerts alerts;
        DocumentController local;
        local.setWindowFactory([&alerts](MarkdownDocument& document, DocumentController&) {
            auto* window = new QMainWindow;
            new OutsideChangeWatch(document, alerts, window, window);
            return window;
        });
        local.open(path);
        MarkdownDocument* document = local.documents().first();
        type(document, QStringLiteral("typed "));
        writeFile(dir, QStringLiteral("a.md"), "theirs\n");

        bool saved = true;
        if (unreadable) {
            // Root reads any file: a link to itself stands for one quon may
            // not read, put there right after the save's own look.
            const auto check = document->onChangedOnDisk;
            document->onChangedOnDisk = [&path, check](DocumentFileError& error) {
                QFile::remove(path);
                QFile::link(path, path);
                return check(error);
            };
            alerts.answer = FakeWorkspaceAlerts::OutsideChangeChoice::Cancel;
            saved = local.save(document);
            QCOMPARE(alerts.savingAsks, 1);
            QVERIFY(QFileInfo(path).isSymLink() && document->isModified());
        } else {
            alerts.whileAsking = [&] { saved = local.save(document); };
            QVERIFY(local.save(document));
            QCOMPARE(alerts.outsideChangeAsks, 1);
        }
        QVERIFY(!saved);
        // Called off by the user, the save has nothing to alert.
        using Alerts = QList<std::pair<QString, QString>>;
        const Alerts said = {
            {"Could Not Save File", "“a.md” wasn’t saved because another application changed it."}};
        QCOMPARE(dialogs->alerts, unreadable ? Alerts() : said);
        dialogs->discardAll(local);
    }

    void savesKeepBytesModeAndLinks() {
        QTemporaryDir dir;
        const QByteArray crlf("# Title\r\n\r\nbody\r\n");
        const QString path = writeFile(dir, QStringLiteral("a.md"), crlf);
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        controller.open(path);
        QVERIFY(controller.save(controller.documents().first()));
        QCOMPARE(readFile(path), crlf);
        QCOMPARE(QFileInfo(path).permissions(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ReadUser | QFileDevice::WriteUser);

        // Saving through a symbolic link writes the file it points to.
        const QString link = dir.filePath(QStringLiteral("link.md"));
        const QString target = writeFile(dir, QStringLiteral("target.md"), "t\n");
        QVERIFY(QFile::link(target, link));
        controller.open(link);
        MarkdownDocument* linked = controller.documents().last();
        type(linked, QStringLiteral("x"));
        QVERIFY(controller.save(linked));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readFile(target), QByteArray("xt\n"));
    }

    // Two hard-linked names are one file: one window, and a save keeps them
    // one file holding the saved text; Save As onto the other name is refused.
    void hardLinkedNamesShareOneWindowAndStayLinked() {
        QTemporaryDir dir;
        const QString a = writeFile(dir, QStringLiteral("a.md"), "shared\n");
        const QString b = dir.filePath(QStringLiteral("b.md"));
        QCOMPARE(::link(QFile::encodeName(a).constData(), QFile::encodeName(b).constData()), 0);
        QCOMPARE(controller.open(a), Result::Opened);
        QCOMPARE(controller.open(b), Result::Raised);
        QCOMPARE(controller.documentCount(), 1);

        MarkdownDocument* document = controller.documents().first();
        type(document, QStringLiteral("edited "));
        QVERIFY(controller.save(document));
        QCOMPARE(readFile(a), QByteArray("edited shared\n"));
        QCOMPARE(readFile(b), QByteArray("edited shared\n"));
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(a).constData(), &status), 0);
        QCOMPARE(status.st_nlink, nlink_t(2));
        QCOMPARE(controller.open(b), Result::Raised);

        MarkdownDocument* other = controller.newDocument();
        dialogs->savePaths = {b};
        QVERIFY(!controller.saveAs(other));
        QVERIFY(dialogs->alerts.last().second.contains(QStringLiteral("b.md")));
        QCOMPARE(readFile(a), QByteArray("edited shared\n"));
    }

    // Saved by root, another user's file stays theirs, with its group and mode.
    void saveKeepsAnotherUsersOwnership() {
        if (::geteuid() != 0)
            QSKIP("only root can give a file to another user");
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("theirs.md"), "theirs\n");
        const QByteArray native = QFile::encodeName(path);
        const uid_t nobody = 65534;
        QCOMPARE(::chown(native.constData(), nobody, nobody), 0);
        QCOMPARE(::chmod(native.constData(), 0640), 0);
        QCOMPARE(controller.open(path), Result::Opened);
        MarkdownDocument* document = controller.documents().first();
        type(document, QStringLiteral("root: "));
        QVERIFY(controller.save(document));
        QCOMPARE(readFile(path), QByteArray("root: theirs\n"));
        struct stat status;
        QCOMPARE(::stat(native.constData(), &status), 0);
        QCOMPARE(status.st_uid, nobody);
        QCOMPARE(status.st_gid, gid_t(nobody));
        QCOMPARE(status.st_mode & 07777, mode_t(0640));
    }

    void saveAsNamesAndGuards() {
        QTemporaryDir dir;
        MarkdownDocument* document = controller.newDocument();
        dialogs->savePaths = {dir.filePath(QStringLiteral("notes"))};
        QVERIFY(controller.save(document));
        QVERIFY(dialogs->lastProposedPath.endsWith(QStringLiteral("/Untitled.md")));
        QCOMPARE(title(document), QStringLiteral("notes.md"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("notes.md"))),
                 MarkdownDocument::welcomeSample().toUtf8());

        // Save As keeps a typed extension and the window now stands for that file.
        dialogs->savePaths = {dir.filePath(QStringLiteral("plain.txt"))};
        QVERIFY(controller.saveAs(document));
        QCOMPARE(title(document), QStringLiteral("plain.txt"));
        QCOMPARE(controller.open(dir.filePath(QStringLiteral("plain.txt"))), Result::Raised);

        // The file of another window is never taken over.
        const QString other = writeFile(dir, QStringLiteral("other.md"), "other\n");
        controller.open(other);
        dialogs->savePaths = {other};
        QVERIFY(!controller.saveAs(document));
        QCOMPARE(dialogs->alerts.size(), 1);
        QCOMPARE(readFile(other), QByteArray("other\n"));
        QVERIFY(!controller.saveAs(document)); // cancelled
    }

    void duplicateIsAnUnsavedCopy() {
        QTemporaryDir dir;
        controller.open(writeFile(dir, QStringLiteral("a.md"), "line\r\n"));
        MarkdownDocument* copy = controller.duplicate(controller.documents().first());
        QCOMPARE(controller.displayName(copy), QStringLiteral("a copy"));
        QVERIFY(!copy->fileUrl().isValid());
        QVERIFY(controller.windowFor(copy)->isWindowModified());

        dialogs->savePaths = {dir.filePath(QStringLiteral("b"))};
        QVERIFY(controller.save(copy));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("b.md"))), QByteArray("line\r\n"));
    }
};

QTEST_MAIN(TestDocumentController)
#include "tst_documentcontroller.moc"
