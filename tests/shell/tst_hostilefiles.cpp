#include "core/MarkdownDocument.h"
#include "core/Utf8.h"
#include "editor/EditorView.h"
#include "editor/MarkdownTextView.h"
#include "shell/DocumentController.h"
#include "shell/SceneManager.h"
#include "shell/WorkspaceView.h"
#include "support/BackgroundWork.h"
#include "support/HostileFiles.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using TestSupport::readFile;

// Generated hostile files through the real document windows: each opens, or
// is refused with a message naming it and offered as a UTF-8 copy; an opened
// one saves back byte for byte, and a key typed into its editor changes the
// file by exactly that key.
class TestHostileFiles : public QObject {
    Q_OBJECT

    DocumentController& controller = DocumentController::shared();
    ScriptedDialogs* dialogs = nullptr;
    SceneManager* scenes = nullptr;

private Q_SLOTS:
    void initTestCase() { scenes = new SceneManager(controller, this); }

    void init() {
        TestSupport::resetPreferences();
        dialogs = &ScriptedDialogs::install();
    }

    void cleanup() {
        dialogs->discardAll(controller);
        QTRY_VERIFY_WITH_TIMEOUT(TestSupport::backgroundWorkIsOver(), 120'000);
    }

    void opensOrIsRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("isUtf8");
        // A window lays its preview out in seconds per megabyte of a paragraph.
        for (const HostileFiles::Sample& sample : HostileFiles::samples(1024 * 1024))
            QTest::newRow(qPrintable(sample.name)) << sample.bytes << sample.isUtf8;
    }
    void opensOrIsRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, isUtf8);
        QTemporaryDir dir;
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        const QString path = TestSupport::writeFile(dir, name, bytes);

        if (!isUtf8) {
            dialogs->confirmations = {true};
            QCOMPARE(controller.open(path), DocumentController::OpenResult::NotOpened);
            QCOMPARE(dialogs->confirmTexts,
                     {QStringLiteral("\"%1\" is not valid UTF-8 text.").arg(name)});
            QCOMPARE(readFile(path), bytes);
            // The copy it offers is UTF-8 and opens.
            QCOMPARE(ScriptedDialogs::openFileNames(controller),
                     {QFileInfo(path).completeBaseName() + QStringLiteral(" 2.md")});
            const QString copy = controller.documents().first()->fileUrl().toLocalFile();
            QVERIFY(Utf8::decode(readFile(copy)).has_value());
            return;
        }

        QCOMPARE(controller.open(path), DocumentController::OpenResult::Opened);
        QVERIFY(dialogs->alerts.isEmpty() && dialogs->confirmTexts.isEmpty());
        MarkdownDocument* document = controller.documents().first();
        QVERIFY(controller.save(document));
        QCOMPARE(readFile(path), bytes);

        // One key typed in the middle of the text (never inside a pair of
        // surrogates) touches those bytes only.
        const auto* window = qobject_cast<WorkspaceView*>(controller.windowFor(document));
        QVERIFY(window);
        MarkdownTextView* editor = qobject_cast<EditorView*>(window->panes()->editor())->textView();
        const QString text = document->text();
        qsizetype position = text.size() / 2;
        if (position > 0 && text.at(position).isLowSurrogate())
            ++position;
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(int(position));
        editor->setTextCursor(cursor);
        QTest::keyClicks(editor, QStringLiteral("Z"));
        QCOMPARE(document->text(), QString(text).insert(position, QLatin1Char('Z')));
        QVERIFY(controller.save(document));
        const qsizetype at = HostileFiles::byteOffset(bytes, position);
        QCOMPARE(readFile(path), bytes.left(at) + 'Z' + bytes.mid(at));
    }

    // The whole 10 MB line through the document: byte for byte unedited, and
    // an edit in its middle changes only that.
    void tenMegabyteLine() {
        QByteArray bytes;
        for (const HostileFiles::Sample& sample : HostileFiles::samples(10 * 1024 * 1024)) {
            if (sample.name == QLatin1String("one-line.md"))
                bytes = sample.bytes;
        }
        QCOMPARE(bytes.size(), 10 * 1024 * 1024);
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, QStringLiteral("line.md"), bytes);
        DocumentFileError error;
        const std::unique_ptr<MarkdownDocument> document = MarkdownDocument::open(path, &error);
        QVERIFY(document);
        QVERIFY(document->save(path, &error));
        QCOMPARE(readFile(path), bytes);
        const qsizetype middle = bytes.size() / 2;
        document->replace(middle, 1, QStringLiteral("Z"));
        QVERIFY(document->save(path, &error));
        QCOMPARE(readFile(path), bytes.left(middle) + 'Z' + bytes.mid(middle + 1));
    }
};

QTEST_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
