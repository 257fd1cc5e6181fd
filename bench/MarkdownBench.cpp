#include "Bench.h"

#include "core/MarkdownTree.h"

namespace {

void parseFigures() {
    const QString text = Bench::generatedMarkdown(1024 * 1024);
    const double ms = Bench::medianMs(5, [&] { MarkdownParser::parse(text); });
    Bench::report(QStringLiteral("markdown.parse.1mb"), ms, "ms");
}

const Bench::Registration registration("markdown", parseFigures);

} // namespace
