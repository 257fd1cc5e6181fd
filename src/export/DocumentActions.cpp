#include "export/DocumentActions.h"

#include "core/L10n.h"
#include "export/DocumentExportService.h"
#include "export/ExportDesktop.h"
#include "platform/FileManager.h"

#include <QFileInfo>
#include <QTimer>

DocumentActions::DocumentActions(QObject* owner,
                                 std::function<DocumentExportContext()> exportContext)
    : exportContext(std::move(exportContext)), m_owner(owner) {}

void DocumentActions::revealInFinder() const {
    const DocumentExportContext context = exportContext();
    if (!context.fileURL.isLocalFile())
        return;
    const QString folder = QFileInfo(context.fileURL.toLocalFile()).absolutePath();
    FileManager::showItem(context.fileURL.toLocalFile(), [folder](bool shown) {
        if (!shown)
            ExportDesktop::shared().showWarning(
                L10n::tr("Could Not Show Folder"),
                L10n::tr("No file manager could show the folder “%1”.").arg(folder));
    });
}

void DocumentActions::exportPDF() const {
    if (!m_owner)
        return;
    QTimer::singleShot(0, m_owner, [makeContext = exportContext] {
        DocumentExportService::exportPDF(makeContext());
    });
}
