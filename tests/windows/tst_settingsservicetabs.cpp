#include "common/AppIdentity.h"
#include "core/Preferences.h"
#include "platform/FinderExtensionManager.h"
#include "support/FakeSettingsDialogs.h"
#include "support/TestSupport.h"
#include "widgets/FormButton.h"
#include "widgets/PlainButton.h"
#include "widgets/ProgressButton.h"
#include "widgets/SymbolLabel.h"
#include "widgets/ThemedLabel.h"
#include "widgets/ToggleSwitch.h"
#include "windows/ExtensionsSettingsTab.h"
#include "windows/FilesSettingsTab.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

// The default-handler service as the test scripts it: queued answers to
// the status question, and the pending change's completion.
struct FakeHandlerService {
    QList<bool> answers;
    int questions = 0;
    std::function<void(const QString&)> pending;

    FilesSettingsTab::Services services(FakeSettingsDialogs& dialogs) {
        FilesSettingsTab::Services s;
        s.dialogs = &dialogs;
        s.isDefaultHandler = [this](std::function<void(bool)> answer) {
            ++questions;
            answer(answers.isEmpty() ? false : answers.takeFirst());
        };
        s.setAsDefault = [this](std::function<void(const QString&)> completion) {
            pending = std::move(completion);
        };
        return s;
    }
};

// The plug-in's side of the system as the test scripts it.
struct FakeExtensionSystem {
    bool installed = true;
    int restarts = 0;
    int commandsShown = 0;
    int broadcasts = 0;
    std::function<void(bool)> pendingEnable;

    ExtensionsSettingsTab::Services services() {
        ExtensionsSettingsTab::Services s = ExtensionsSettingsTab::Services::standard();
        s.isFileManagerInstalled = [this] { return installed; };
        s.enable = [this](std::function<void(bool)> done) { pendingEnable = std::move(done); };
        s.restartFileManager = [this] { ++restarts; };
        s.showInstallCommand = [this](QWidget*) { ++commandsShown; };
        s.broadcastMenuSettings = [this] { ++broadcasts; };
        return s;
    }
};

} // namespace

class TestSettingsServiceTabs : public QObject {
    Q_OBJECT

    QTemporaryDir folders;

    QString extensionFolder() const { return folders.filePath(QStringLiteral("extensions")); }
    QString installedModule() const {
        return QDir(extensionFolder()).filePath(QStringLiteral(QUON_NAUTILUS_MODULE_FILE));
    }
    void installModule() {
        TestSupport::writeFile(folders, QStringLiteral("extensions/" QUON_NAUTILUS_MODULE_FILE),
                               "module");
    }

private Q_SLOTS:
    void initTestCase() {
        QDir().mkpath(extensionFolder());
        const QString source = folders.filePath(QStringLiteral("module.so"));
        TestSupport::writeFile(folders, QStringLiteral("module.so"), "module");
        FinderExtensionManager::setLocations({extensionFolder(), source});
    }
    void init() {
        TestSupport::resetPreferences();
        QFile::remove(installedModule());
    }
    void cleanupTestCase() { FinderExtensionManager::setLocations({}); }

    // Busy while the change runs; the status is asked at once after a
    // success and again 0.7 s later, and the button follows it.
    void defaultHandlerChange() {
        FakeSettingsDialogs dialogs;
        FakeHandlerService service;
        FilesSettingsTab tab(service.services(dialogs));
        tab.show();
        tab.setDefaultButton()->click();
        QVERIFY(tab.setDefaultButton()->isBusy());
        QVERIFY(!tab.setDefaultButton()->isEnabled());
        const int asked = service.questions;
        service.answers = {false, true};
        QElapsedTimer sinceSuccess;
        sinceSuccess.start();
        service.pending(QString());
        // The system has not caught up yet: not default, button back.
        QCOMPARE(service.questions, asked + 1);
        QVERIFY(!tab.setDefaultButton()->isBusy());
        QVERIFY(tab.setDefaultButton()->isEnabled());
        QVERIFY(!tab.statusSymbol()->isVisibleTo(&tab));
        TestSupport::processPendingEvents(QEventLoop::X11ExcludeTimers);
        QCOMPARE(service.questions, asked + 1);
        QTRY_VERIFY_WITH_TIMEOUT(tab.isDefaultHandler(), 10'000);
        QCOMPARE(service.questions, asked + 2);
        // A timer never fires early, however busy the machine.
        QVERIFY(sinceSuccess.elapsed() >= FilesSettingsTab::recheckDelayMs);
        QCOMPARE(tab.statusLabel()->text(),
                 QStringLiteral("quon is the default app for Markdown files"));
        QVERIFY(tab.statusSymbol()->isVisibleTo(&tab));
        QVERIFY(!tab.setDefaultButton()->isEnabled());
        QVERIFY(dialogs.errors.isEmpty());
    }

    // A failure keeps the status, alerts with the error, a blank line and
    // the tip, and leaves the button ready for another try, which alerts again.
    void defaultHandlerFailure() {
        FakeSettingsDialogs dialogs;
        FakeHandlerService service;
        FilesSettingsTab tab(service.services(dialogs));
        tab.show();
        const QString error =
            QStringLiteral("No Markdown content types are available on this system.");
        for (int attempt = 1; attempt <= 2; ++attempt) {
            tab.setDefaultButton()->click();
            const int asked = service.questions;
            service.pending(error);
            QCOMPARE(dialogs.errors.size(), attempt);
            QCOMPARE(dialogs.errors.last(),
                     error + QStringLiteral(
                                 "\n\nTip: quon must be installed for this to work reliably."));
            QCOMPARE(service.questions, asked);
            QVERIFY(!tab.isDefaultHandler());
            QVERIFY(tab.setDefaultButton()->isEnabled());
        }
    }

    // The status comes from the module in Files' extension folder; without
    // Files itself the tab says so and offers no enabling.
    void extensionStatus_data() {
        QTest::addColumn<bool>("modulePresent");
        QTest::addColumn<bool>("filesInstalled");
        QTest::newRow("module present") << true << true;
        QTest::newRow("module missing") << false << true;
        QTest::newRow("no Files") << false << false;
    }
    void extensionStatus() {
        QFETCH(bool, modulePresent);
        QFETCH(bool, filesInstalled);
        if (modulePresent)
            installModule();
        FakeExtensionSystem system;
        system.installed = filesInstalled;
        ExtensionsSettingsTab tab(system.services());
        tab.show();
        QCOMPARE(tab.isExtensionEnabled(), modulePresent);
        QCOMPARE(tab.statusLabel()->text(), modulePresent
                                                ? QStringLiteral("Files extension is enabled")
                                                : QStringLiteral("Files extension is disabled"));
        QCOMPARE(tab.enabledRow()->isVisibleTo(&tab), modulePresent);
        QCOMPARE(tab.disabledRow()->isVisibleTo(&tab), !modulePresent);
        QCOMPARE(tab.notInstalledNote()->isVisibleTo(&tab), !filesInstalled);
        QCOMPARE(tab.enableButton()->isEnabled(), filesInstalled);

        // The refresh button reads the folder again.
        if (modulePresent)
            QFile::remove(installedModule());
        else
            installModule();
        tab.refreshButton()->click();
        QCOMPARE(tab.isExtensionEnabled(), !modulePresent);
        QCOMPARE(system.broadcasts, 0);
    }

    // Enabling: the spinner until the second re-check; Files restarts only
    // when the module went in; still disabled, the install command shows.
    void enableFlow_data() {
        QTest::addColumn<bool>("installs");
        QTest::newRow("installed") << true;
        QTest::newRow("refused") << false;
    }
    void enableFlow() {
        QFETCH(bool, installs);
        FakeExtensionSystem system;
        ExtensionsSettingsTab tab(system.services());
        tab.show();
        tab.enableButton()->click();
        QVERIFY(tab.isEnabling());
        QVERIFY(tab.enableButton()->isBusy());
        QVERIFY(!tab.enableButton()->isEnabled());
        tab.enableButton()->click();
        if (installs)
            installModule();
        system.pendingEnable(installs);
        QCOMPARE(system.restarts, installs ? 1 : 0);
        QTRY_COMPARE(tab.isExtensionEnabled(), installs);
        QVERIFY(tab.isEnabling());
        QTRY_VERIFY(!tab.isEnabling());
        QVERIFY(!tab.enableButton()->isBusy());
        QCOMPARE(system.commandsShown, installs ? 0 : 1);
        QCOMPARE(tab.enabledRow()->isVisibleTo(&tab), installs);
    }

    // Each change of a menu switch writes its key and sends both values
    // once; the open-after-creating switch and outside changes send nothing.
    void menuSwitchesBroadcastOncePerChange() {
        FakeExtensionSystem system;
        ExtensionsSettingsTab tab(system.services());
        tab.show();
        QCOMPARE(system.broadcasts, 0);
        const Preferences& prefs = Preferences::shared();
        tab.newFileSwitch()->click();
        QCOMPARE(prefs.storedBoolean(PreferenceKeys::finderMenuShowNewFile), false);
        QCOMPARE(system.broadcasts, 1);
        tab.newMarkdownFileSwitch()->click();
        QCOMPARE(prefs.storedBoolean(PreferenceKeys::finderMenuShowNewMarkdownFile), false);
        QCOMPARE(system.broadcasts, 2);
        tab.openCreatedSwitch()->click();
        QCOMPARE(prefs.storedBoolean(PreferenceKeys::openCreatedMarkdownFiles), false);
        Preferences::shared().setBoolean(PreferenceKeys::finderMenuShowNewMarkdownFile, true);
        QVERIFY(tab.newMarkdownFileSwitch()->isChecked());
        QCOMPARE(system.broadcasts, 2);
    }
};

QTEST_MAIN(TestSettingsServiceTabs)
#include "tst_settingsservicetabs.moc"
