#include "export/DocumentFileActions.h"

#include "core/L10n.h"
#include "export/ExportDesktop.h"

void DocumentFileActions::presentError(const QString& message) {
    ExportDesktop::shared().showWarning(L10n::tr("Export Failed"), message);
}
