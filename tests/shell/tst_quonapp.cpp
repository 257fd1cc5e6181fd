#include "core/MarkdownDocument.h"
#include "platform/SingleInstance.h"
#include "shell/AppDelegate.h"
#include "shell/DocumentController.h"
#include "shell/OutsideChangeWatch.h"
#include "shell/SceneManager.h"
#include "shell/WindowCommands.h"
#include "shell/WorkspaceView.h"
#include "support/ModalAnswerer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <utility>

using TestSupport::readFile;
using TestSupport::writeFile;

// This test is the running quon, wired as the application wires itself, with
// the real message boxes; the quon executable is a later `quon ARGS`.
class TestQuonApp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The conversion question for a handed-over file is answered long after
    // the later process went away: the running quon and its unsaved edits
    // live on.
    void forwardedConversionKeepsTheRunningQuon() {
        TestSupport::resetPreferences();
        DocumentDialogs::setShared(nullptr);
        QTemporaryDir dir;
        const QString notes = writeFile(dir, QStringLiteral("notes.md"), "# Notes\n");
        writeFile(dir, QStringLiteral("page.html"), "<h1>Page</h1><p>Body &amp; soul</p>");

        DocumentController& controller = DocumentController::shared();
        SceneManager scenes(controller);
        AppDelegate delegate(controller, scenes);
        int quits = 0;
        delegate.hooks().quitApplication = [&quits] { ++quits; };
        SingleInstance instance(SingleInstance::defaultSocketPath());
        QVERIFY(!instance.forwardToRunningInstance({}));
        QVERIFY(instance.listen());
        connect(&instance, &SingleInstance::argumentsReceived, &delegate,
                &AppDelegate::handleForwardedArguments);
        delegate.applicationDidFinishLaunching({notes});
        QCOMPARE(controller.documentCount(), 1);
        MarkdownDocument* edited = controller.documents().first();
        const QString unsaved = QStringLiteral("# Notes\n\nWords nobody saved yet.\n");
        edited->setText(unsaved);

        QProcess later;
        later.setProgram(QStringLiteral(QUON_EXECUTABLE));
        later.setArguments({QStringLiteral("page.html")});
        later.setWorkingDirectory(dir.path());
        bool laterEnded = false;
        connect(&later, &QProcess::finished, this, [&laterEnded] { laterEnded = true; });
        // Answered once the later process has ended and the running quon has
        // let go of its connection.
        ModalAnswerer answerer;
        answerer.answer(QStringLiteral("Convert to Markdown"), [&] {
            return laterEnded && instance.findChildren<QLocalSocket*>().isEmpty();
        });
        later.start();
        QTRY_COMPARE_WITH_TIMEOUT(controller.documentCount(), 2, 20000);

        QCOMPARE(later.exitStatus(), QProcess::NormalExit);
        QCOMPARE(later.exitCode(), 0);
        QCOMPARE(answerer.questions,
                 QStringList{QStringLiteral("\"page.html\" is not a Markdown file.")});
        QCOMPARE(readFile(dir.filePath(QStringLiteral("page.md"))),
                 QByteArray("# Page\n\nBody & soul"));
        QCOMPARE(controller.documents().first(), edited);
        QCOMPARE(edited->text(), unsaved);
        QVERIFY(edited->isModified());
        QCOMPARE(readFile(notes), QByteArray("# Notes\n"));
        QCOMPARE(quits, 0);

        ScriptedDialogs::install().discardAll(controller);
    }

    // A later `quon URL...` names on standard error each argument it does not
    // take (before it decides to hand over) and hands over the rest: a path
    // through a link and "..", read as the shell reads it.
    void refusalsOnStandardError() {
        TestSupport::resetPreferences();
        ScriptedDialogs& dialogs = ScriptedDialogs::install();
        QTemporaryDir dir;
        const QString target = TestSupport::writeFilesAroundALink(dir);
        QVERIFY(!target.isEmpty());
        DocumentController& controller = DocumentController::shared();
        SceneManager scenes(controller);
        AppDelegate delegate(controller, scenes);
        SingleInstance instance(SingleInstance::defaultSocketPath());
        QVERIFY(!instance.forwardToRunningInstance({}) && instance.listen());
        connect(&instance, &SingleInstance::argumentsReceived, &delegate,
                &AppDelegate::handleForwardedArguments);
        QProcess later;
        later.setWorkingDirectory(dir.path());
        later.start(QStringLiteral(QUON_EXECUTABLE),
                    {"https://example.com/a.md", "quon:new-file?dir=%2Ftmp", "lnk/../y.md"});
        QTRY_COMPARE_WITH_TIMEOUT(later.state(), QProcess::NotRunning, 20000);
        QCOMPARE(later.exitCode(), 0);
        QVERIFY(later.readAllStandardError().startsWith(
            "quon: \"https://example.com/a.md\" not taken: quon opens files on this computer, "
            "not https URLs\n"
            "quon: \"quon:new-file?dir=%2Ftmp\" not taken: a new-file request begins with "
            "\"quon://new-file\"\n"));
        QTRY_COMPARE(controller.documentCount(), 1);
        QCOMPARE(controller.documents().first()->fileUrl(), QUrl::fromLocalFile(target));
        dialogs.discardAll(controller);
    }

    // Another program rewrote a.md under its typed text and quon asks about
    // it (window-modal: b stays usable). Quit from b is refused while the
    // question is open, so its box is never closed under it and read as
    // "Keep My Version"; the answer decides, and nothing is written over the
    // other program's text.
    void quitWhileAChangeOnDiskIsAskedAbout_data() {
        QTest::addColumn<QString>("asker");
        QTest::newRow("save") << "save";
        QTest::newRow("save as over itself") << "saveAs";
        QTest::newRow("change noticed") << "watch";
    }
    void quitWhileAChangeOnDiskIsAskedAbout() {
        QFETCH(QString, asker);
        TestSupport::resetPreferences();
        ScriptedDialogs& dialogs = ScriptedDialogs::install();
        QTemporaryDir dir;
        const QString a = writeFile(dir, QStringLiteral("a.md"), "mine\n");
        DocumentController controller;
        SceneManager scenes(controller);
        controller.open(a);
        controller.open(writeFile(dir, QStringLiteral("b.md"), "b\n"));
        MarkdownDocument* document = controller.documents().first();
        auto* window = static_cast<WorkspaceView*>(controller.windowFor(document));
        auto* other = static_cast<WorkspaceView*>(controller.windowFor(controller.documents()[1]));
        document->setText(QStringLiteral("typed\n"));
        writeFile(dir, QStringLiteral("a.md"), "theirs\n");
        dialogs.savePaths = {a};
        dialogs.saveChoices = {SaveChangesChoice::DontSave, SaveChangesChoice::DontSave};

        bool quitChosen = false;
        int openWhileAsked = 0;
        ModalAnswerer answerer;
        answerer.answer(QStringLiteral("Reload"), [&] {
            if (!std::exchange(quitChosen, true)) {
                other->commands().quit->trigger();
                return false;
            }
            openWhileAsked = controller.isQuitting() ? -1 : controller.documentCount();
            return true;
        });
        if (asker == QLatin1String("save"))
            window->commands().save->trigger();
        else if (asker == QLatin1String("saveAs"))
            window->commands().saveAs->trigger();
        else
            window->outsideChangeWatch().check();

        QCOMPARE(answerer.titles, QStringList{QStringLiteral("File Changed on Disk")});
        QCOMPARE(openWhileAsked, 2);
        QVERIFY(dialogs.saveQuestions.isEmpty());
        QVERIFY(dialogs.alerts.isEmpty());
        QCOMPARE(document->text(), QStringLiteral("theirs\n"));
        QCOMPARE(readFile(a), QByteArray("theirs\n"));

        // Answered, the quit goes through.
        QVERIFY(controller.quit());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(controller.documentCount(), 0);
        QCOMPARE(readFile(a), QByteArray("theirs\n"));
    }
};

QTEST_MAIN(TestQuonApp)
#include "tst_quonapp.moc"
