#pragma once

#include <QString>
#include <functional>

// Figures print as "bench: NAME VALUE UNIT". Each bench file registers its
// figures with a static Bench::Registration.
namespace Bench {

void report(const QString& name, double value, const char* unit);
// Runs fn repeatedly and returns the median time in milliseconds.
double medianMs(int runs, const std::function<void()>& fn);
// A generated Markdown document of about `bytes` bytes.
QString generatedMarkdown(qsizetype bytes);
// About 1 MB in 20,000 lines, each with three "match": 60,000 matches.
QString matchDocument();
// The resident memory of the process now, in MB (Linux).
double residentMemoryMb();

struct Registration {
    Registration(const char* name, void (*fn)());
};

} // namespace Bench
