#include "core/AppLanguageManager.h"
#include "core/DocumentFile.h"
#include "export/DocumentActions.h"
#include "export/DocumentExportService.h"
#include "export/MarkdownHTMLExporter.h"
#include "support/FakeExportDesktop.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString sample =
    QStringLiteral("# Notes\n\nCafé\u00A0crème \u2028 [js](javascript:alert(1))\n"
                   "- [x] done\n\nno final newline");

DocumentExportContext contextFor(const QString& path, const QString& markdown = sample) {
    return lightExportContext(markdown, path);
}

enum class Export { Pdf, Html, PlainText, MarkdownCopy };

void run(Export kind, const DocumentExportContext& context) {
    using namespace DocumentExportService;
    const std::function<void(const DocumentExportContext&)> exports[] = {
        [](const DocumentExportContext& c) { exportPDF(c); }, exportHTML, exportPlainText,
        exportMarkdownCopy};
    exports[int(kind)](context);
}

} // namespace

class TestExportService : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dialogsAndCancelling_data() {
        QTest::addColumn<Export>("kind");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("mimeType");
        const auto row = [](const char* suffix, Export kind, const char* mimeType) {
            QTest::newRow(suffix) << kind << QString::fromLatin1(suffix)
                                  << QString::fromLatin1(mimeType);
        };
        row("pdf", Export::Pdf, "application/pdf");
        row("html", Export::Html, "text/html");
        row("txt", Export::PlainText, "text/plain");
        row("md", Export::MarkdownCopy, "text/markdown");
    }
    void dialogsAndCancelling() {
        QFETCH(Export, kind);
        QFETCH(QString, suffix);
        QFETCH(QString, mimeType);
        QTemporaryDir dir;
        FakeExportDesktop desktop; // answers every dialog with Cancel
        run(kind, contextFor({}));
        run(kind, contextFor(dir.filePath("archive.tar.md")));
        QCOMPARE(desktop.requests.size(), 2);
        const ExportSaveRequest untitled = desktop.requests[0];
        QCOMPARE(untitled.fileName, "Untitled." + suffix);
        QCOMPARE(untitled.suffix, suffix);
        QCOMPARE(untitled.mimeType, mimeType);
        QCOMPARE(untitled.directory, QString());
        QCOMPARE(desktop.requests[1].fileName, "archive.tar." + suffix);
        QCOMPARE(desktop.requests[1].directory, dir.path());
        // Cancelled: nothing written, nothing shown, clipboard untouched.
        QCoreApplication::processEvents();
        QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        QVERIFY(desktop.warnings.isEmpty());
        QVERIFY(!desktop.clipboard);
    }

    // The proposed name is a file name: the same in every interface language,
    // and a hidden file keeps its own name.
    void proposedBaseNames_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QString>("baseName");
        QTest::newRow("untitled, Polish") << QString() << AppLanguage::Polish << "Untitled";
        QTest::newRow("hidden with extension") << ".notes.md" << AppLanguage::English << ".notes";
        QTest::newRow("hidden without extension") << ".notes" << AppLanguage::English << ".notes";
    }
    void proposedBaseNames() {
        QFETCH(QString, file);
        QFETCH(AppLanguage, language);
        QFETCH(QString, baseName);
        AppLanguageManager::apply(language);
        const QString path = file.isEmpty() ? QString() : QDir::temp().filePath(file);
        const DocumentExportContext context = contextFor(path);
        AppLanguageManager::apply(AppLanguage::English);
        QCOMPARE(context.baseName, baseName);
    }

    void writesTheContent_data() {
        QTest::addColumn<Export>("kind");
        QTest::addColumn<QString>("markdown");
        QTest::newRow("txt") << Export::PlainText << sample;
        QTest::newRow("md") << Export::MarkdownCopy << sample;
        QTest::newRow("html") << Export::Html << sample;
        // Reading takes a leading U+FEFF for a byte order mark: a copy, as a
        // save, is written after a mark so that it reads back whole.
        const QString marked = QStringLiteral("\uFEFF# Notes\n\nbody\n");
        QTest::newRow("txt, leading U+FEFF") << Export::PlainText << marked;
        QTest::newRow("md, leading U+FEFF") << Export::MarkdownCopy << marked;
    }
    void writesTheContent() {
        QFETCH(Export, kind);
        QFETCH(QString, markdown);
        QTemporaryDir dir;
        FakeExportDesktop desktop;
        desktop.answer = dir.filePath("out");
        TestSupport::writeFile(dir, "out",
                               "old contents that are longer than the new ones... " +
                                   QByteArray(4096, 'x'));
        const DocumentExportContext context = contextFor(dir.filePath("Notes.md"), markdown);
        run(kind, context);
        QVERIFY(desktop.warnings.isEmpty());
        if (kind == Export::Html) {
            QCOMPARE(TestSupport::readFile(desktop.answer),
                     MarkdownHTMLExporter::htmlDocument(markdown, context.designSystem,
                                                        context.documentDirectory)
                         .toUtf8());
            return;
        }
        // Text exports are the document's text, as a save writes it.
        const auto read = DocumentFile::read(desktop.answer, nullptr);
        QVERIFY(read);
        QCOMPARE(read->text, markdown);
        if (!markdown.startsWith(QChar(0xFEFF)))
            QCOMPARE(TestSupport::readFile(desktop.answer), markdown.toUtf8());
    }

    void writeFailureShowsExportFailed() {
        QTemporaryDir dir;
        FakeExportDesktop desktop;
        desktop.answer = TestSupport::readOnlyFolder(dir) + "/out.txt";
        QSaveFile probe(desktop.answer);
        QVERIFY(!probe.open(QIODevice::WriteOnly));
        run(Export::PlainText, contextFor({}));
        QCOMPARE(desktop.warnings.size(), 1);
        QVERIFY2(desktop.warnings[0].second.contains(probe.errorString()),
                 qPrintable(desktop.warnings[0].second));
        QVERIFY(desktop.warnings[0].second.contains("out.txt"));

        // Text UTF-8 cannot hold is an error, not a mangled file.
        desktop.answer = dir.filePath("out.md");
        run(Export::MarkdownCopy, contextFor({}, "broken " + QString(QChar(0xD800)) + " text"));
        QCOMPARE(desktop.warnings.size(), 2);
        QVERIFY(!QFile::exists(desktop.answer));
    }

    void copyAsHtmlPutsBothFormats() {
        FakeExportDesktop desktop;
        const DocumentExportContext context = contextFor({});
        DocumentExportService::copyHTML(context);
        QVERIFY(desktop.requests.isEmpty());
        QVERIFY(desktop.clipboard);
        QCOMPARE(desktop.clipboard->html(),
                 MarkdownHTMLExporter::htmlDocument(sample, context.designSystem, {}));
        QCOMPARE(desktop.clipboard->text(), sample);
        QVERIFY(!desktop.clipboard->html().contains("javascript:"));
    }

    // No file manager on the session bus (tests have none): the folder opens
    // with xdg-open, and when that fails or is missing an alert says so.
    void revealInFiles_data() {
        QTest::addColumn<QByteArray>("xdgOpen"); // the stand-in's script; empty: none
        QTest::addColumn<bool>("shown");
        QTest::newRow("opens") << QByteArray("echo \"$1\" > \"$0.log\"\n") << true;
        QTest::newRow("fails") << QByteArray("echo \"$1\" > \"$0.log\"\nexit 4\n") << false;
        QTest::newRow("missing") << QByteArray() << false;
    }

    void revealInFiles() {
        QFETCH(QByteArray, xdgOpen);
        QFETCH(bool, shown);
        QTemporaryDir dir;
        QTemporaryDir tools;
        const QString tool = tools.filePath(QStringLiteral("xdg-open"));
        if (!xdgOpen.isEmpty()) {
            TestSupport::writeFile(tools, QStringLiteral("xdg-open"), "#!/bin/sh\n" + xdgOpen);
            QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        const QByteArray originalPath = qgetenv("PATH");
        qputenv("PATH", tools.path().toUtf8());
        FakeExportDesktop desktop;
        QObject window;
        QString path;
        DocumentActions actions(&window, [&] { return contextFor(path); });
        actions.revealInFinder(); // unsaved: nothing
        QTRY_VERIFY(TestSupport::toolRunsAreOver());
        QVERIFY(!QFile::exists(tool + QStringLiteral(".log")));
        path = TestSupport::writeFile(dir, "Notes.md", "x");
        actions.revealInFinder();
        QTRY_VERIFY(TestSupport::toolRunsAreOver());
        qputenv("PATH", originalPath);

        if (!xdgOpen.isEmpty())
            QCOMPARE(TestSupport::readFile(tool + QStringLiteral(".log")),
                     QUrl::fromLocalFile(dir.path()).toEncoded() + '\n');
        QCOMPARE(desktop.warnings.size(), shown ? 0 : 1);
        if (!shown)
            QCOMPARE(
                desktop.warnings.first(),
                qMakePair(
                    QStringLiteral("Could Not Show Folder"),
                    QStringLiteral("No file manager could show the folder “%1”.").arg(dir.path())));
    }

    void pdfActionTakesTheContextWhenItStarts() {
        FakeExportDesktop desktop; // cancels
        int contexts = 0;
        auto window = std::make_unique<QObject>();
        DocumentActions actions(window.get(), [&] {
            ++contexts;
            return contextFor({});
        });
        actions.exportPDF();
        QCOMPARE(contexts, 0);
        QTRY_COMPARE(desktop.requests.size(), 1);
        QCOMPARE(contexts, 1);
        // A window that closed before the export began starts nothing.
        actions.exportPDF();
        window.reset();
        QCoreApplication::processEvents();
        QCOMPARE(contexts, 1);
    }
};

QTEST_MAIN(TestExportService)

#include "tst_exportservice.moc"
