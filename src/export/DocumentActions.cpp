#include "export/DocumentActions.h"

#include "export/DocumentExportService.h"
#include "platform/FileManager.h"

#include <QTimer>

DocumentActions::DocumentActions(QObject* owner,
                                 std::function<DocumentExportContext()> exportContext)
    : exportContext(std::move(exportContext)), m_owner(owner) {}

void DocumentActions::revealInFinder() const {
    const DocumentExportContext context = exportContext();
    if (context.fileURL.isLocalFile())
        FileManager::showItem(context.fileURL.toLocalFile());
}

void DocumentActions::exportPDF() const {
    if (!m_owner)
        return;
    QTimer::singleShot(0, m_owner, [makeContext = exportContext] {
        DocumentExportService::exportPDF(makeContext());
    });
}
