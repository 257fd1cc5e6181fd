#pragma once

#include <QString>
#include <functional>

// Prints an HTML page to an A4 PDF file with the printer program
// (PDFPrinter), a process of its own: nothing the web engine does can end
// quon. The page goes to it in a temporary file, so local images appear and
// pages of any size load; quon writes the PDF it made atomically.
namespace PDFExporter {

// Called once on the main thread, from the event loop: an empty message means
// the PDF was written; otherwise it says why not, and no file was written.
using Completion = std::function<void(const QString& errorMessage)>;

inline constexpr int defaultTimeLimitMs = 60'000;

// Called once before the application object exists, in the process that runs
// the web engine. The engine's sandbox cannot run as root, and the engine
// ends the whole process when asked to start it there; the page it loads is
// quon's own export, with scripts off, so as root the engine runs without it.
void prepareEngine();

// Returns at once; the work runs on the event loop. A printer or engine that
// cannot start, one that ends and a load that fails are reported as errors;
// after timeLimitMs the printer is stopped and the export reports that it
// took too long. The printer is stopped when quon quits.
void exportPDF(const QString& html, const QString& path, Completion completion,
               int timeLimitMs = defaultTimeLimitMs);

// The printer program quon runs: the build's own for any program in the
// build folder, else the one installed beside the executable in the given
// folder ("PREFIX/bin" keeps it in "PREFIX/lib/quon").
QString printerProgram();
QString printerProgramFor(const QString& executableFolder);
// Tests run another program; an empty path restores the default.
void setPrinterProgram(const QString& path);

} // namespace PDFExporter
