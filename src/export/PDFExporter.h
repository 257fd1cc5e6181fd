#pragma once

#include <QString>
#include <functional>

// Prints an HTML page to an A4 PDF file through an off-screen web page. The
// page is loaded from a temporary file, so local images appear and pages of
// any size load; the PDF is made 0.15 s after the load and written atomically.
namespace PDFExporter {

// Called once on the main thread, from the event loop: an empty message means
// the PDF was written; otherwise it says why not, and no file was written.
using Completion = std::function<void(const QString& errorMessage)>;

inline constexpr int defaultTimeLimitMs = 60'000;

// Called once before the application object exists. The web engine's
// sandbox cannot run as root, and the engine ends the whole process when
// asked to start it there; the page it loads is quon's own export, with
// scripts off, so as root the engine runs without it. Without the sandbox,
// a helper program that cannot start no longer ends the process.
void prepareEngine();

// Returns at once; the work runs on the event loop. An engine that cannot
// start, a page process that ends and a load that fails are reported as
// errors; after timeLimitMs the export gives up and reports that it took
// too long.
void exportPDF(const QString& html, const QString& path, Completion completion,
               int timeLimitMs = defaultTimeLimitMs);

} // namespace PDFExporter
