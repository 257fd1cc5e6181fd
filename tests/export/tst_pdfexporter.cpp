#include "export/DocumentExportService.h"
#include "export/MarkdownHTMLExporter.h"
#include "export/PDFExporter.h"
#include "support/FakeExportDesktop.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

constexpr int exportTimeoutMs = 90'000;

// Runs a poppler tool and returns its standard output; empty on failure.
QString tool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    process.waitForFinished(30'000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QString pdfText(const QString& path) {
    return tool("pdftotext", {path, "-"});
}

// Image rows of "pdfimages -list" (two header lines).
int pdfImageCount(const QString& path) {
    const QStringList lines = tool("pdfimages", {"-list", path}).split('\n', Qt::SkipEmptyParts);
    return std::max<int>(0, lines.size() - 2);
}

const auto contextFor = lightExportContext;

// Runs the PDF export through the service and waits for its end.
void exportThroughService(const DocumentExportContext& context) {
    bool finished = false;
    DocumentExportService::exportPDF(context, [&] { finished = true; });
    QTRY_VERIFY_WITH_TIMEOUT(finished, exportTimeoutMs);
}

QString exportDirectly(const QString& html, const QString& path, int timeLimitMs) {
    bool finished = false;
    QString error;
    PDFExporter::exportPDF(
        html, path,
        [&](const QString& message) {
            finished = true;
            error = message;
        },
        timeLimitMs);
    if (!QTest::qWaitFor([&] { return finished; }, exportTimeoutMs))
        return QStringLiteral("no answer");
    return error;
}

// One page of a PDF as an image at 36 dots per inch (half a CSS pixel a dot).
QImage pdfPage(const QString& path, int page) {
    const QString prefix = QFileInfo(path).dir().filePath(QStringLiteral("page"));
    const QString number = QString::number(page);
    tool("pdftoppm", {"-r", "36", "-png", "-singlefile", "-f", number, "-l", number, path, prefix});
    return QImage(prefix + ".png");
}

bool sameColour(const QColor& a, const QColor& b) {
    return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2 &&
           qAbs(a.blue() - b.blue()) <= 2;
}

// Whether every pixel of the rows has the colour. The last column and row
// of the raster are partly paper: an A4 page is no whole number of dots.
bool rowsAre(const QImage& image, int from, int to, const QColor& colour) {
    for (int y = from; y < qMin(to, image.height() - 1); ++y)
        for (int x = 0; x < image.width() - 1; ++x)
            if (!sameColour(image.pixelColor(x, y), colour))
                return false;
    return true;
}

QByteArray noisePng(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = 0xFF000000u | (QRandomGenerator::global()->generate() & 0xFFFFFFu);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

class TestPdfExporter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pageOverTwoMegabytes() {
        QTemporaryDir dir;
        const QByteArray png = noisePng(900, 700);
        const QString markdown = "Before the picture\n\n![noise](data:image/png;base64," +
                                 QString::fromLatin1(png.toBase64()) + ")\n\nAfter the picture\n";
        QVERIFY(markdown.size() > 2 * 1024 * 1024);
        FakeExportDesktop desktop;
        desktop.answer = dir.filePath("big.pdf");
        exportThroughService(contextFor(markdown, {}));
        QVERIFY(desktop.warnings.isEmpty());
        const QString text = pdfText(desktop.answer);
        QVERIFY(text.contains("Before the picture"));
        QVERIFY(text.contains("After the picture"));
        QVERIFY(pdfImageCount(desktop.answer) >= 1);
    }

    void readOnlyFolderShowsExportFailed() {
        QTemporaryDir dir;
        FakeExportDesktop desktop;
        desktop.answer = TestSupport::readOnlyFolder(dir) + "/out.pdf";
        QSaveFile probe(desktop.answer);
        QVERIFY(!probe.open(QIODevice::WriteOnly));
        exportThroughService(contextFor("# Title\n", {}));
        QCOMPARE(desktop.warnings.size(), 1);
        QVERIFY2(desktop.warnings[0].second.contains(probe.errorString()),
                 qPrintable(desktop.warnings[0].second));
        QVERIFY(!QFile::exists(desktop.answer));
    }

    // Printed whole on A4 in a dark theme, with a picture beside the
    // document: every page in the page colour to its edges, the last one
    // too, with the same margin at the top and bottom of each page; long
    // code lines wrap instead of being cut off.
    void darkPagesPrintWhole() {
        QTemporaryDir dir;
        QImage picture(160, 90, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(dir.filePath("picture.png")));
        AppearanceInputs dark;
        dark.appearance = QStringLiteral("dark");
        const DesignSystem design = AppearanceResolver::designSystem(dark, ColorScheme::Dark);
        const QString codeLine = "let total = [" + QString(40, 'x') + ", " + QString(90, 'y') +
                                 "].reduce((sum, value) => sum + value.length, 0); // end";
        QString markdown = "# Report\n\n![A picture](picture.png)\n\n";
        for (int i = 0; i < 110; ++i)
            markdown += QString("Paragraph %1 fills the page with words that wrap at least "
                                "once across the width of an A4 page.\n\n")
                            .arg(i);
        markdown += "```js\n" + codeLine + "\n```\n\nThe end.\n";
        FakeExportDesktop desktop;
        desktop.answer = dir.filePath("dark.pdf");
        exportThroughService(DocumentExportContext::make(
            markdown, QUrl::fromLocalFile(dir.filePath("Notes.md")), design));
        QVERIFY(desktop.warnings.isEmpty());
        QVERIFY(tool("pdfinfo", {desktop.answer}).contains("(A4)"));
        QVERIFY(pdfImageCount(desktop.answer) >= 1);
        // An ordinary file, not the private mode web engines write with.
        struct stat info;
        QCOMPARE(stat(QFile::encodeName(desktop.answer).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0644));

        const int pages = tool("pdfinfo", {desktop.answer})
                              .section("Pages:", 1)
                              .section('\n', 0, 0)
                              .trimmed()
                              .toInt();
        QVERIFY2(pages >= 5, qPrintable(QString::number(pages)));
        const QColor background(design.colors.previewSurface);
        const QImage last = pdfPage(desktop.answer, pages);
        QVERIFY(!last.isNull());
        const int bottom = last.height() - 2;
        QVERIFY(sameColour(last.pixelColor(0, bottom), background));
        QVERIFY(sameColour(last.pixelColor(last.width() - 2, bottom), background));
        QVERIFY(rowsAre(last, last.height() * 3 / 4, last.height(), background));

        // A page in the middle: text, and 48 px (18 dots) of page colour above and below it.
        const QImage middle = pdfPage(desktop.answer, 2);
        QVERIFY(!rowsAre(middle, 0, middle.height(), background));
        QVERIFY(rowsAre(middle, 0, 16, background));
        QVERIFY(rowsAre(middle, middle.height() - 16, middle.height(), background));

        QString text = pdfText(desktop.answer);
        text.remove(QRegularExpression("\\s"));
        QVERIFY(text.contains(QString(codeLine).remove(' ')));
    }

    void givingUpKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, "old.pdf", "old");
        const QString html = MarkdownHTMLExporter::htmlDocument(
            "# Slow", DesignSystem::make(DesignSystem::Colors::light(), FontDesign::Serif, false),
            {});
        QVERIFY(!exportDirectly(html, path, 0).isEmpty());
        QCOMPARE(TestSupport::readFile(path), QByteArray("old"));
        // Nothing arrives late from the abandoned page: a whole export of the
        // same page, started after it, is over first.
        QCOMPARE(exportDirectly(html, dir.filePath("other.pdf"), PDFExporter::defaultTimeLimitMs),
                 QString());
        QCOMPARE(TestSupport::readFile(path), QByteArray("old"));
        // Within the time limit the same file is replaced.
        QCOMPARE(exportDirectly(html, path, PDFExporter::defaultTimeLimitMs), QString());
        QVERIFY(pdfText(path).contains("Slow"));
    }

    // Whatever the printer does, quon reports it once and writes nothing but
    // a finished PDF; a printer that hangs is stopped.
    void failingPrinterWritesNothing_data() {
        QTest::addColumn<QByteArray>("script"); // the printer's; empty: there is none
        QTest::addColumn<QString>("message");
        const QString notCreated = QStringLiteral("The PDF couldn’t be created.");
        QTest::newRow("missing") << QByteArray() << notCreated;
        QTest::newRow("crashes") << QByteArray("kill -SEGV $$") << notCreated;
        QTest::newRow("ends without a PDF") << QByteArray("exit 0") << notCreated;
        QTest::newRow("page not loaded")
            << QByteArray("printf '%PDF-' > \"$2\"; exit 3")
            << QStringLiteral("The page couldn’t be loaded for printing.");
        QTest::newRow("hangs") << QByteArray("echo $$ > \"$0.pid\"; exec sleep 600")
                               << QStringLiteral("Making the PDF took too long and was stopped.");
    }
    void failingPrinterWritesNothing() {
        QFETCH(QByteArray, script);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString printer = dir.filePath("printer");
        if (!script.isEmpty()) {
            TestSupport::writeFile(dir, "printer", "#!/bin/sh\n" + script + "\n");
            QVERIFY(QFile::setPermissions(printer, QFile::ReadOwner | QFile::ExeOwner));
        }
        PDFExporter::setPrinterProgram(printer);
        const QString path = TestSupport::writeFile(dir, "old.pdf", "old");
        // Only a printer that never ends meets the time limit, however slow the machine.
        const bool hangs = script.contains("sleep");
        const QString error =
            exportDirectly("<p>Page</p>", path, hangs ? 2'000 : PDFExporter::defaultTimeLimitMs);
        PDFExporter::setPrinterProgram({});
        QCOMPARE(error, message);
        QCOMPARE(TestSupport::readFile(path), QByteArray("old"));
        if (QFileInfo::exists(printer + ".pid")) {
            const QByteArray pid = TestSupport::readFile(printer + ".pid").trimmed();
            QVERIFY(!pid.isEmpty());
            QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists("/proc/" + pid), 30'000);
        }
    }

    // quon, its tests and its bench run the printer of their build; an
    // installed quon the one in its own lib folder.
    void printerOfTheBuild() {
        const QString ofBuild = PDFExporter::printerProgram();
        QVERIFY2(QFileInfo(ofBuild).isExecutable(), qPrintable(ofBuild));
        QCOMPARE(PDFExporter::printerProgramFor(QFileInfo(QUON_EXECUTABLE).path()), ofBuild);
    }

    // The web engine lives in the printer alone: in a process of quon's own
    // code it would set up OpenGL (a software renderer of tens of megabytes)
    // as the application starts.
    void webEngineStaysInThePrinter() {
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY(!mapped.isEmpty());
        for (const char* library : {"libQt6WebEngineCore", "libQt6Quick.", "/dri/"})
            QVERIFY2(!mapped.contains(library), library);
    }
};

int main(int argc, char** argv) {
    umask(022);
    QApplication app(argc, argv);
    CheckedTest<TestPdfExporter> test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pdfexporter.moc"
