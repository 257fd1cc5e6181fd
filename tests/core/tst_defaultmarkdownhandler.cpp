#include "core/AppDataResetService.h"
#include "core/DefaultMarkdownHandlerService.h"
#include "platform/DesktopEntry.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

namespace Handler = DefaultMarkdownHandlerService;

// Runs against private XDG folders (tests/run-test.sh) with a MIME database of
// the test's own: "*.mkd" is another type here, "*.mdown" plain text.
class TestDefaultMarkdownHandler : public QObject {
    Q_OBJECT

    QTemporaryDir tools;
    QByteArray originalPath;

    static QString dataHome() { return qEnvironmentVariable("XDG_DATA_HOME"); }
    static QString ownEntry() {
        return dataHome() + QStringLiteral("/applications/app.quon.Quon.desktop");
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static bool isDefault() {
        std::optional<bool> answer;
        Handler::isDefaultHandler([&](bool is) { answer = is; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 20000); }();
        return answer.value_or(false);
    }

    // A stand-in xdg-mime running `script`.
    void writeXdgMime(const QByteArray& script) {
        TestSupport::writeFile(tools, QStringLiteral("xdg-mime"), "#!/bin/sh\n" + script);
        QFile::setPermissions(tools.filePath(QStringLiteral("xdg-mime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A stand-in xdg-mime that fails for the types listed in QUON_FAIL_TYPES.
    void useStandInTool() {
        writeXdgMime("echo \"$@\" >> \"$QUON_TOOL_LOG\"\n"
                     "for t in $QUON_FAIL_TYPES; do [ \"$3\" = \"$t\" ] && exit 4; done\n"
                     "exit 0\n");
        qputenv("PATH", tools.path().toUtf8() + ':' + originalPath);
        qputenv("QUON_TOOL_LOG", tools.filePath(QStringLiteral("log")).toUtf8());
        QFile::remove(tools.filePath(QStringLiteral("log")));
    }

    // Runs setAsDefault and waits for its one answer.
    QStringList setAsDefault() {
        QStringList answers;
        Handler::setAsDefault([&](const QString& error) { answers.append(error); });
        const QStringList atOnce = answers;
        // xdg-mime runs once per type, each a shell script: slow on a busy machine.
        [&] { QTRY_VERIFY_WITH_TIMEOUT(!answers.isEmpty(), 60'000); }();
        // With every run over, nothing is left to answer a second time.
        [&] { QTRY_VERIFY_WITH_TIMEOUT(TestSupport::toolRunsAreOver(), 10'000); }();
        return atOnce.isEmpty() ? answers : QStringList{QStringLiteral("answered inside the call")};
    }

private Q_SLOTS:
    void initTestCase() {
        originalPath = qgetenv("PATH");
        qunsetenv("XDG_CURRENT_DESKTOP"); // xdg-mime's own mimeapps.list handling
        const QString packages = dataHome() + QStringLiteral("/mime/packages");
        QVERIFY(QDir().mkpath(packages));
        QVERIFY(QFile::copy(QStringLiteral(QUON_SOURCE_DIR "/packaging/app.quon.Quon.xml"),
                            packages + QStringLiteral("/app.quon.Quon.xml")));
        QFile test(packages + QStringLiteral("/test.xml"));
        QVERIFY(test.open(QIODevice::WriteOnly));
        test.write(
            "<?xml version=\"1.0\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"text/x-quon-outline\">\n"
            "    <sub-class-of type=\"text/plain\"/><glob pattern=\"*.mkd\" weight=\"90\"/>\n"
            "  </mime-type>\n"
            "  <mime-type type=\"text/plain\"><glob pattern=\"*.mdown\" "
            "weight=\"90\"/></mime-type>\n"
            "</mime-info>\n");
        test.close();
        QCOMPARE(QProcess::execute(QStringLiteral("update-mime-database"),
                                   {dataHome() + QStringLiteral("/mime")}),
                 0);
    }

    void cleanup() { qputenv("PATH", originalPath); }

    // The real xdg-mime: quon's own entry appears in the user's applications
    // folder and becomes the default for every type.
    void setAsDefaultThenIsDefault() {
        bool before = true;
        Handler::isDefaultHandler([&](bool is) { before = is; });
        QTRY_VERIFY_WITH_TIMEOUT(!before, 30'000);
        QCOMPARE(setAsDefault(), QStringList{QString()});
        const QString entry = dataHome() + QStringLiteral("/applications/app.quon.Quon.desktop");
        QVERIFY(QFile::exists(entry));
        QCOMPARE(QProcess::execute(QStringLiteral("desktop-file-validate"), {entry}), 0);
        int answered = 0;
        bool after = false;
        Handler::isDefaultHandler([&](bool is) {
            after = is;
            ++answered;
        });
        QTRY_COMPARE_WITH_TIMEOUT(answered, 1, 30'000);
        QVERIFY(after);
        const QByteArray list = TestSupport::readFile(qEnvironmentVariable("XDG_CONFIG_HOME") +
                                                      QStringLiteral("/mimeapps.list"));
        QVERIFY(list.contains("text/x-quon-outline=app.quon.Quon.desktop"));
        QVERIFY(!list.contains("text/plain"));
    }

    // One answer, after every type was tried in order (the Markdown type
    // once however many extensions map to it, each other type once, never
    // plain text): any success is success, else the first failure.
    void completion_data() {
        QTest::addColumn<QByteArray>("failing");
        QTest::addColumn<QString>("answer");
        QTest::newRow("first fails") << QByteArray("text/markdown") << QString();
        QTest::newRow("second fails") << QByteArray("text/x-quon-outline") << QString();
        QTest::newRow("both fail") << QByteArray("text/markdown text/x-quon-outline")
                                   << "The system did not accept quon as the default application "
                                      "for text/markdown.";
    }
    void completion() {
        QFETCH(QByteArray, failing);
        QFETCH(QString, answer);
        useStandInTool();
        qputenv("QUON_FAIL_TYPES", failing);
        QCOMPARE(setAsDefault(), QStringList{answer});
        QCOMPARE(TestSupport::readFile(tools.filePath(QStringLiteral("log"))),
                 QByteArray("default app.quon.Quon.desktop text/markdown\n"
                            "default app.quon.Quon.desktop text/x-quon-outline\n"));
    }

    void missingTool() {
        qputenv("PATH", tools.path().toUtf8() + "/none");
        QCOMPARE(setAsDefault(),
                 QStringList{QStringLiteral("The xdg-mime tool could not be run.")});
        bool is = true;
        Handler::isDefaultHandler([&](bool answer) { is = answer; });
        QTRY_VERIFY_WITH_TIMEOUT(!is, 30'000);
    }

    // Without GIO's tool, the desktop's own xdg-mime answers.
    void withoutGioXdgMimeAnswers() {
        writeXdgMime("[ \"$1 $2 $3\" = \"query default text/markdown\" ] && "
                     "echo app.quon.Quon.desktop\n"
                     "exit 0\n");
        QFile::remove(tools.filePath(QStringLiteral("env")));
        QVERIFY(QFile::link(QStringLiteral("/usr/bin/env"), tools.filePath(QStringLiteral("env"))));
        qputenv("PATH", tools.path().toUtf8());
        QVERIFY(isDefault());
        QFile::remove(tools.filePath(QStringLiteral("env")));
    }

    // The entry quon writes is marked as its own and follows the executable
    // that runs; one the user installed is never touched, not even by Clear
    // App Data, which removes quon's own.
    void ownEntryFollowsTheRunningExecutable() {
        const QByteArray current =
            DesktopEntry::forExecutable(QCoreApplication::applicationFilePath());
        write(ownEntry(), DesktopEntry::forExecutable(QStringLiteral("/old/build/quon")));
        QVERIFY(DesktopEntry::ensureInstalled());
        QCOMPARE(TestSupport::readFile(ownEntry()), current);
        QVERIFY(current.contains("\nX-Quon-Generated=true\n"));
        QVERIFY(current.contains("\nTryExec=" + QCoreApplication::applicationFilePath().toUtf8()));
        QCOMPARE(QProcess::execute(QStringLiteral("desktop-file-validate"), {ownEntry()}), 0);
        AppDataResetService::clearAllData();
        QVERIFY(!QFile::exists(ownEntry()));

        const QByteArray installed = "[Desktop Entry]\nType=Application\nName=quon\nExec=quon %U\n";
        write(ownEntry(), installed);
        QVERIFY(DesktopEntry::ensureInstalled());
        DesktopEntry::removeOwnEntry();
        AppDataResetService::clearAllData();
        QCOMPARE(TestSupport::readFile(ownEntry()), installed);
        QFile::remove(ownEntry());
    }

    // An entry installed in the data folders is the one the desktop uses:
    // quon writes none, and its own, which would hide it, goes.
    void installedEntryWins() {
        const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
        const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_DIRS", dataDirs); });
        QTemporaryDir system;
        qputenv("XDG_DATA_DIRS", system.path().toUtf8() + ":/usr/share");
        QVERIFY(DesktopEntry::ensureInstalled());
        QVERIFY(QFile::exists(ownEntry()));
        write(system.filePath(QStringLiteral("applications/app.quon.Quon.desktop")),
              DesktopEntry::forExecutable(QStringLiteral("/usr/bin/quon")));
        QVERIFY(DesktopEntry::ensureInstalled());
        QVERIFY(!QFile::exists(ownEntry()));
        QVERIFY(DesktopEntry::ensureInstalled());
        QVERIFY(!QFile::exists(ownEntry()));

        // The user's own folder again, through a link: no install elsewhere.
        QVERIFY(
            QFile::remove(system.filePath(QStringLiteral("applications/app.quon.Quon.desktop"))));
        const QString linked = system.filePath(QStringLiteral("linked"));
        QVERIFY(QFile::link(qEnvironmentVariable("XDG_DATA_HOME"), linked));
        qputenv("XDG_DATA_DIRS", linked.toUtf8() + ":/usr/share");
        QVERIFY(DesktopEntry::ensureInstalled());
        QVERIFY(QFile::exists(ownEntry()));
        QVERIFY(DesktopEntry::ensureInstalled());
        QVERIFY(QFile::exists(ownEntry()));
    }

    // The settings' "default app" is what GIO (and so Files) opens Markdown
    // with: not quon while its entry starts a program that is gone, even
    // though mimeapps.list names it; quon again once the entry is current.
    void defaultStatusAgreesWithGio() {
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        write(config + QStringLiteral("/mimeapps.list"),
              "[Default Applications]\ntext/markdown=app.quon.Quon.desktop\n");
        write(ownEntry(), DesktopEntry::forExecutable(QStringLiteral("/gone/build/quon")));
        QVERIFY(!isDefault());
        QVERIFY(DesktopEntry::ensureInstalled());
        QVERIFY(isDefault());

        using Handler::defaultApplicationInGioAnswer;
        QCOMPARE(defaultApplicationInGioAnswer("Default application for \xe2\x80\x9ctext/markdown"
                                               "\xe2\x80\x9d: vim.desktop\nRegistered "
                                               "applications:\n\tvim.desktop\n"),
                 QStringLiteral("vim.desktop"));
        QCOMPARE(
            defaultApplicationInGioAnswer("Default application for ?text/markdown?: a.desktop"),
            QStringLiteral("a.desktop"));
        QCOMPARE(defaultApplicationInGioAnswer("No default applications for \xe2\x80\x9c"
                                               "text/markdown\xe2\x80\x9d\n"),
                 QString());
        QFile::remove(ownEntry());
        QFile::remove(config + QStringLiteral("/mimeapps.list"));
    }

    // The user's own entry starts this very executable, wherever it lies.
    void execLine_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("exec");
        QTest::newRow("space") << "/opt/my apps/quon"
                               << "\"/opt/my apps/quon\"";
        QTest::newRow("reserved characters") << "/x/a\"b$c`d\\e%f"
                                             << "\"/x/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e%%f\"";
    }
    void execLine() {
        QFETCH(QString, path);
        QFETCH(QString, exec);
        QCOMPARE(DesktopEntry::execArgument(path), exec);
        QTemporaryDir dir;
        const QString file = TestSupport::writeFile(dir, QStringLiteral("app.quon.Quon.desktop"),
                                                    DesktopEntry::forExecutable(path));
        QVERIFY(TestSupport::readFile(file).contains("\nExec=" + exec.toUtf8() + " %U\n"));
        QCOMPARE(QProcess::execute(QStringLiteral("desktop-file-validate"), {file}), 0);
        QVERIFY(DesktopEntry::forExecutable(QStringLiteral("/x/a\nb")).isEmpty());
    }
};

QTEST_MAIN(TestDefaultMarkdownHandler)
#include "tst_defaultmarkdownhandler.moc"
