#include "Bench.h"

#include "core/MarkdownParser.h"
#include "core/MarkdownTree.h"

#include <ctime>

namespace {

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The CPU a re-parse takes after one key typed in the middle of the 10 MB
// one-table document, as the preview's parsing thread does it after a pause.
void tableReparseFigures() {
    const QString text = Bench::tenMegabyteTable();
    const auto before = MarkdownParser::parse(text);
    QString edited = text;
    edited.insert(text.indexOf(QLatin1String(" |"), text.size() / 2), u'x');
    const double start = threadCpuMs();
    const auto after = MarkdownParser::reparse(*before, edited);
    Bench::report(QStringLiteral("preview.reparse-cpu.table-10mb"), threadCpuMs() - start, "ms");
}

const Bench::Registration registration("preview-table", tableReparseFigures);

} // namespace
