#include "core/AppLanguageManager.h"
#include "core/MarkdownDocument.h"
#include "core/RecentFilesStore.h"
#include "shell/AppDelegate.h"
#include "shell/AppNotifications.h"
#include "shell/DocumentController.h"
#include "shell/SceneManager.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"
#include "widgets/PlainButton.h"
#include "windows/AboutView.h"
#include "windows/AboutWindow.h"
#include "windows/RecentFileItem.h"
#include "windows/RecentFilesSection.h"
#include "windows/WelcomeButtonStyles.h"
#include "windows/WelcomeView.h"
#include "windows/WelcomeWindow.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTest>

namespace {

// Remembers whether the home window was on screen when the open dialog came.
class WatchingDialogs : public ScriptedDialogs {
public:
    std::function<bool()> welcomeVisible;
    QList<bool> welcomeVisibleAtOpen;

    QStringList askOpenPaths(QWidget* window, const QString& folder) override {
        welcomeVisibleAtOpen.append(welcomeVisible());
        return ScriptedDialogs::askOpenPaths(window, folder);
    }
};

} // namespace

class TestWelcomeWindow : public QObject {
    Q_OBJECT

    DocumentController& controller = DocumentController::shared();
    SceneManager* scenes = nullptr;
    WatchingDialogs* dialogs = nullptr;
    QList<bool> welcomeVisibleAtNewWindow;

    WelcomeWindow* welcome() const { return qobject_cast<WelcomeWindow*>(scenes->welcomeWindow()); }
    bool welcomeVisible() const { return welcome() && welcome()->isVisible(); }

    QStringList openFileNames() const { return ScriptedDialogs::openFileNames(controller); }

private Q_SLOTS:
    void initTestCase() {
        scenes = new SceneManager(controller, this);
        scenes->setWelcomeWindowFactory(
            [this] { return new WelcomeWindow(controller, *scenes, RecentFilesStore::shared()); });
        scenes->setAboutWindowFactory([] { return new AboutWindow; });
        controller.setWindowFactory([this](MarkdownDocument&, DocumentController&) {
            welcomeVisibleAtNewWindow.append(welcomeVisible());
            return new QMainWindow;
        });
    }

    void init() {
        TestSupport::resetPreferences();
        RecentFilesStore::shared().clear();
        auto owned = std::make_unique<WatchingDialogs>();
        dialogs = owned.get();
        dialogs->welcomeVisible = [this] { return welcomeVisible(); };
        DocumentDialogs::setShared(std::move(owned));
        welcomeVisibleAtNewWindow.clear();
    }

    void cleanup() {
        dialogs->discardAll(controller);
        scenes->dismissWelcomeWindow();
    }

    void notificationsShowAndDismiss() {
        AppNotifications::postShowWelcomeWindow();
        QVERIFY(welcomeVisible());
        QWidget* first = scenes->welcomeWindow();
        AppNotifications::postDismissWelcomeWindow();
        QVERIFY(!welcomeVisible());
        WelcomeWindow::openWelcomeWindow();
        QVERIFY(welcomeVisible());
        QCOMPARE(scenes->welcomeWindow(), first);

        // A new-file request at launch keeps it away once.
        AppNotifications::postDismissWelcomeWindow();
        AppDelegate::setSuppressWelcomeOnce(true);
        AppNotifications::postShowWelcomeWindow();
        QVERIFY(!welcomeVisible());
        QVERIFY(!AppDelegate::suppressWelcomeOnce());
        AppNotifications::postShowWelcomeWindow();
        QVERIFY(welcomeVisible());
    }

    void newAndOpenDismissFirst() {
        AppNotifications::postShowWelcomeWindow();
        welcome()->view()->newButton()->click();
        QTRY_COMPARE(controller.documentCount(), 1);
        QCOMPARE(welcomeVisibleAtNewWindow, QList<bool>{false});

        // The New command does the same.
        AppNotifications::postShowWelcomeWindow();
        welcome()->newAction()->trigger();
        QTRY_COMPARE(controller.documentCount(), 2);
        QCOMPARE(welcomeVisibleAtNewWindow, (QList<bool>{false, false}));

        // Open: the dialog comes after the window went; cancelling leaves it gone.
        AppNotifications::postShowWelcomeWindow();
        welcome()->view()->openButton()->click();
        QTRY_COMPARE(dialogs->welcomeVisibleAtOpen.size(), 1);
        QCOMPARE(dialogs->welcomeVisibleAtOpen.first(), false);
        QVERIFY(!welcomeVisible());
    }

    // With nothing else open, a cancelled open dialog (or a file that did
    // not open) brings home back: quon is never left with no window.
    void openWithNothingOpenComesBackHome() {
        QTemporaryDir dir;
        AppNotifications::postShowWelcomeWindow();
        welcome()->openAction()->trigger();
        QTRY_COMPARE(dialogs->welcomeVisibleAtOpen.size(), 1);
        QCOMPARE(dialogs->welcomeVisibleAtOpen.first(), false);
        QTRY_VERIFY(welcomeVisible());

        dialogs->openPaths = {{dir.filePath(QStringLiteral("gone.md"))}};
        welcome()->openAction()->trigger();
        QTRY_COMPARE(dialogs->alerts.size(), 1);
        QTRY_VERIFY(welcomeVisible());
        QCOMPARE(controller.documentCount(), 0);
    }

    void droppedFilesOpenInOrder() {
        QTemporaryDir dir;
        const QString b = TestSupport::writeFile(dir, QStringLiteral("b.md"), "# b\n");
        const QString a = TestSupport::writeFile(dir, QStringLiteral("a.md"), "# a\n");
        AppNotifications::postShowWelcomeWindow();
        Q_EMIT welcome()->view()->filesDropped({QUrl::fromLocalFile(b), QUrl::fromLocalFile(a)});
        QTRY_COMPARE(openFileNames(),
                     (QStringList{QStringLiteral("b.md"), QStringLiteral("a.md")}));
        QVERIFY(!welcomeVisible());
    }

    void recentFileThatNoLongerOpens() {
        QTemporaryDir dir;
        const QString gone = TestSupport::writeFile(dir, QStringLiteral("gone.md"), "# g\n");
        const QString kept = TestSupport::writeFile(dir, QStringLiteral("kept.md"), "# k\n");
        RecentFilesStore::shared().record(QUrl::fromLocalFile(kept));
        RecentFilesStore::shared().record(QUrl::fromLocalFile(gone));
        QFile::remove(gone);
        AppNotifications::postShowWelcomeWindow();

        QList<RecentFileRow*> rows = welcome()->view()->recentSection()->rows();
        QCOMPARE(rows.size(), 2);
        QTest::mouseClick(rows[0], Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(dialogs->alerts.size(), 1);
        QCOMPARE(dialogs->alerts.first().first, QStringLiteral("Could Not Open File"));
        QVERIFY(welcomeVisible());
        QCOMPARE(controller.documentCount(), 0);
        QCOMPARE(RecentFilesStore::shared().files().size(), 2);

        // One that still exists opens and sends home away.
        rows = welcome()->view()->recentSection()->rows();
        QTest::mouseClick(rows[1], Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(openFileNames(), QStringList{QStringLiteral("kept.md")});
        QVERIFY(!welcomeVisible());
    }

    // Home comes back with the short list, and its texts, tooltips too,
    // follow the interface language while it is open.
    void homeReturnsCollapsedInTheCurrentLanguage() {
        QTemporaryDir dir;
        for (int i = 0; i < 6; ++i)
            RecentFilesStore::shared().record(QUrl::fromLocalFile(
                TestSupport::writeFile(dir, QStringLiteral("n%1.md").arg(i), "# n\n")));
        AppNotifications::postShowWelcomeWindow();
        RecentFilesSection* section = welcome()->view()->recentSection();
        QCOMPARE(section->rows().first()->removeButton()->toolTip(),
                 QStringLiteral("Remove from recents"));
        AppLanguageManager::apply(AppLanguage::Polish);
        QCoreApplication::processEvents();
        const QString polish = section->rows().first()->removeButton()->toolTip();
        AppLanguageManager::apply(AppLanguage::English);
        QCoreApplication::processEvents();
        QCOMPARE(polish, QStringLiteral("Usuń z ostatnich"));

        section->expandButton()->click();
        QVERIFY(section->showsAll());
        QCOMPARE(section->cells().size(), 6);
        scenes->dismissWelcomeWindow();
        AppNotifications::postShowWelcomeWindow();
        QVERIFY(welcomeVisible());
        QVERIFY(!section->showsAll());
        QCOMPARE(section->rows().size(), 5);
    }

    void aboutIsOneWindowRaisedAgain() {
        AppNotifications::postShowWelcomeWindow();
        QAction* about = welcome()->aboutAction();
        about->trigger();
        QWidget* window = scenes->aboutWindow();
        window->close();
        about->trigger();
        QCOMPARE(scenes->aboutWindow(), window);
        QVERIFY(window->isVisible());
    }
};

QTEST_MAIN(TestWelcomeWindow)
#include "tst_welcomewindow.moc"
