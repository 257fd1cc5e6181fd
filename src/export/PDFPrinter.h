#pragma once

// The printer program (quon-pdf-printer PAGE-FILE PDF-FILE): prints quon's
// export page with the web engine in a process of its own, so nothing the
// engine does can end quon. Its exit status is an Outcome. Only that program
// links the web engine: loaded into quon, the engine sets up OpenGL as the
// application starts, tens of megabytes in every window's process.
namespace PDFPrinter {

inline constexpr char programName[] = "quon-pdf-printer";

// The printer's exit status; quon turns it into its message.
enum Outcome { Written = 0, NotCreated = 1, PageNotLoaded = 3 };

int run(int argc, char** argv);

} // namespace PDFPrinter
