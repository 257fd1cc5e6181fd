#include "core/MarkdownDocument.h"
#include "shell/DocumentController.h"
#include "shell/SceneManager.h"
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

using TestSupport::readFile;
using TestSupport::writeFile;

class TestDocumentController : public QObject {
    Q_OBJECT

    DocumentController& controller = DocumentController::shared();
    SceneManager* scenes = nullptr;
    ScriptedDialogs* dialogs = nullptr;

    static void processDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // What typing at the start of the text does to the document.
    static void type(MarkdownDocument* document, const QString& text) {
        document->setText(text + document->text());
    }

    static QString title(QWidget* window) {
        return window->windowTitle().remove(QStringLiteral("[*]"));
    }

private Q_SLOTS:
    void initTestCase() {
        scenes = new SceneManager(controller, this);
        // The controller's own behaviour, over the plainest window.
        controller.setWindowFactory(
            [](MarkdownDocument&, DocumentController&) { return new QMainWindow; });
    }

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
        QCOMPARE(controller.open(path), DocumentController::OpenResult::Opened);
        QCOMPARE(controller.open(dir.path() + QStringLiteral("/./a.md")),
                 DocumentController::OpenResult::Raised);
        QCOMPARE(controller.open(dir.filePath(QStringLiteral("link.md"))),
                 DocumentController::OpenResult::Raised);
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        QCOMPARE(controller.open(QStringLiteral("./a.md")), DocumentController::OpenResult::Raised);
        QDir::setCurrent(previous);
        QCOMPARE(controller.documentCount(), 1);
        QCOMPARE(title(controller.windowFor(controller.documents().first())),
                 QStringLiteral("a.md"));
        QVERIFY(dialogs->alerts.isEmpty());
    }

    void failedOpenAlertsWithNameAndReason() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.md")));
        QCOMPARE(controller.open(dir.filePath(QStringLiteral("missing.md"))),
                 DocumentController::OpenResult::NotOpened);
        QCOMPARE(controller.open(dir.filePath(QStringLiteral("folder.md"))),
                 DocumentController::OpenResult::NotOpened);
        QCOMPARE(dialogs->alerts.size(), 2);
        QCOMPARE(dialogs->alerts[0].first, QStringLiteral("Could Not Open File"));
        QVERIFY(dialogs->alerts[0].second.contains(QStringLiteral("missing.md")));
        QVERIFY(dialogs->alerts[0].second.contains(QStringLiteral("No such file")));
        QVERIFY(dialogs->alerts[1].second.contains(QStringLiteral("folder.md")));
        QCOMPARE(controller.documentCount(), 0);
    }

    void untitledNumbering() {
        MarkdownDocument* first = controller.newDocument();
        MarkdownDocument* second = controller.newDocument();
        MarkdownDocument* third = controller.newDocument();
        QCOMPARE(controller.displayName(first), QStringLiteral("Untitled"));
        QCOMPARE(controller.displayName(second), QStringLiteral("Untitled 2"));
        QCOMPARE(controller.displayName(third), QStringLiteral("Untitled 3"));
        QVERIFY(!first->fileUrl().isValid());
        controller.close(second);
        QCOMPARE(controller.displayName(controller.newDocument()), QStringLiteral("Untitled 2"));
        QVERIFY(dialogs->saveQuestions.isEmpty()); // the unedited sample goes silently
    }

    void modifiedFlagFollowsUndo() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"), "text\n");
        controller.open(path);
        MarkdownDocument* document = controller.documents().first();
        QMainWindow* window = controller.windowFor(document);
        QVERIFY(window->windowTitle().endsWith(QStringLiteral("[*]")));
        QVERIFY(!window->isWindowModified());
        type(document, QStringLiteral("xy"));
        QVERIFY(window->isWindowModified());
        document->setText(QStringLiteral("text\n"));
        QCOMPARE(document->text(), QStringLiteral("text\n"));
        QVERIFY(!window->isWindowModified());
    }

    void closeWithChanges() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"), "old\n");
        controller.open(path);
        MarkdownDocument* document = controller.documents().first();
        QPointer<QMainWindow> window = controller.windowFor(document);
        type(document, QStringLiteral("new "));

        dialogs->saveChoices = {SaveChangesChoice::Cancel};
        QVERIFY(!window->close());
        processDeletes();
        QVERIFY(window && window->isVisible());
        QCOMPARE(dialogs->saveQuestions, QStringList{QStringLiteral("a.md")});

        dialogs->saveChoices = {SaveChangesChoice::DontSave};
        QSignalSpy closed(&controller, &DocumentController::documentWindowClosed);
        QVERIFY(window->close());
        processDeletes();
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
        local.setWindowFactory(
            [](MarkdownDocument&, DocumentController&) { return new QMainWindow; });
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
        QVERIFY(!local.isQuitting());

        dialogs->saveChoices = {SaveChangesChoice::DontSave, SaveChangesChoice::DontSave};
        QVERIFY(local.quit());
        processDeletes();
        QCOMPARE(dialogs->saveQuestions.size(), 4);
        QCOMPARE(local.documentCount(), 0);
        QCOMPARE(confirmed.size(), 1);
        QCOMPARE(readFile(a), QByteArray("a\n"));
        QCOMPARE(readFile(b), QByteArray("b\n"));
    }

    void saveIntoReadOnlyFolderAlerts() {
        QTemporaryDir dir;
        const QString locked = TestSupport::readOnlyFolder(dir);
        MarkdownDocument* document = controller.newDocument();
        type(document, QStringLiteral("keep me"));
        dialogs->savePaths = {locked + QStringLiteral("/notes")};
        QVERIFY(!controller.save(document));
        QCOMPARE(dialogs->alerts.size(), 1);
        QCOMPARE(dialogs->alerts[0].first, QStringLiteral("Could Not Save File"));
        QVERIFY(dialogs->alerts[0].second.contains(QStringLiteral("notes.md")));
        QVERIFY(document->isModified());
        QVERIFY(controller.windowFor(document)->isWindowModified());
        QVERIFY(!document->fileUrl().isValid());
        QCOMPARE(controller.displayName(document), QStringLiteral("Untitled"));
        QVERIFY(!QFileInfo::exists(locked + QStringLiteral("/notes.md")));
    }

    void savesKeepBytesModeAndLinks() {
        QTemporaryDir dir;
        const QByteArray crlf("# Title\r\n\r\nbody\r\n");
        const QString path = writeFile(dir, QStringLiteral("a.md"), crlf);
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        controller.open(path);
        MarkdownDocument* document = controller.documents().first();
        QVERIFY(controller.save(document));
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

    void saveAsAddsMarkdownExtension() {
        QTemporaryDir dir;
        MarkdownDocument* document = controller.newDocument();
        dialogs->savePaths = {dir.filePath(QStringLiteral("notes"))};
        QVERIFY(controller.save(document));
        QVERIFY(dialogs->lastProposedPath.endsWith(QStringLiteral("/Untitled.md")));
        QCOMPARE(document->fileUrl().toLocalFile(), dir.filePath(QStringLiteral("notes.md")));
        QCOMPARE(title(controller.windowFor(document)), QStringLiteral("notes.md"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("notes.md"))),
                 MarkdownDocument::welcomeSample().toUtf8());

        // Ctrl+S now saves in place; Save As keeps a typed extension.
        QVERIFY(controller.save(document));
        dialogs->savePaths = {dir.filePath(QStringLiteral("plain.txt"))};
        QVERIFY(controller.saveAs(document));
        QCOMPARE(title(controller.windowFor(document)), QStringLiteral("plain.txt"));
        QCOMPARE(controller.open(dir.filePath(QStringLiteral("plain.txt"))),
                 DocumentController::OpenResult::Raised);

        // The file of another window is never taken over.
        const QString other = writeFile(dir, QStringLiteral("other.md"), "other\n");
        controller.open(other);
        dialogs->savePaths = {other};
        QVERIFY(!controller.saveAs(document));
        QCOMPARE(dialogs->alerts.size(), 1);
        QCOMPARE(readFile(other), QByteArray("other\n"));

        dialogs->savePaths = {};
        QVERIFY(!controller.saveAs(document)); // cancelled
    }

    void duplicateIsAnUnsavedCopy() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"), "line\r\n");
        controller.open(path);
        MarkdownDocument* original = controller.documents().first();
        MarkdownDocument* copy = controller.duplicate(original);
        QCOMPARE(controller.documentCount(), 2);
        QCOMPARE(copy->text(), original->text());
        QCOMPARE(controller.displayName(copy), QStringLiteral("a copy"));
        QVERIFY(!copy->fileUrl().isValid());
        QVERIFY(copy->isModified());
        QVERIFY(controller.windowFor(copy)->isWindowModified());

        dialogs->savePaths = {dir.filePath(QStringLiteral("b"))};
        QVERIFY(controller.save(copy));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("b.md"))), QByteArray("line\r\n"));
    }
};

QTEST_MAIN(TestDocumentController)
#include "tst_documentcontroller.moc"
