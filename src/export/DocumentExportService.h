#pragma once

#include "export/DocumentExportContext.h"

#include <functional>

// The five document exports of menus, toolbar and command palette. Each file
// export asks for a destination first; a cancelled dialog renders and writes
// nothing. Failures show the "Export Failed" alert.
namespace DocumentExportService {

// Returns once the destination is chosen; the printing runs on the event loop
// and `finished` (optional) is called when it has ended, alert included.
void exportPDF(const DocumentExportContext& context, std::function<void()> finished = {});
void exportHTML(const DocumentExportContext& context);
void exportPlainText(const DocumentExportContext& context);
void exportMarkdownCopy(const DocumentExportContext& context);
// The page as HTML and the Markdown as plain text on the clipboard.
void copyHTML(const DocumentExportContext& context);

} // namespace DocumentExportService
