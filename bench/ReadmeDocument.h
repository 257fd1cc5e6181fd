#pragma once

#include <QString>

// A generated document shaped like the READMEs of real projects: badges and
// linked pictures, tables with links, code in a dozen languages, nested lists,
// HTML blocks and link reference definitions. The same bytes every run.
namespace ReadmeDocument {

// About `bytes` bytes of it.
QString markdown(qsizetype bytes);
// Writes the pictures it shows (badges and screenshots) into `folder`, the
// document's own folder.
bool writeImages(const QString& folder);

} // namespace ReadmeDocument
