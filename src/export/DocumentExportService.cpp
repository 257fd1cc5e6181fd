#include "export/DocumentExportService.h"

#include "core/DocumentFile.h"
#include "core/L10n.h"
#include "core/MarkdownFileTypes.h"
#include "core/Utf8.h"
#include "export/DocumentFileActions.h"
#include "export/ExportDesktop.h"
#include "export/MarkdownHTMLExporter.h"
#include "export/PDFExporter.h"

#include <QMimeData>

namespace {

struct ExportKind {
    const char* title;
    const char* suffix;
    const char* mimeType;
};

const ExportKind pdfKind{L10n::mark("Export as PDF"), "pdf", "application/pdf"};
const ExportKind htmlKind{L10n::mark("Export as HTML"), "html", "text/html"};
const ExportKind plainTextKind{L10n::mark("Export as Plain Text"), "txt",
                               MarkdownFileTypes::plainTextMimeType};
const ExportKind markdownKind{L10n::mark("Save Markdown Copy"), "md",
                              MarkdownFileTypes::markdownMimeType};

// The destination the user picked, or empty when the dialog was cancelled.
QString chooseDestination(const DocumentExportContext& context, const ExportKind& kind) {
    const QString suffix = QLatin1String(kind.suffix);
    return ExportDesktop::shared().chooseSavePath(
        {L10n::tr(kind.title), context.baseName + QLatin1Char('.') + suffix, suffix,
         QLatin1String(kind.mimeType), context.documentDirectory});
}

QString page(const DocumentExportContext& context) {
    return MarkdownHTMLExporter::htmlDocument(context.markdown, context.designSystem,
                                              context.documentDirectory);
}

void writeBytes(const QString& path, const std::optional<QByteArray>& bytes) {
    DocumentFileError error;
    if (!bytes)
        error = {DocumentFileError::Kind::NotEncodable, path, {}};
    if (!bytes || !DocumentFile::write(path, *bytes, &error))
        DocumentFileActions::presentError(error.message());
}

void exportText(const DocumentExportContext& context, const ExportKind& kind, bool asPage) {
    const QString path = chooseDestination(context, kind);
    if (path.isEmpty())
        return;
    // The Markdown byte for byte as a save writes it; a page as a new file.
    writeBytes(path, asPage ? DocumentFile::encode(page(context), LineEnding::LF, false)
                            : context.markdownBytes());
}

} // namespace

void DocumentExportService::exportPDF(const DocumentExportContext& context,
                                      std::function<void()> finished) {
    const QString path = chooseDestination(context, pdfKind);
    if (path.isEmpty()) {
        if (finished)
            finished();
        return;
    }
    PDFExporter::exportPDF(MarkdownHTMLExporter::printDocument(
                               context.markdown, context.designSystem, context.documentDirectory),
                           path, [finished = std::move(finished)](const QString& errorMessage) {
                               if (!errorMessage.isEmpty())
                                   DocumentFileActions::presentError(errorMessage);
                               if (finished)
                                   finished();
                           });
}

void DocumentExportService::exportHTML(const DocumentExportContext& context) {
    exportText(context, htmlKind, true);
}

void DocumentExportService::exportPlainText(const DocumentExportContext& context) {
    exportText(context, plainTextKind, false);
}

void DocumentExportService::exportMarkdownCopy(const DocumentExportContext& context) {
    exportText(context, markdownKind, false);
}

void DocumentExportService::copyHTML(const DocumentExportContext& context) {
    auto* data = new QMimeData;
    data->setHtml(page(context));
    // The bytes a save writes, read back with their line breaks and mark.
    const std::optional<QByteArray> bytes = context.markdownBytes();
    const std::optional<QString> text = bytes ? Utf8::decode(*bytes) : std::nullopt;
    data->setText(text.value_or(context.markdown));
    ExportDesktop::shared().setClipboard(data);
}
