#include "core/MarkdownDocument.h"
#include "core/MarkdownFileTypes.h"
#include "core/Preferences.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace {

// UTF-8 text of a few words with control bytes among them, alone, each
// paired with a NUL, or NULs in runs; now and then a few bytes only, or a
// heading with no NUL above letters each paired with one.
QByteArray textWithControlBytes(QRandomGenerator& random) {
    static const QByteArrayList pieces = {"word", " ", "\n", "é", "ж", "日", "😀", "#"};
    const int shape = random.bounded(8);
    QByteArray bytes = shape == 0 ? "# Heading\n" : "";
    for (int n = shape == 1 ? random.bounded(1, 5) : random.bounded(8, 40); n > 0; --n) {
        const QByteArray control(1, shape == 0 ? 'x' : char(random.bounded(0x20)));
        const int kind = shape == 0 ? 1 : random.bounded(5);
        bytes += kind == 0   ? control
                 : kind == 1 ? control + '\0'
                 : kind == 2 ? QByteArray(random.bounded(2, 9), '\0')
                             : pieces.at(random.bounded(pieces.size()));
    }
    return bytes;
}

} // namespace

class TestMarkdownDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    void newDocumentFollowsPreference() {
        MarkdownDocument sample;
        QVERIFY(sample.text().contains(QStringLiteral("editor for Linux.")));
        QVERIFY(!sample.isModified());
        Preferences::shared().setBoolean(PreferenceKeys::newDocumentStartsEmpty, true);
        MarkdownDocument empty;
        QCOMPARE(empty.text(), QString());
    }

    void wordCount() {
        QCOMPARE(MarkdownDocument::wordCount(u""), 0);
        QCOMPARE(MarkdownDocument::wordCount(u"  one   two\t\n\nthree  "), 3);
        QCOMPARE(MarkdownDocument::wordCount(u"a\u2028b"), 2);
        QCOMPARE(MarkdownDocument::wordCount(u"# Welcome to quon"), 4);
        QCOMPARE(MarkdownDocument::wordCount(u"a\u00A0b\u3000c\r\nd"), 4);
    }

    // Refused files never open as an empty document a save would write over.
    void refusesWhatIsNotUtf8Text_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        const int notUtf8 = int(DocumentFileError::Kind::NotUtf8);
        QTest::newRow("0xFF") << QByteArray("\xFF", 1) << notUtf8;
        QTest::newRow("latin-1") << QByteArray("caf\xE9 cr\xE8me\n") << notUtf8;
        QTest::newRow("overlong") << QByteArray("\xC0\xAF") << notUtf8;
        QTest::newRow("truncated") << QByteArray("ok \xE2\x82") << notUtf8;
        QTest::newRow("encoded surrogate") << QByteArray("a\xED\xA0\x80z") << notUtf8;
        QTest::newRow("beyond unicode") << QByteArray("a\xF4\x90\x80\x80") << notUtf8;
        QTest::newRow("directory") << QByteArray() << int(DocumentFileError::Kind::NotARegularFile);
    }
    void refusesWhatIsNotUtf8Text() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.md"));
        if (bytes.isEmpty())
            QVERIFY(QDir().mkdir(path));
        else
            writeFile(dir, QStringLiteral("bad.md"), bytes);
        const QDateTime mtime = QFileInfo(path).lastModified();
        DocumentFileError error;
        QVERIFY(!MarkdownDocument::open(path, &error));
        QCOMPARE(int(error.kind), kind);
        QVERIFY(error.message().contains(QStringLiteral("bad.md")));
        QCOMPARE(readFile(path), bytes);
        QCOMPARE(QFileInfo(path).lastModified(), mtime);

        QVERIFY(!MarkdownDocument::open(dir.filePath(QStringLiteral("none.md")), &error));
        QCOMPARE(error.kind, DocumentFileError::Kind::ReadFailed);

        // Too large to hold: refused before a byte is read.
        const QString huge = dir.filePath(QStringLiteral("huge.md"));
        QVERIFY(TestSupport::makeSparseFile(huge, DocumentFile::largestTextFile + 1));
        QVERIFY(!MarkdownDocument::open(huge, &error));
        QCOMPARE(error.kind, DocumentFileError::Kind::TooLarge);
        QVERIFY(error.message().contains(QStringLiteral("huge.md")));
    }

    void unEditedRoundTripsByteForByte_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("crlf") << QByteArray("# A\r\n\r\ntext\r\n");
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd\r\n");
        QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF# Title\n");
        QTest::newRow("nbsp-ls") << QByteArray("a\xC2\xA0"
                                               "b\xE2\x80\xA8"
                                               "c\n");
        QTest::newRow("bom-twice") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx");
        QTest::newRow("cr-lines") << QByteArray("a\rb\r\r\nc\n\rd");
        QTest::newRow("nuls") << QByteArray("a\0b\r\n\0\n", 8);
        QTest::newRow("astral-ps-nonchars") << QByteArray("\xF0\x9F\x98\x80\xE2\x80\xA9"
                                                          "\xEF\xBF\xBE\xEF\xB7\x90\r");
        QTest::newRow("feff-inside") << QByteArray("x\xEF\xBB\xBF\n\r\n");
    }
    void unEditedRoundTripsByteForByte() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("in.md"), bytes);
        auto doc = MarkdownDocument::open(path, nullptr);
        QVERIFY(doc);
        QVERIFY(!doc->text().contains(QLatin1Char('\r')));
        QVERIFY(!doc->isModified());
        QCOMPARE(doc->savedBytes(), bytes);
        // Typed and taken back: the bytes last read again, not the text written anew.
        const QString text = doc->text();
        doc->setText(text + QStringLiteral("x"));
        doc->setText(text);
        QVERIFY(!doc->isModified());
        const QString out = dir.filePath(QStringLiteral("out.md"));
        QVERIFY(doc->save(out, nullptr));
        QCOMPARE(readFile(out), bytes);
        QCOMPARE(doc->savedBytes(), bytes);
    }

    // The whole text handed out after each edit is the text then, and stays
    // so while held, however the document reuses its copies.
    void textCopiesStayAsHandedOut() {
        MarkdownDocument doc(*DocumentFile::decode("abc\n"));
        QString expected = QStringLiteral("abc\n");
        std::vector<QString> held;
        for (int key = 0; key < 300; ++key) {
            const qsizetype at = (key * 7) % (expected.size() + 1);
            if (key % 3 == 2 && at < expected.size()) {
                doc.replace(at, 1, QString());
                expected.remove(at, 1);
            } else {
                const QString typed =
                    key % 11 == 0 ? QStringLiteral("long insertion ") : QStringLiteral("x");
                doc.replace(at, 0, typed);
                expected.insert(at, typed);
            }
            if (key % 5 == 0)
                held.push_back(doc.text());
            QCOMPARE(doc.text(), expected);
        }
        QString replay = QStringLiteral("abc\n");
        size_t next = 0;
        for (int key = 0; key < 300; ++key) {
            const qsizetype at = (key * 7) % (replay.size() + 1);
            if (key % 3 == 2 && at < replay.size())
                replay.remove(at, 1);
            else
                replay.insert(at, key % 11 == 0 ? QStringLiteral("long insertion ")
                                                : QStringLiteral("x"));
            if (key % 5 == 0)
                QCOMPARE(held[next++], replay);
        }
    }

    void editedKeepsLineEndingStyleAndBom() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"),
                                       QByteArray("\xEF\xBB\xBF"
                                                  "a\r\nb\r\n"));
        auto doc = MarkdownDocument::open(path, nullptr);
        QCOMPARE(doc->text(), QStringLiteral("a\nb\n"));
        doc->setText(doc->text() + QStringLiteral("c\n"));
        QVERIFY(doc->isModified());
        QVERIFY(doc->save(path, nullptr));
        QCOMPARE(readFile(path), QByteArray("\xEF\xBB\xBF"
                                            "a\r\nb\r\nc\r\n"));
        QVERIFY(!doc->isModified());
        QCOMPARE(doc->savedBytes(), readFile(path));
        // What it wrote is what the next save finds on disk: no false alarm.
        doc->setText(doc->text() + QStringLiteral("d\n"));
        QVERIFY(doc->save(path, nullptr));
        QCOMPARE(readFile(path), QByteArray("\xEF\xBB\xBF"
                                            "a\r\nb\r\nc\r\nd\r\n"));
    }

    // A U+FEFF that begins the text survives a save and a reopen (reading
    // takes one for the mark), and a save changes only what was edited.
    void leadingFeffRoundTrips_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("typed into a file without a mark")
            << QByteArray("x\n") << QStringLiteral("\uFEFFx\n")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx\n");
        QTest::newRow("typed into a file with a mark")
            << QByteArray("\xEF\xBB\xBFx") << QStringLiteral("\uFEFFx")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx");
        QTest::newRow("removed, the mark stays")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QStringLiteral("x")
            << QByteArray("\xEF\xBB\xBFx");
        QTest::newRow("new document") << QByteArray() << QStringLiteral("\uFEFF\uFEFF")
                                      << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF");
        QTest::newRow("inside the text") << QByteArray("ab") << QStringLiteral("a\uFEFFb")
                                         << QByteArray("a\xEF\xBB\xBF"
                                                       "b");
    }
    void leadingFeffRoundTrips() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, edited);
        QFETCH(QByteArray, saved);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.md"));
        auto doc =
            bytes.isEmpty()
                ? std::make_unique<MarkdownDocument>()
                : MarkdownDocument::open(writeFile(dir, QStringLiteral("a.md"), bytes), nullptr);
        doc->setText(edited);
        QVERIFY(doc->save(path, nullptr));
        QCOMPARE(readFile(path), saved);
        QCOMPARE(MarkdownDocument::open(path, nullptr)->text(), edited);
        // The next save is as from the file read back: removing the U+FEFF
        // removes its bytes only.
        if (edited.startsWith(QChar(0xFEFF))) {
            doc->setText(edited.mid(1));
            QVERIFY(doc->save(path, nullptr));
            QCOMPARE(readFile(path), saved.mid(3));
        }
    }

    // The modified state follows the text, not the history: an edit taken
    // back leaves the document unmodified, a line ending changed does not.
    void modifiedFollowsTheText() {
        auto doc =
            std::make_unique<MarkdownDocument>(*DocumentFile::decode("one\r\ntwo\nthree\r\n"));
        QSignalSpy flips(doc.get(), &MarkdownDocument::modifiedChanged);
        doc->replace(4, 0, QStringLiteral("x"));
        QVERIFY(doc->isModified());
        doc->replace(4, 1, QString());
        QVERIFY(!doc->isModified());
        // Both ends changed, then taken back one by one.
        doc->replace(0, 0, QStringLiteral("a"));
        doc->replace(doc->length(), 0, QStringLiteral("z"));
        doc->replace(0, 1, QString());
        QVERIFY(doc->isModified());
        doc->replace(doc->length() - 1, 1, QString());
        QVERIFY(!doc->isModified());
        QCOMPARE(flips.count(), 4);
        // Joined and split again: the same text, but the break now takes the
        // ending of the joined line.
        doc->replace(3, 1, QString());
        doc->replace(3, 0, QStringLiteral("\n"));
        QCOMPARE(doc->text(), QStringLiteral("one\ntwo\nthree\n"));
        QVERIFY(doc->isModified());
        QCOMPARE(doc->fileBytes().value(), QByteArray("one\ntwo\nthree\r\n"));
    }

    // The editor shows U+2029, U+FDD0 and U+FDD1 as line breaks and reports
    // them as LF: the text keeps them wherever an edit did not change them,
    // even when the editor reports far more than it changed.
    void editorEditsKeepWhatTheEditorShowsAsBreaks() {
        auto doc = std::make_unique<MarkdownDocument>(*DocumentFile::decode("a\xE2\x80\xA9"
                                                                            "b\xEF\xB7\x90"
                                                                            "c\xEF\xB7\x91"));
        doc->applyEditorEdit(0, doc->length(), QStringLiteral("a\nb\nc\n"));
        QVERIFY(!doc->isModified());
        doc->applyEditorEdit(1, 4, QStringLiteral("\nbX\nc"));
        QCOMPARE(doc->text(), QString::fromUtf16(u"a\u2029bX\uFDD0c\uFDD1"));
        doc->applyEditorEdit(0, 6, QStringLiteral("a\nbXc"));
        QCOMPARE(doc->text(), QString::fromUtf16(u"a\u2029bXc\uFDD1"));

        // A break the editor puts back where one was deleted (an undo) is the
        // one the file had, whether or not the text changed elsewhere; a new
        // break typed before one is a new break.
        const QString saved = QString::fromUtf16(u"a\u2029b\uFDD0c\uFDD1");
        doc = std::make_unique<MarkdownDocument>(*DocumentFile::decode(saved.toUtf8()));
        doc->applyEditorEdit(1, 1, QString());
        doc->applyEditorEdit(1, 0, QStringLiteral("\n"));
        QCOMPARE(doc->text(), saved);
        QVERIFY(!doc->isModified());
        doc->applyEditorEdit(0, 0, QStringLiteral("X"));
        doc->applyEditorEdit(4, 1, QString());
        doc->applyEditorEdit(4, 0, QStringLiteral("\n"));
        QCOMPARE(doc->text(), QLatin1Char('X') + saved);
        doc->applyEditorEdit(0, 1, QString());
        doc->applyEditorEdit(2, 3, QString());
        doc->applyEditorEdit(2, 0, QStringLiteral("b\nc"));
        QCOMPARE(doc->text(), saved);
        QVERIFY(!doc->isModified());
        doc->applyEditorEdit(1, 0, QStringLiteral("\n"));
        QCOMPARE(doc->text(), QString::fromUtf16(u"a\n\u2029b\uFDD0c\uFDD1"));
    }

    // Over its own file a save never replaces what another program wrote
    // since quon last read or wrote it; elsewhere it writes.
    void saveLeavesAnUnseenChangeAlone() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"), "mine\n");
        auto doc = MarkdownDocument::open(path, nullptr);
        doc->setText(QStringLiteral("mine, edited\n"));
        writeFile(dir, QStringLiteral("a.md"), "theirs\n");
        DocumentFileError error;
        QVERIFY(!doc->save(path, &error));
        QCOMPARE(error.kind, DocumentFileError::Kind::ChangedOnDisk);
        QVERIFY(error.message().contains(QStringLiteral("a.md")));
        QCOMPARE(readFile(path), QByteArray("theirs\n"));
        QVERIFY(doc->isModified());
        const QString other = dir.filePath(QStringLiteral("b.md"));
        QVERIFY(doc->save(other, &error));
        QCOMPARE(readFile(other), QByteArray("mine, edited\n"));
    }

    // Another program writes other text and makes the file write-only: a
    // save that cannot read it compares what it can know (the file, its
    // size and times) and leaves the change alone. Root runs it as nobody,
    // whom the mode stops reading.
    void saveLeavesAnUnreadableChangeAlone_data() {
        QTest::addColumn<QByteArray>("theirs");
        QTest::newRow("same size") << QByteArray("THEIRS\n");
        QTest::newRow("shorter") << QByteArray("them\n");
    }
    void saveLeavesAnUnreadableChangeAlone() {
        QFETCH(QByteArray, theirs);
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"), "theirs\n");
        const uid_t nobody = 65534;
        const bool asNobody = ::geteuid() == 0;
        if (asNobody)
            QVERIFY(::chown(qPrintable(dir.path()), nobody, nobody) == 0 &&
                    ::chown(qPrintable(path), nobody, nobody) == 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            if (asNobody &&
                (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0))
                ::_exit(2);
            auto doc = MarkdownDocument::open(path, nullptr);
            doc->setText(QStringLiteral("mine\n"));
            const int file = ::open(qPrintable(path), O_WRONLY | O_TRUNC);
            if (!doc || file < 0 ||
                ::write(file, theirs.constData(), theirs.size()) != theirs.size() ||
                ::fchmod(file, 0200) != 0 || ::close(file) != 0 ||
                ::access(qPrintable(path), R_OK) == 0)
                ::_exit(2);
            DocumentFileError error;
            if (doc->save(path, &error))
                ::_exit(1);
            ::_exit(error.kind == DocumentFileError::Kind::ChangedOnDisk && doc->isModified() ? 0
                                                                                              : 3);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(readFile(path), theirs);
    }

    // Kept over what quon could not read (here a file too large), a save
    // replaces that, but not a file another program put there since.
    void keptOverAnUnreadFileReplacesOnlyThat() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"), "mine\n");
        auto doc = MarkdownDocument::open(path, nullptr);
        QVERIFY(QFile::remove(path));
        QVERIFY(TestSupport::makeSparseFile(path, DocumentFile::largestTextFile + 1));
        doc->keepOverUnreadableFile(std::nullopt);
        writeFile(dir, QStringLiteral("a.md"), "theirs\n");
        DocumentFileError error;
        QVERIFY(!doc->save(path, &error));
        QCOMPARE(error.kind, DocumentFileError::Kind::ChangedOnDisk);
        QCOMPARE(readFile(path), QByteArray("theirs\n"));

        QVERIFY(QFile::remove(path));
        QVERIFY(TestSupport::makeSparseFile(path, DocumentFile::largestTextFile + 1));
        doc->keepOverUnreadableFile(std::nullopt);
        QVERIFY(doc->save(path, &error));
        QCOMPARE(readFile(path), QByteArray("mine\n"));
        QVERIFY(!doc->isModified());
    }

    // Kept text over a changed file: modified exactly while it differs from the file.
    void adoptedFileContentsBecomeTheSavedState() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"), "one\n");
        auto doc = MarkdownDocument::open(path, nullptr);
        QSignalSpy textChanges(doc.get(), &MarkdownDocument::textChanged);
        doc->adoptSavedContents(*DocumentFile::decode("two\r\n"));
        QCOMPARE(doc->text(), QStringLiteral("one\n"));
        QCOMPARE(doc->savedText(), QStringLiteral("two\n"));
        QVERIFY(doc->isModified());
        QCOMPARE(textChanges.size(), 0);
        // Written in the file's new style.
        QCOMPARE(doc->fileBytes().value(), QByteArray("one\r\n"));
        doc->setText(QStringLiteral("two\n"));
        QVERIFY(!doc->isModified());
    }

    void failedSaveReportsAndLeavesFile() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.md"), "old");
        auto doc = MarkdownDocument::open(path, nullptr);
        doc->setText(QStringLiteral("new"));
        DocumentFileError error;
        QVERIFY(!doc->save(dir.filePath(QStringLiteral("missing/dir/a.md")), &error));
        QCOMPARE(error.kind, DocumentFileError::Kind::WriteFailed);
        QVERIFY(doc->isModified());

        // An unpaired surrogate cannot be written as UTF-8: a failure, no file change.
        doc->setText(QString(QChar(0xD800)));
        QVERIFY(!doc->save(path, &error));
        QCOMPARE(error.kind, DocumentFileError::Kind::NotEncodable);
        QCOMPARE(readFile(path), QByteArray("old"));
    }

    // Whether bytes open as text never turns on their length: UTF-8 that
    // opened opens again once a key is typed into it and it is saved, and
    // one more byte at its end changes nothing.
    void utf8WithControlBytesOpensAgainAfterASave() {
        QRandomGenerator random(38);
        QByteArray bytes("fo\x01\0\x06\0\x10\0\n", 9);
        int opened = 0;
        for (int round = 0; round < 3000;
             ++round, bytes = round == 1 ? QByteArray("\0'\0", 3) : textWithControlBytes(random)) {
            const QString described = QString::fromLatin1(bytes.toHex(' '));
            const auto contents = DocumentFile::decode(bytes);
            for (const char more : {'\n', 'x', '\0', '\x01'})
                QVERIFY2(DocumentFile::decode(bytes + more).has_value() == contents.has_value(),
                         qPrintable(described));
            QVERIFY2(contents || !bytes.startsWith("# Heading\n"), qPrintable(described));
            if (!contents)
                continue;
            ++opened;
            MarkdownDocument edited(*contents);
            qsizetype at = random.bounded(int(edited.length() + 1));
            at -= at > 0 && at < edited.length() && edited.text().at(at).isLowSurrogate();
            edited.replace(edited.length(), 0, QStringLiteral("k")); // "\0'\0" then "\0'\0k"
            QVERIFY2(DocumentFile::decode(edited.fileBytes().value()), qPrintable(described));
            edited.replace(at, 0, QStringLiteral("k"));
            QVERIFY2(DocumentFile::decode(edited.fileBytes().value()), qPrintable(described));
        }
        QVERIFY(opened > 2900);
    }

    void fileTypes() {
        QVERIFY(MarkdownFileTypes::hasMarkdownExtension(QStringLiteral("/x/README.MD")));
        QVERIFY(!MarkdownFileTypes::hasMarkdownExtension(QStringLiteral("md")));
        QCOMPARE(documentDirectory(QUrl::fromLocalFile(QStringLiteral("/home/u/n/a.md"))),
                 QStringLiteral("/home/u/n"));
    }
};

QTEST_GUILESS_MAIN(TestMarkdownDocument)
#include "tst_markdowndocument.moc"
