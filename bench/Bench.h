#pragma once

#include <QString>
#include <functional>
#include <memory>

class MarkdownDocument;
class WorkspaceView;

// Figures print as "bench: NAME VALUE UNIT". Each bench file registers its
// figures with a static Bench::Registration.
namespace Bench {

void report(const QString& name, double value, const char* unit);
// Runs fn repeatedly and returns the median time in milliseconds.
double medianMs(int runs, const std::function<void()>& fn);
// A generated Markdown document of about `bytes` bytes.
QString generatedMarkdown(qsizetype bytes);
// One table of 80,000 rows, about 10 MB.
QString longTable();
// One table of three columns and 749,000 short rows, about 10 MB.
QString tenMegabyteTable();
// About 1 MB in 20,000 lines, each with three "match": 60,000 matches.
QString matchDocument();
// The resident memory of the process now, in MB (Linux).
double residentMemoryMb();
// Peak resident memory since the last reset (or the start), in MB (Linux).
double peakMemoryMb();
void resetPeakMemory();
// A document window with the standard panes, 1200×800 and shown.
std::unique_ptr<WorkspaceView> openWindow(MarkdownDocument& document);
// Whether to take a figure here. Figures about the memory of the whole
// process run in a process of their own, with preferences of their own, so
// that nothing an earlier figure freed hides what they take: in the process
// started for `key`, yes; anywhere else that process is started (this
// program again, running only `group`) and waited for, and the answer is no.
bool ownProcess(const char* group, const char* key);

struct Registration {
    Registration(const char* name, void (*fn)());
};

} // namespace Bench
