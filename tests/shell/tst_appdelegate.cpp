#include "core/FeatureTourController.h"
#include "core/MarkdownDocument.h"
#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "shell/AppDelegate.h"
#include "shell/AppNotifications.h"
#include "shell/DocumentController.h"
#include "shell/LaunchArguments.h"
#include "shell/SceneManager.h"
#include "support/ModalAnswerer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"
#include "windows/FeatureTourOverlay.h"
#include "windows/FeatureTourOverlayContainer.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using TestSupport::writeFile;

class TestAppDelegate : public QObject {
    Q_OBJECT

    DocumentController& controller = DocumentController::shared();
    std::unique_ptr<SceneManager> scenes;
    std::unique_ptr<AppDelegate> delegate;
    ScriptedDialogs* dialogs = nullptr;
    int quits = 0;
    int tours = 0;
    QStringList newFileRequests;
    QPointer<QWidget> welcome; // the welcome window, once made

    void launch(const QStringList& arguments) {
        delegate->applicationDidFinishLaunching(arguments);
    }

    static void settle() {
        // Two turns: the last-window check, then the idle check it schedules.
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }

private Q_SLOTS:
    void init() {
        TestSupport::resetPreferences();
        dialogs = &ScriptedDialogs::install();
        AppDelegate::setSuppressWelcomeOnce(false);
        scenes = std::make_unique<SceneManager>(controller);
        scenes->setWelcomeWindowFactory([this] { return welcome = new QWidget; });
        scenes->setDocumentOverlays(&FeatureTourOverlayContainer::install);
        delegate = std::make_unique<AppDelegate>(controller, *scenes);
        quits = tours = 0;
        newFileRequests.clear();
        delegate->hooks().quitApplication = [this] { ++quits; };
        delegate->hooks().presentTour = [this] { ++tours; };
        delegate->hooks().handleNewFileUrl = [this](const QString& url,
                                                    const std::function<void()>&) {
            newFileRequests.append(url);
        };
    }

    void cleanup() {
        dialogs->discardAll(controller);
        delegate.reset();
        scenes.reset();
        delete welcome;
        settle();
    }

    // Beyond what the two-process test hands over: an absolute path, a URL
    // quon does not serve, an empty argument.
    void argumentsAreMadeAbsolute() {
        QCOMPARE(LaunchArguments::normalise({"/abs/./x.md", "QUON://New-File", ""}, "/w"),
                 (QStringList{"/abs/x.md", "QUON://New-File"}));
    }

    // What `quon ARGS` takes, normalised, and why it refuses what it does not.
    void takenAndRefusedArguments_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("taken");   // from /w
        QTest::addColumn<QString>("refusal"); // why it is not taken
        const auto row = [](const char* argument, const char* taken, const char* refusal) {
            QTest::newRow(argument) << argument << taken << refusal;
        };
        row("https://example.com/a.md", "", "quon opens files on this computer, not https URLs");
        row("quon:new-file?dir=%2Ftmp", "", "a new-file request begins with \"quon://new-file\"");
        row("quon://open?dir=%2Ftmp", "", "quon takes only \"quon://new-file\" requests");
        row("file://server/a.md", "", "the file is on another computer (server)");
        row("quon://new-file?dir=%2Ftmp", "quon://new-file?dir=%2Ftmp", "");
        row("file://localhost/tmp/a.md", "/tmp/a.md", "");
        row("lnk/./a.md", "/w/lnk/a.md", ""); // a link stays where no ".." follows
        // The system cannot walk it either: opening it fails as in the shell.
        row("notes/../a.md", "/w/notes/../a.md", "");
    }
    void takenAndRefusedArguments() {
        QFETCH(QString, argument);
        QFETCH(QString, taken);
        QFETCH(QString, refusal);
        const LaunchArguments::Reading reading = LaunchArguments::read({argument}, "/w");
        QCOMPARE(reading.taken, taken.isEmpty() ? QStringList() : QStringList{taken});
        QCOMPARE(reading.refused.size(), refusal.isEmpty() ? 0 : 1);
        if (!refusal.isEmpty())
            QCOMPARE(reading.refused[0].reason, refusal);
    }

    // "lnk/../y.md" with lnk a link to a folder is the y.md beside the link's
    // target, as the shell reads it, however the path arrives.
    void pathsThroughLinksResolvedAsTheSystemDoes_data() {
        QTest::addColumn<QString>("route");
        for (const char* route : {"command line", "file URL", "forwarded", "open recent"})
            QTest::newRow(route) << QString::fromLatin1(route);
    }
    void pathsThroughLinksResolvedAsTheSystemDoes() {
        QFETCH(QString, route);
        QTemporaryDir dir;
        const QString target = TestSupport::writeFilesAroundALink(dir);
        QVERIFY(!target.isEmpty());
        const QString typed = dir.filePath(QStringLiteral("lnk/../y.md"));

        if (route == QLatin1String("command line"))
            launch(LaunchArguments::normalise({QStringLiteral("lnk/../y.md")}, dir.path()));
        else if (route == QLatin1String("file URL"))
            launch(LaunchArguments::normalise({QStringLiteral("file://") + typed}, "/"));
        else if (route == QLatin1String("forwarded"))
            delegate->handleForwardedArguments({typed});
        else {
            RecentFilesStore::shared().record(QUrl::fromLocalFile(typed));
            QCOMPARE(RecentFilesStore::shared().files().first().url, QUrl::fromLocalFile(target));
            scenes->applicationCommands().openRecentFile(QUrl::fromLocalFile(typed));
        }
        QCOMPARE(controller.documentCount(), 1);
        const MarkdownDocument* document = controller.documents().first();
        QCOMPARE(document->fileUrl(), QUrl::fromLocalFile(target));
        QCOMPARE(document->text(), QStringLiteral("beside the target"));
        QCOMPARE(RecentFilesStore::shared().files().first().url, QUrl::fromLocalFile(target));
    }

    // Only a request at launch keeps the welcome window and the tour away,
    // and only until launch handling is over.
    void suppressWelcomeOnlyForLaunchRequests() {
        Preferences::shared().setBoolean(PreferenceKeys::onboardingCompleted, false);
        // Scheme and host exactly; a path after the host is fine.
        launch({"quon://new-file?dir=%2Ftmp", "quon://other", "QUON://new-file?dir=%2Fx",
                "quon://New-File?dir=/x", "quon://new-files?dir=/x", "quon://new-file/?dir=/tmp"});
        QCOMPARE(newFileRequests,
                 (QStringList{"quon://new-file?dir=%2Ftmp", "quon://new-file/?dir=/tmp"}));
        QVERIFY(AppDelegate::suppressWelcomeOnce());
        QCOMPARE(controller.documentCount(), 0);
        QTRY_VERIFY(!AppDelegate::suppressWelcomeOnce());
        QCOMPARE(tours, 0);

        delegate->handleForwardedArguments({QStringLiteral("quon://new-file?dir=%2Fvar")});
        QCOMPARE(newFileRequests.size(), 3);
        QVERIFY(!AppDelegate::suppressWelcomeOnce());
    }

    // Any "quon:" argument is a request or refused as one, never a file to
    // open or to offer a conversion for.
    void quonArgumentsAreNeverFiles() {
        QTemporaryDir dir;
        const QStringList raw{"quon:new-file?dir=%2Ftmp&md=1", "Quon:x", "quon:"};
        QCOMPARE(LaunchArguments::normalise(raw, dir.path()), raw);
        launch(LaunchArguments::normalise(raw, dir.path()));
        settle();
        QVERIFY(newFileRequests.isEmpty());
        QCOMPARE(dialogs->alerts.size() + dialogs->confirmTexts.size(), 0);
        QCOMPARE(controller.documentCount(), 0);
        QVERIFY(welcome && welcome->isVisible());
        QCOMPARE(quits, 0);
    }

    // A launch whose only file does not open: its alert or question, then
    // the home window, never the end; the tour still comes after launch.
    void launchFileThatDoesNotOpen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing") << "missing.md" << QByteArray();
        QTest::newRow("conversion declined") << "page.html" << QByteArray("<p>x</p>");
        QTest::newRow("not utf-8, declined") << "old.md" << QByteArray("caf\xE9");
    }
    void launchFileThatDoesNotOpen() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = bytes.isEmpty() ? dir.filePath(name) : writeFile(dir, name, bytes);
        launch({path});
        QCOMPARE(dialogs->alerts.size() + dialogs->confirmTexts.size(), 1);
        settle();
        QVERIFY(welcome && welcome->isVisible());
        QCOMPARE(controller.documentCount(), 0);
        QCOMPARE(quits, 0);
        QTRY_COMPARE(tours, 1);
    }

    // Save or Don't Save in the real prompt on the last window ends like an
    // unmodified last window: home comes back, quon stays.
    void lastWindowClosedThroughThePrompt_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::newRow("save") << QStringLiteral("Save") << QByteArray("changed");
        QTest::newRow("don't save") << QStringLiteral("Don’t Save") << QByteArray("a");
    }
    void lastWindowClosedThroughThePrompt() {
        QFETCH(QString, button);
        QFETCH(QByteArray, onDisk);
        DocumentDialogs::setShared(nullptr);
        QTemporaryDir dir;
        const QString a = writeFile(dir, QStringLiteral("a.md"), "a");
        launch({a});
        settle();
        controller.documents().first()->setText(QStringLiteral("changed"));
        ModalAnswerer answerer;
        answerer.answer(button);
        controller.close(controller.documents().first());
        settle();
        dialogs = &ScriptedDialogs::install();
        QCOMPARE(answerer.questions.size(), 1);
        QCOMPARE(controller.documentCount(), 0);
        QCOMPARE(TestSupport::readFile(a), onDisk);
        QVERIFY(welcome && welcome->isVisible());
        QCOMPARE(quits, 0);
    }

    // The real tour over the real window, 0.4 s after launch, unless the
    // launch came to serve a new-file request or the tour was seen.
    void tourAfterLaunch_data() {
        QTest::addColumn<QVariant>("completed");
        QTest::addColumn<QVariant>("onLaunch");
        QTest::addColumn<bool>("newFile");
        QTest::addColumn<bool>("shown");
        QTest::newRow("first launch") << QVariant() << QVariant() << false << true;
        QTest::newRow("new-file request") << QVariant() << QVariant() << true << false;
        QTest::newRow("new-file request, home asked for")
            << QVariant() << QVariant() << true << false;
        QTest::newRow("seen") << QVariant(true) << QVariant(false) << false << false;
        QTest::newRow("seen, on every launch") << QVariant(true) << QVariant(true) << false << true;
    }
    void tourAfterLaunch() {
        QFETCH(QVariant, completed);
        QFETCH(QVariant, onLaunch);
        QFETCH(bool, newFile);
        QFETCH(bool, shown);
        FeatureTourController& tour = FeatureTourController::shared();
        tour.skip();
        TestSupport::resetPreferences();
        if (completed.isValid())
            Preferences::shared().setBoolean(PreferenceKeys::onboardingCompleted,
                                             completed.toBool());
        if (onLaunch.isValid())
            Preferences::shared().setBoolean(PreferenceKeys::showFeatureTourOnLaunch,
                                             onLaunch.toBool());
        // The delegate as the application makes it: its own way to the tour.
        delegate = std::make_unique<AppDelegate>(controller, *scenes);
        delegate->hooks().quitApplication = [this] { ++quits; };
        QTemporaryDir dir;
        QElapsedTimer clock;
        clock.start();
        launch({newFile ? QStringLiteral("quon://new-file?dir=%2Ftmp")
                        : writeFile(dir, QStringLiteral("a.md"), "a")});
        // Whatever uses up the home window's one-time flag meanwhile.
        if (QByteArray(QTest::currentDataTag()).endsWith("home asked for"))
            AppNotifications::postShowWelcomeWindow();
        QVERIFY(!tour.isPresented());
        if (shown) {
            QTRY_VERIFY_WITH_TIMEOUT(tour.isPresented(), 10'000);
            // A timer never fires early, however busy the machine.
            QVERIFY(clock.elapsed() >= AppDelegate::tourDelayMs);
            QWidget* window = controller.windowFor(controller.documents().first());
            QVERIFY(window->findChild<FeatureTourOverlay*>());
        } else {
            QVERIFY(TestSupport::runPastTimers(AppDelegate::tourDelayMs));
            QVERIFY(!tour.isPresented());
        }
        tour.skip();
    }

    void lastWindowRule_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("showsWelcome");
        QTest::newRow("absent") << QVariant() << true;
        QTest::newRow("true") << QVariant(true) << true;
        QTest::newRow("false") << QVariant(false) << false;
        QTest::newRow("string false") << QVariant(QStringLiteral("false")) << false;
        QTest::newRow("not a boolean") << QVariant(QStringLiteral("no")) << true;
    }
    void lastWindowRule() {
        QFETCH(QVariant, stored);
        QFETCH(bool, showsWelcome);
        const QString key = QLatin1String(PreferenceKeys::showHomeAfterClosingLastWindow);
        if (stored.typeId() == QMetaType::Bool)
            Preferences::shared().setBoolean(key, stored.toBool());
        else if (stored.isValid())
            Preferences::shared().setString(key, stored.toString());
        QTemporaryDir dir;
        launch({writeFile(dir, QStringLiteral("a.md"), "a"),
                writeFile(dir, QStringLiteral("b.md"), "b")});
        settle();
        QCOMPARE(controller.documentCount(), 2);

        QSignalSpy shown(&AppNotifications::shared(), &AppNotifications::showWelcomeWindow);
        controller.close(controller.documents().first());
        settle();
        QCOMPARE(shown.size(), 0); // one document still open
        controller.close(controller.documents().first());
        settle();
        QCOMPARE(shown.size(), showsWelcome ? 1 : 0);
        QCOMPARE(welcome && welcome->isVisible(), showsWelcome);
        // Nothing on screen and nothing open: quon ends instead of idling unseen.
        QCOMPARE(quits, showsWelcome ? 0 : 1);
    }

    void settingsAndAboutNeverBringWelcomeBack() {
        scenes->setAboutWindowFactory([] { return new QWidget; });
        launch({});
        settle();
        scenes->showAboutWindow();
        // Home hidden on the way to something else is no reason to quit;
        // the user closing the last window is.
        AppNotifications::postDismissWelcomeWindow();
        settle();
        QCOMPARE(quits, 0);
        QSignalSpy shown(&AppNotifications::shared(), &AppNotifications::showWelcomeWindow);
        scenes->aboutWindow()->close();
        settle();
        QCOMPARE(shown.size(), 0);
        QCOMPARE(quits, 1);
        AppNotifications::postShowWelcomeWindow();
        welcome->close();
        settle();
        QCOMPARE(quits, 2);
    }

    void forwardedArguments() {
        QTemporaryDir dir;
        const QString a = writeFile(dir, QStringLiteral("a.md"), "a");
        launch({a});
        QCOMPARE(controller.documentCount(), 1);
        // The same file again, or `quon` alone while a window is up, brings nothing new.
        delegate->handleForwardedArguments({a});
        delegate->handleForwardedArguments({});
        QCOMPARE(controller.documentCount(), 1);
        QCOMPARE(dialogs->alerts.size(), 0);
    }

    // `quon` again while a question is up brings the windows forward with
    // the question on top: under a window it blocks, quon looks frozen.
    void reopenKeepsTheQuestionOnTop() {
        QTemporaryDir dir;
        launch({writeFile(dir, QStringLiteral("a.md"), "a")});
        QWidget* window = controller.windowFor(controller.documents().first());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QMessageBox box(QMessageBox::Question, QString(), QStringLiteral("Convert?"),
                        QMessageBox::Cancel);
        QWidget* active = nullptr;
        QTimer::singleShot(0, this, [&] {
            delegate->handleForwardedArguments({});
            QCoreApplication::processEvents();
            active = QApplication::activeWindow();
            box.reject();
        });
        box.exec();
        QCOMPARE(active, &box);
    }
};

QTEST_MAIN(TestAppDelegate)
#include "tst_appdelegate.moc"
