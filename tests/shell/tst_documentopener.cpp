#include "core/DocumentFile.h"
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
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using TestSupport::readFile;
using TestSupport::writeFile;

class TestDocumentOpener : public QObject {
    Q_OBJECT

    DocumentController& controller = DocumentController::shared();
    ScriptedDialogs* dialogs = nullptr;

    static QByteArray utf16(const QString& text, QStringConverter::Encoding encoding) {
        QStringEncoder encoder(encoding);
        return encoder.encode(text);
    }

    QStringList openPaths() const { return ScriptedDialogs::openFileNames(controller); }
    // A few lines of words in one script, separated as text is by spaces
    // (U+3000 in CJK) and line breaks, with now and then a character whose
    // low byte is zero in UTF-16: U+0100, U+3000, U+4E00 and U+1F600, whose
    // low half is U+DE00.
    static QString generatedText(QRandomGenerator& random, int script) {
        const auto letter = [&]() -> QString {
            switch (script) {
            case 0: // ASCII
                return QChar(char16_t(random.bounded(u'!', char16_t(u'~' + 1))));
            case 1: { // Latin
                static const QString letters =
                    QStringLiteral("aąbcćdeęéfghiîjklłmnńoóöpqrsśßtuüvwxyzźżÀÇÑ");
                return letters.at(random.bounded(letters.size()));
            }
            case 2: // Cyrillic
                return QChar(char16_t(random.bounded(0x0410, 0x0450)));
            case 3: // CJK
                return QChar(char16_t(random.bounded(0x4E00, 0xA000)));
            case 5: { // Latin Extended and punctuation: high bytes 01, 02 and 20
                static const QString letters = QStringLiteral("ĀąčďęěłńňőřśšţťůűźżžȘșȚț—–“”„…‘’");
                return letters.at(random.bounded(letters.size()));
            }
            case 6: // Greek
                return QChar(char16_t(random.bounded(0x0391, 0x03CA)));
            default: // emoji among Latin letters
                if (random.bounded(3) == 0)
                    return QString::fromUcs4(U"\U0001F600")
                        .replace(1, 1, QChar(char16_t(0xDE00 + random.bounded(0x50))));
                return QChar(char16_t(random.bounded(u'a', char16_t(u'z' + 1))));
            }
        };
        static const QStringList rare = {QStringLiteral("\u0100"), QStringLiteral("\u3000"),
                                         QStringLiteral("\u4E00"),
                                         QString::fromUcs4(U"\U0001F600")};
        QString text;
        const int lines = random.bounded(1, 9);
        for (int line = 0; line < lines; ++line) {
            const QChar space = script == 3 ? QChar(0x3000) : QChar(u' ');
            if (script == 3 && random.bounded(3) == 0)
                text += space; // the indent of a paragraph
            const int words = random.bounded(1, 11);
            for (int word = 0; word < words; ++word) {
                if (word > 0)
                    text += space;
                for (int n = random.bounded(1, 8); n > 0; --n)
                    text += letter();
                if (random.bounded(20) == 0)
                    text += rare.at(random.bounded(rare.size()));
            }
            text += QLatin1Char('\n');
        }
        return text;
    }

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
    // the third opens; one that fails is named and the rest still open.
    void opensInOrderAskingAboutOthers() {
        QTemporaryDir dir;
        const QString a = writeFile(dir, QStringLiteral("a.md"), "a");
        const QString page = writeFile(dir, QStringLiteral("page.html"), "<p>x</p>");
        const QString c = writeFile(dir, QStringLiteral("c.md"), "c");
        QStringList openWhileAsked;
        dialogs->onConfirm = [&] { openWhileAsked = openPaths(); };
        QSignalSpy dismissed(&AppNotifications::shared(), &AppNotifications::dismissWelcomeWindow);
        DocumentOpener::open(QStringList{a, page, dir.filePath(QStringLiteral("gone.md")), c});
        QCOMPARE(openWhileAsked, QStringList{QStringLiteral("a.md")});
        QCOMPARE(dialogs->confirmTexts.size(), 1);
        QCOMPARE(dialogs->alerts.size(), 1);
        QVERIFY(dialogs->alerts[0].second.contains(QStringLiteral("gone.md")));
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

    // A name taken by a file or a dangling link is passed by, never written
    // through.
    void convertsBesideTheSourceUnderAFreeName() {
        QTemporaryDir dir;
        const QByteArray html("<H2 class=\"t\">Title</H2><p>One&amp;two</p>");
        const QString page = writeFile(dir, QStringLiteral("page.htm"), html);
        writeFile(dir, QStringLiteral("page.md"), "taken");
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")),
                            dir.filePath(QStringLiteral("page 2.md"))));
        dialogs->confirmations = {true};
        DocumentOpener::open(QStringList{page});
        QCOMPARE(openPaths(), QStringList{QStringLiteral("page 3.md")});
        QCOMPARE(recentNames(), QStringList{QStringLiteral("page 3.md")});
        QCOMPARE(readFile(dir.filePath(QStringLiteral("page 3.md"))),
                 QByteArray("## Title\n\nOne&two"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("page.md"))), QByteArray("taken"));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("nowhere"))));

        // Rich text other than HTML is copied as it is.
        const QString rtf = writeFile(dir, QStringLiteral("doc.rtf"), "{\\rtf1 hi}");
        dialogs->confirmations = {true};
        DocumentOpener::open(QStringList{rtf});
        QCOMPARE(readFile(dir.filePath(QStringLiteral("doc.md"))), QByteArray("{\\rtf1 hi}"));
    }

    // Not UTF-8: never an empty document, a copy in UTF-8 instead; the
    // question says so when some bytes will not make it into the copy.
    void textThatIsNotUtf8IsOfferedACopy() {
        QTemporaryDir dir;
        const QString latin = writeFile(dir, QStringLiteral("old.md"), "K\xF6ln\n");
        const QString broken = writeFile(dir, QStringLiteral("notes.txt"),
                                         "Gr\xC3\xBC\xC3\x9F"
                                         "e \xFF aus K\xC3\xB6ln\n");
        QCOMPARE(controller.open(latin), DocumentController::OpenResult::NotOpened);
        QCOMPARE(dialogs->confirmTexts.size(), 1);
        QCOMPARE(controller.documentCount(), 0);

        dialogs->confirmations = {true, true};
        QVERIFY(!DocumentOpener::open(latin));
        QCOMPARE(controller.open(broken), DocumentController::OpenResult::NotOpened);
        QCOMPARE(openPaths(), (QStringList{"old 2.md", "notes.md"}));
        QCOMPARE(recentNames(), (QStringList{"notes.md", "old 2.md"}));
        QCOMPARE(controller.documents().first()->text(), QStringLiteral("Köln\n"));
        QCOMPARE(readFile(latin), QByteArray("K\xF6ln\n"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("notes.md"))),
                 QByteArray("Gr\xC3\xBC\xC3\x9F"
                            "e \xEF\xBF\xBD aus K\xC3\xB6ln\n"));
        const QString warning = QStringLiteral("Some bytes could not be read");
        QVERIFY(!dialogs->confirmDetails[1].contains(warning));
        QVERIFY(dialogs->confirmDetails[2].contains(warning));
    }

    // Readable, in a folder nobody (root included) can create files in.
    void conversionFailureAlerts() {
        QVERIFY(!DocumentOpener::convertToMarkdown(QStringLiteral("/proc/version")));
        QCOMPARE(dialogs->alerts.size(), 1);
        QVERIFY(dialogs->alerts[0].second.contains(QStringLiteral("version.md")));
        QCOMPARE(controller.documentCount(), 0);
    }

    // A device or pipe is never read: /dev/zero would fill memory, a pipe
    // without a writer would block the window for good. What is no file is
    // refused with one message, never offered a conversion that must fail.
    void sourcesThatCannotBeHeldAreNotRead_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << QStringLiteral("folder");
        QTest::newRow("device") << QStringLiteral("device");
        QTest::newRow("pipe") << QStringLiteral("pipe");
        QTest::newRow("too large") << QStringLiteral("huge");
    }

    void sourcesThatCannotBeHeldAreNotRead() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("source"));
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("source")));
        else if (kind == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QLatin1String("huge"))
            QVERIFY(TestSupport::makeSparseFile(path, DocumentFile::largestTextFile + 1));
        else
            path = QStringLiteral("/dev/null");
        QVERIFY(!DocumentOpener::readAsText(path));
        dialogs->confirmations = {true};
        DocumentOpener::open(QStringList{path});
        QCOMPARE(dialogs->alerts.size(), 1);
        if (kind != QLatin1String("huge")) {
            QCOMPARE(dialogs->confirmTexts, QStringList());
            QVERIFY2(dialogs->alerts[0].second.contains(QStringLiteral("not a regular file")),
                     qPrintable(dialogs->alerts[0].second));
        }
        QCOMPARE(controller.documentCount(), 0);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("source.md"))));
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
        QTest::addColumn<bool>("unreadable");
        const QString polish = QStringLiteral("Zażółć gęślą jaźń\n");
        QTest::newRow("utf-8") << QByteArray("za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87") << "zażółć"
                               << false;
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBFhi") << "hi" << false;
        QTest::newRow("utf-16le bom") << QByteArray("\xFF\xFEh\0i\0", 6) << "hi" << false;
        QTest::newRow("utf-16be bom") << QByteArray("\xFE\xFF\0h\0i", 6) << "hi" << false;
        // A U+FEFF after the mark is text.
        QTest::newRow("utf-16le bom twice")
            << QByteArray("\xFF\xFE\xFF\xFEh\0", 6) << QStringLiteral("\uFEFFh") << false;
        QTest::newRow("utf-8 bom twice")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFh") << QStringLiteral("\uFEFFh") << false;
        // No mark: a zero byte on one side of most pairs.
        QTest::newRow("utf-16le") << utf16(polish, QStringConverter::Utf16LE) << polish << false;
        QTest::newRow("utf-16be") << utf16(polish, QStringConverter::Utf16BE) << polish << false;
        // Neither UTF-8 nor UTF-16: Windows-1252, whose 0x80-0x9F are
        // punctuation, never C1 controls.
        QTest::newRow("windows-1252") << QByteArray("\x80 \x82\x84\x85 \x93q\x94 \x99 caf\xE9")
                                      << "€ ‚„… “q” ™ café" << false;
        QTest::newRow("windows-1252 even")
            << QByteArray("caf\xE9 na\xEFve!") << "café naïve!" << false;
        QTest::newRow("windows-1252 holes") << QByteArray("a\x81\x8D\x8F\x90\x9D\x9F")
                                            << "a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDŸ" << true;
        // A byte past the last unit: ASCII stays, anything else is unreadable.
        QTest::newRow("utf-16 stray ascii") << QByteArray("\xFF\xFEh", 3) << "h" << false;
        QTest::newRow("utf-16 stray byte") << QByteArray("\xFE\xFF\0h\xE9", 5) << "h\uFFFD" << true;
        // An unpaired surrogate could not be written into the copy.
        QTest::newRow("utf-16 lone surrogates")
            << QByteArray("\xFF\xFEh\0\x00\xD8i\0\x3D\xD8\x00\xDE\x00\xDC", 14)
            << "h\uFFFDi\U0001F600\uFFFD" << true;
        // UTF-8 but for a few broken sequences: the valid text stays.
        QTest::newRow("utf-8 cut short")
            << QByteArray("za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xE2\x82") << "zażółć \uFFFD" << true;
        QTest::newRow("ascii cut short") << QByteArray("5 \xE2\x82") << "5 \uFFFD" << true;
        QTest::newRow("utf-8 stray bytes")
            << QByteArray("\xC5\xBC\xC3\xB3\xC5\x82w \xFF i \xC3\xA9 \xC0\xAF \xED\xA0\x80.")
            << "żółw \uFFFD i é \uFFFD\uFFFD \uFFFD\uFFFD\uFFFD." << true;
    }
    void decodeText() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(bool, unreadable);
        const DocumentOpener::DecodedText decoded = DocumentOpener::decodeText(bytes);
        QCOMPARE(decoded.text, text);
        QCOMPARE(decoded.hasUnreadableBytes, unreadable);
    }

    // UTF-16 without a mark, in any script and either byte order, long
    // enough to tell, is never opened as UTF-8 and reads back as exactly its
    // text, also with a stray byte after it.
    void utf16WithoutMarkReadsAsItsText() {
        QRandomGenerator random(31);
        for (int script = 0; script < 7; ++script) {
            for (int round = 0; round < 200; ++round) {
                QString text;
                while (text.size() < 16)
                    text += generatedText(random, script);
                for (const auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
                    const QByteArray bytes = utf16(text, encoding);
                    const auto describe = [&] {
                        return QStringLiteral("script %1, %2: %3")
                            .arg(script)
                            .arg(encoding == QStringConverter::Utf16LE ? "LE" : "BE", text);
                    };
                    QVERIFY2(!DocumentFile::decode(bytes), qPrintable(describe()));
                    const DocumentOpener::DecodedText decoded = DocumentOpener::decodeText(bytes);
                    QVERIFY2(decoded.text == text, qPrintable(describe()));
                    QVERIFY(!decoded.hasUnreadableBytes);
                    // Another tool appended a line break of one byte.
                    QVERIFY2(!DocumentFile::decode(bytes + '\n'), qPrintable(describe()));
                    QVERIFY2(DocumentOpener::decodeText(bytes + '\n').text == text + '\n',
                             qPrintable(describe()));
                    QVERIFY2(DocumentOpener::decodeText(bytes + '\xE9').text == text + u'\uFFFD',
                             qPrintable(describe()));
                }
            }
        }
    }

    // A Markdown file in UTF-16 is offered a copy, which holds exactly its
    // text; UTF-8 with a few NUL bytes still opens as it is.
    void utf16MarkdownIsOfferedACopy_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("encoding");
        const QString ascii = QStringLiteral("# Notes\n\nOnly ASCII here, 100%.\n");
        const QString mixed = QStringLiteral("# 一 Ā\n\n\u3000日本語 text 😀 and ничего more\n");
        QTest::newRow("ascii le") << ascii << int(QStringConverter::Utf16LE);
        QTest::newRow("ascii be") << ascii << int(QStringConverter::Utf16BE);
        QTest::newRow("mixed le") << mixed << int(QStringConverter::Utf16LE);
        QTest::newRow("mixed be") << mixed << int(QStringConverter::Utf16BE);
    }
    void utf16MarkdownIsOfferedACopy() {
        QFETCH(QString, text);
        QFETCH(int, encoding);
        QTemporaryDir dir;
        const QByteArray bytes = utf16(text, QStringConverter::Encoding(encoding));
        const QString path = writeFile(dir, QStringLiteral("notes.md"), bytes);
        dialogs->confirmations = {true};
        QCOMPARE(controller.open(path), DocumentController::OpenResult::NotOpened);
        QCOMPARE(dialogs->confirmTexts,
                 QStringList{QStringLiteral("\"notes.md\" is not valid UTF-8 text.")});
        QCOMPARE(openPaths(), QStringList{QStringLiteral("notes 2.md")});
        QCOMPARE(controller.documents().first()->text(), text);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("notes 2.md"))), text.toUtf8());
        QCOMPARE(readFile(path), bytes);
    }

    // Also where NULs are many for so short a text, as a save may leave them.
    void utf8WithAFewNulsOpens_data() {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray log = "# Log\n\n" + QByteArray("A line of ordinary text.\n").repeated(8);
        for (const int at : {20, 60, 100})
            log[at] = '\0';
        QTest::newRow("long") << log;
        QTest::newRow("short") << QByteArray("\xe7\x86\x93\xe6\xbd\xb5\xe6\x95\xb4\xe8\x81\xa4"
                                             "\xe6\x8c\xa0\x00\xe1\x80\x80\x00",
                                             20);
    }
    void utf8WithAFewNulsOpens() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("log.md"), bytes);
        QCOMPARE(controller.open(path), DocumentController::OpenResult::Opened);
        QCOMPARE(dialogs->confirmTexts, QStringList{});
        QCOMPARE(controller.documents().first()->text().toUtf8(), bytes);
    }
};

QTEST_MAIN(TestDocumentOpener)
#include "tst_documentopener.moc"
