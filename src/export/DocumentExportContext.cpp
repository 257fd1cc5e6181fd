#include "export/DocumentExportContext.h"

#include "core/L10n.h"
#include "core/MarkdownFileTypes.h"

#include <QFileInfo>

DocumentExportContext DocumentExportContext::make(const QString& markdown, const QUrl& fileURL,
                                                  const DesignSystem& designSystem) {
    DocumentExportContext context;
    context.markdown = markdown;
    context.fileURL = fileURL;
    context.designSystem = designSystem;
    context.documentDirectory = ::documentDirectory(fileURL);
    // Only the last extension goes: "archive.tar.md" proposes "archive.tar".
    const QString name = QFileInfo(fileURL.toLocalFile()).completeBaseName();
    context.baseName = name.isEmpty() ? L10n::tr("Untitled") : name;
    return context;
}
