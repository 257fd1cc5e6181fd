#include "Bench.h"

#include "export/MarkdownHTMLExporter.h"
#include "export/PDFExporter.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <cstdio>

namespace {

DesignSystem exportDesign() {
    return DesignSystem::make(DesignSystem::Colors::light(), FontDesign::Serif, false);
}

void htmlFigures() {
    const QString markdown = Bench::generatedMarkdown(1024 * 1024);
    QString html;
    const double ms = Bench::medianMs(
        5, [&] { html = MarkdownHTMLExporter::htmlDocument(markdown, exportDesign(), {}); });
    Bench::report(QStringLiteral("export.html.1mb"), ms, "ms");
}

void pdfFigures() {
    QTemporaryDir dir;
    const QString html = MarkdownHTMLExporter::printDocument(Bench::generatedMarkdown(100 * 1024),
                                                             exportDesign(), {});
    QString error;
    // Every run starts the printer and its web engine.
    const double ms = Bench::medianMs(3, [&] {
        QEventLoop loop;
        PDFExporter::exportPDF(html, dir.filePath(QStringLiteral("bench.pdf")),
                               [&](const QString& message) {
                                   error = message;
                                   loop.quit();
                               });
        loop.exec();
    });
    if (error.isEmpty())
        Bench::report(QStringLiteral("export.pdf.100kb"), ms, "ms");
    else
        std::fprintf(stderr, "export.pdf.100kb failed: %s\n", qPrintable(error));
}

const Bench::Registration html("export.html", htmlFigures);
const Bench::Registration pdf("export.pdf", pdfFigures);

} // namespace
