#pragma once

#include "export/DocumentExportContext.h"

#include <QPointer>
#include <functional>

// What a document window offers the menus, toolbar and command palette: a
// fresh export context on demand, revealing the file and the PDF export.
struct DocumentActions {
    // owner: the window; work it started does not run once the window is gone.
    DocumentActions(QObject* owner, std::function<DocumentExportContext()> exportContext);

    std::function<DocumentExportContext()> exportContext;

    // Shows the file in the file manager, with an alert when none could;
    // nothing for an unsaved document.
    void revealInFinder() const;
    // Starts the PDF export on the next turn of the event loop and returns;
    // the context is taken then, not now.
    void exportPDF() const;

private:
    QPointer<QObject> m_owner;
};
