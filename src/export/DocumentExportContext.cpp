#include "export/DocumentExportContext.h"

#include "core/MarkdownDocument.h"
#include "core/MarkdownFileTypes.h"

std::optional<QByteArray> DocumentExportContext::markdownBytes() const {
    if (document)
        return document->fileBytes();
    return DocumentFile::encode(markdown, LineEnding::LF, false);
}

DocumentExportContext DocumentExportContext::make(const QString& markdown, const QUrl& fileURL,
                                                  const DesignSystem& designSystem) {
    DocumentExportContext context;
    context.markdown = markdown;
    context.fileURL = fileURL;
    context.designSystem = designSystem;
    context.documentDirectory = ::documentDirectory(fileURL);
    // A file name, so the same in every interface language.
    const QString name = documentBaseName(fileURL);
    context.baseName = name.isEmpty() ? QStringLiteral("Untitled") : name;
    return context;
}

DocumentExportContext DocumentExportContext::make(MarkdownDocument& document, const QUrl& fileURL,
                                                  const DesignSystem& designSystem) {
    DocumentExportContext context = make(document.text(), fileURL, designSystem);
    context.document = &document;
    return context;
}
