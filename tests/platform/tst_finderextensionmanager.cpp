#include "common/AppIdentity.h"
#include "platform/FinderExtensionManager.h"
#include "platform/SchemeHandlerState.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

class TestFinderExtensionManager : public QObject {
    Q_OBJECT

    QTemporaryDir scratch;
    std::unique_ptr<QTemporaryDir> folders;
    QByteArray originalPath;
    QString extensions;
    QString module;

    // A stand-in pkexec that logs and runs its command, or exits with the
    // code in QUON_PKEXEC_EXIT (126: the password prompt was dismissed).
    void standInPkexec() {
        const QString bin = scratch.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        TestSupport::writeFile(scratch, QStringLiteral("bin/pkexec"),
                               "#!/bin/sh\n"
                               "echo \"$@\" >> \"$QUON_TOOL_LOG\"\n"
                               "[ -n \"$QUON_PKEXEC_EXIT\" ] && exit \"$QUON_PKEXEC_EXIT\"\n"
                               "exec \"$@\"\n");
        QFile::setPermissions(bin + QStringLiteral("/pkexec"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", bin.toUtf8() + ':' + originalPath);
    }

    static QString xdgMimeDefault(const QString& type) {
        QProcess tool;
        tool.start(QStringLiteral("xdg-mime"),
                   {QStringLiteral("query"), QStringLiteral("default"), type});
        tool.waitForFinished();
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

    bool enable() {
        std::optional<bool> answer;
        FinderExtensionManager::enable([&](bool enabled) { answer = enabled; });
        if (answer)
            return false; // answered inside the call
        [&] { QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 30'000); }();
        return answer.value_or(false);
    }

private Q_SLOTS:
    void initTestCase() {
        originalPath = qgetenv("PATH");
        qunsetenv("XDG_CURRENT_DESKTOP");
        qputenv("QUON_TOOL_LOG", scratch.filePath(QStringLiteral("log")).toUtf8());
        standInPkexec();
    }

    void init() {
        folders = std::make_unique<QTemporaryDir>();
        extensions = folders->filePath(QStringLiteral("extensions 4"));
        module = folders->filePath(QStringLiteral("quon's lib/" QUON_NAUTILUS_MODULE_FILE));
        QDir().mkpath(extensions);
        QDir().mkpath(QFileInfo(module).path());
        FinderExtensionManager::setLocations({extensions, module});
    }

    void cleanupTestCase() {
        FinderExtensionManager::setLocations({});
        qputenv("PATH", originalPath);
    }

    // Enabled exactly when the module lies in Nautilus's folder; enabling
    // copies quon's own module there as root, without blocking, and fails
    // without asking when there is no module or the password is refused.
    void enableInstallsTheModule() {
        QVERIFY(!enable());
        QVERIFY(!QFile::exists(scratch.filePath(QStringLiteral("log"))));

        TestSupport::writeFile(*folders, QStringLiteral("quon's lib/" QUON_NAUTILUS_MODULE_FILE),
                               "ELF module");
        qputenv("QUON_PKEXEC_EXIT", "126");
        QVERIFY(!enable());
        QVERIFY(!FinderExtensionManager::isEnabled());

        qunsetenv("QUON_PKEXEC_EXIT");
        QVERIFY(enable());
        QVERIFY(FinderExtensionManager::isEnabled());
        QCOMPARE(TestSupport::readFile(extensions + QStringLiteral("/" QUON_NAUTILUS_MODULE_FILE)),
                 QByteArray("ELF module"));
        QCOMPARE(
            TestSupport::readFile(scratch.filePath(QStringLiteral("log"))),
            QStringLiteral("install -m 644 %1 %2/\n").arg(module, extensions).toUtf8().repeated(2));
    }

    // No settings pane to send the user to: the exact command, ready to copy.
    void manualCommand() {
        FinderExtensionManager::setLocations({QStringLiteral("/usr/lib/nautilus/extensions-4"),
                                              QStringLiteral("/opt/it's here/m.so")});
        const QString command = QStringLiteral("sudo install -m 644 '/opt/it'\\''s here/m.so' "
                                               "/usr/lib/nautilus/extensions-4/");
        QCOMPARE(FinderExtensionManager::manualInstallCommand(), command);
        FinderExtensionManager::openSystemSettings({"Title", "Run it.", "Done"});
        QLineEdit* field = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->findChild<QLineEdit*>())
                field = window->findChild<QLineEdit*>();
        QVERIFY(field);
        QCOMPARE(field->window()->windowTitle(), QStringLiteral("Title"));
        QCOMPARE(field->text(), command);
        QVERIFY(field->isReadOnly());
        QCOMPARE(field->selectedText(), command);
        field->window()->close();
    }

    // quon:// reaches quon when nothing else handles it; another handler stays.
    // The desktop is asked again only after what its answer rests on changed.
    void registersTheSchemeOnce() {
        const QString type = QStringLiteral("x-scheme-handler/" QUON_URL_SCHEME);
        QCOMPARE(xdgMimeDefault(type), QString());
        FinderExtensionManager::registerIfNeeded();
        QTRY_VERIFY_WITH_TIMEOUT(TestSupport::toolRunsAreOver(), 60'000);
        QCOMPARE(xdgMimeDefault(type), QStringLiteral(QUON_APP_ID ".desktop"));
        QCOMPARE(SchemeHandlerState::remembered(), SchemeHandlerState::current());
        // Nothing changed since: the next launch starts no tool.
        FinderExtensionManager::registerIfNeeded();
        QVERIFY(qApp->findChildren<QProcess*>().isEmpty());

        const QString applications = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
        TestSupport::writeFile(*folders, QStringLiteral("other.desktop"),
                               "[Desktop Entry]\nType=Application\nName=Other\nExec=sh\n");
        QVERIFY(QFile::rename(folders->filePath(QStringLiteral("other.desktop")),
                              applications + QStringLiteral("/other.desktop")));
        QProcess::execute(QStringLiteral("xdg-mime"),
                          {QStringLiteral("default"), QStringLiteral("other.desktop"), type});
        const QByteArray before = SchemeHandlerState::current();
        FinderExtensionManager::registerIfNeeded();
        QVERIFY(!qApp->findChildren<QProcess*>().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(TestSupport::toolRunsAreOver(), 60'000);
        QCOMPARE(xdgMimeDefault(type), QStringLiteral("other.desktop"));
        QCOMPARE(SchemeHandlerState::remembered(), before);
    }
};

QTEST_MAIN(TestFinderExtensionManager)
#include "tst_finderextensionmanager.moc"
