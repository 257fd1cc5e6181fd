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
// one-table document, as the preview's parsing thread does it after a pause;
// then after a blank line typed after a middle row (the table ends there, the
// rows below become a paragraph) and after that line removed again.
void tableReparseFigures() {
    const QString text = Bench::tenMegabyteTable();
    const auto before = MarkdownParser::parse(text);
    QString edited = text;
    edited.insert(text.indexOf(QLatin1String(" |"), text.size() / 2), u'x');
    double start = threadCpuMs();
    const auto after = MarkdownParser::reparse(*before, edited);
    Bench::report(QStringLiteral("preview.reparse-cpu.table-10mb"), threadCpuMs() - start, "ms");

    QString split = text;
    split.insert(text.indexOf(u'\n', text.size() / 2), u'\n');
    start = threadCpuMs();
    const auto cut = MarkdownParser::reparse(*before, split);
    Bench::report(QStringLiteral("preview.reparse-cpu.table-10mb.return"), threadCpuMs() - start,
                  "ms");
    start = threadCpuMs();
    const auto joined = MarkdownParser::reparse(*cut, text);
    Bench::report(QStringLiteral("preview.reparse-cpu.table-10mb.join"), threadCpuMs() - start,
                  "ms");
    // A middle row deleted, the rows below made from their lines by the join.
    QString removed = text;
    const qsizetype row = text.indexOf(u'\n', text.size() / 2) + 1;
    removed.remove(row, text.indexOf(u'\n', row) + 1 - row);
    start = threadCpuMs();
    const auto shorter = MarkdownParser::reparse(*joined, removed);
    Bench::report(QStringLiteral("preview.reparse-cpu.table-10mb.delete-row"),
                  threadCpuMs() - start, "ms");
}

const Bench::Registration registration("preview-table", tableReparseFigures);

} // namespace
