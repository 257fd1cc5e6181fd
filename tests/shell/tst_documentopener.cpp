#include "core/MarkdownDocument.h"
#include "core/RecentFilesStore.h"
#include "shell/AppNotifications.h"
#include "shell/DocumentController.h"
#include "shell/DocumentOpener.h"
#include "shell/SceneManager.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using TestSupport::readFile;
using TestSupport::writeFile;

class TestDocumentOpener : public QObject {
    Q_OBJECT

    DocumentController& controller = DocumentController::shared();
    ScriptedDialogs* dialogs = nullptr;

    QStringList openPaths() const { return ScriptedDialogs::openFileNames(controller); }
    static QStringList recentNames() {
        QStringList names;
        for (const RecentFile& file : RecentFilesStore::shared().files())
            names.append(file.url.fileName());
        return names;
    }

private Q_SLOTS:
    void initTestCase() { new SceneManager(controller, this); }

    void init() {
        TestSupport::resetPreferences();
        RecentFilesStore::shared().clear();
        dialogs = &ScriptedDialogs::install();
    }

    void cleanup() { dialogs->discardAll(controller); }

    // Each file in order; the question about the second is answered before
    // the third opens.
    void opensInOrderAskingAboutOthers() {
        QTemporaryDir dir;
        const QString a = writeFile(dir, QStringLiteral("a.md"), "a");
        const QString page = writeFile(dir, QStringLiteral("page.html"), "<p>x</p>");
        const QString c = writeFile(dir, QStringLiteral("c.md"), "c");
        QStringList openWhileAsked;
        dialogs->onConfirm = [&] { openWhileAsked = openPaths(); };
        QSignalSpy dismissed(&AppNotifications::shared(), &AppNotifications::dismissWelcomeWindow);
        DocumentOpener::open(QStringList{a, page, c});
        QCOMPARE(openWhileAsked, QStringList{QStringLiteral("a.md")});
        QCOMPARE(dialogs->confirmTexts,
                 QStringList{QStringLiteral("\"page.html\" is not a Markdown file.")});
        QCOMPARE(openPaths(), (QStringList{"a.md", "c.md"}));
        QCOMPARE(recentNames(), (QStringList{"c.md", "a.md"}));
        QVERIFY(dismissed.size() >= 2);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("page.md"))));
    }

    // Markdown by any of its extensions, and plain text, open as they are:
    // no question, no copy.
    void textFilesOpenDirectly_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("txt") << QStringLiteral("notes.txt");
        QTest::newRow("upper-case MD") << QStringLiteral("NOTES.MD");
        QTest::newRow("mkd") << QStringLiteral("notes.mkd");
        QTest::newRow("text without extension") << QStringLiteral("README");
    }
    void textFilesOpenDirectly() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = writeFile(dir, name, "# Plain\n\nsome text\n");
        DocumentOpener::open(QStringList{path});
        QCOMPARE(dialogs->confirmTexts, QStringList{});
        QCOMPARE(openPaths(), QStringList{name});
        QCOMPARE(controller.documents().first()->text(), QStringLiteral("# Plain\n\nsome text\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
    }

    void convertsBesideTheSourceUnderAFreeName() {
        QTemporaryDir dir;
        const QByteArray html("<H2 class=\"t\">Title</H2><p>One&amp;two</p>");
        const QString page = writeFile(dir, QStringLiteral("page.htm"), html);
        writeFile(dir, QStringLiteral("page.md"), "taken");
        writeFile(dir, QStringLiteral("page 2.md"), "taken too");
        dialogs->confirmations = {true};
        DocumentOpener::open(QStringList{page});
        QCOMPARE(openPaths(), QStringList{QStringLiteral("page 3.md")});
        QCOMPARE(recentNames(), QStringList{QStringLiteral("page 3.md")});
        QCOMPARE(readFile(dir.filePath(QStringLiteral("page 3.md"))),
                 QByteArray("## Title\n\nOne&two"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("page.md"))), QByteArray("taken"));

        // Rich text other than HTML is copied as it is.
        const QString rtf = writeFile(dir, QStringLiteral("doc.rtf"), "{\\rtf1 hi}");
        dialogs->confirmations = {true};
        DocumentOpener::open(QStringList{rtf});
        QCOMPARE(readFile(dir.filePath(QStringLiteral("doc.md"))), QByteArray("{\\rtf1 hi}"));
    }

    // Not UTF-8: never an empty document, a copy in UTF-8 instead.
    void textThatIsNotUtf8IsOfferedACopy() {
        QTemporaryDir dir;
        const QString latin = writeFile(dir, QStringLiteral("old.md"), "caf\xE9\n");
        QCOMPARE(controller.open(latin), DocumentController::OpenResult::NotOpened);
        QCOMPARE(dialogs->confirmTexts,
                 QStringList{QStringLiteral("\"old.md\" is not valid UTF-8 text.")});
        QCOMPARE(controller.documentCount(), 0);

        dialogs->confirmations = {true};
        QVERIFY(!DocumentOpener::open(latin));
        QCOMPARE(openPaths(), QStringList{QStringLiteral("old 2.md")});
        QCOMPARE(recentNames(), QStringList{QStringLiteral("old 2.md")});
        QCOMPARE(controller.documents().first()->text(), QStringLiteral("café\n"));
        QCOMPARE(readFile(latin), QByteArray("caf\xE9\n"));
    }

    void conversionFailuresAlert() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.html")));
        dialogs->confirmations = {true};
        DocumentOpener::open(QStringList{dir.filePath(QStringLiteral("folder.html"))});
        QCOMPARE(dialogs->alerts.size(), 1);
        QCOMPARE(dialogs->alerts[0].first, QStringLiteral("Could Not Convert File"));
        QCOMPARE(dialogs->alerts[0].second, QStringLiteral("The file could not be read as text."));

        // Readable, in a folder nobody (root included) can create files in.
        const QString source = QStringLiteral("/proc/version");
        QVERIFY(!DocumentOpener::convertToMarkdown(source));
        QCOMPARE(dialogs->alerts.size(), 2);
        QVERIFY(dialogs->alerts[1].second.contains(QStringLiteral("version.md")));
        QCOMPARE(controller.documentCount(), 0);
    }

    void failedOpenIsAlertedNotOpened() {
        QTemporaryDir dir;
        QSignalSpy dismissed(&AppNotifications::shared(), &AppNotifications::dismissWelcomeWindow);
        QVERIFY(!DocumentOpener::open(dir.filePath(QStringLiteral("gone.md"))));
        QCOMPARE(dialogs->alerts.size(), 1);
        QVERIFY(dialogs->alerts[0].second.contains(QStringLiteral("gone.md")));
        QCOMPARE(dismissed.size(), 0);
        QVERIFY(RecentFilesStore::shared().files().isEmpty());
    }

    void htmlToMarkdown_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("markdown");
        QTest::newRow("breaks") << "a<br/>b<BR>c<br />d"
                                << "a\nb\nc\nd";
        QTest::newRow("list, not link")
            << "<link rel=\"x\"><ul><li>one</li><LI class=y>two</li></ul>"
            << "- one\n- two";
        QTest::newRow("amp decoded last") << "&amp;lt;b&amp;gt; &lt;i&gt;"
                                          << "&lt;b&gt; <i>";
        QTest::newRow("entities") << "&quot;q&quot;&nbsp;&#39;s&#39; &copy;"
                                  << "\"q\" 's' &copy;";
        QTest::newRow("script and style")
            << "<SCRIPT type=x>var a = '<p>';\n</script>x<style>\np {}\n</STYLE>y"
            << "xy";
        QTest::newRow("blank runs") << "<p>a</p>\n\n\n<p>b</p>"
                                    << "a\n\nb";
    }
    void htmlToMarkdown() {
        QFETCH(QString, html);
        QFETCH(QString, markdown);
        QCOMPARE(DocumentOpener::htmlToMarkdown(html), markdown);
    }

    void decodeText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("utf-8") << QByteArray("za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87") << "zażółć";
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBFhi") << "hi";
        QTest::newRow("utf-16le bom") << QByteArray("\xFF\xFEh\0i\0", 6) << "hi";
        QTest::newRow("utf-16be bom") << QByteArray("\xFE\xFF\0h\0i", 6) << "hi";
        // Even length, no mark: Latin-1, never read as UTF-16 (CJK).
        QTest::newRow("latin-1 even") << QByteArray("caf\xE9 na\xEFve!") << "café naïve!";
        QTest::newRow("broken utf-16") << QByteArray("\xFF\xFEh", 3) << "ÿþh";
    }
    void decodeText() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DocumentOpener::decodeText(bytes), text);
    }

    void uniqueNames() {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("notes.html"));
        QCOMPARE(DocumentOpener::uniqueMarkdownPath(source),
                 dir.filePath(QStringLiteral("notes.md")));
        writeFile(dir, QStringLiteral("notes.md"), "1");
        QCOMPARE(DocumentOpener::uniqueMarkdownPath(source),
                 dir.filePath(QStringLiteral("notes 2.md")));

        // A name taken by a dangling link is never written through.
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")),
                            dir.filePath(QStringLiteral("notes 2.md"))));
        QString error;
        const auto written = DocumentOpener::writeMarkdownCopy(source, QStringLiteral("x"), &error);
        QCOMPARE(written.value_or(QString()), dir.filePath(QStringLiteral("notes 3.md")));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("nowhere"))));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("notes.md"))), QByteArray("1"));
    }
};

QTEST_MAIN(TestDocumentOpener)
#include "tst_documentopener.moc"
