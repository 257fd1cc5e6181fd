#include "export/DocumentExportContext.h"

#include "core/MarkdownFileTypes.h"

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
