#pragma once

// The printer program (quon-pdf-printer PAGE-FILE PDF-FILE): prints quon's
// export page with the web engine in a process of its own, so nothing the
// engine does can end quon. Its exit status is a PDFPrintJob::Outcome.
namespace PDFPrinter {

inline constexpr char programName[] = "quon-pdf-printer";

int run(int argc, char** argv);

} // namespace PDFPrinter
