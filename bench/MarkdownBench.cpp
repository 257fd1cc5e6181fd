#include "Bench.h"

#include "core/MarkdownParseCache.h"
#include "core/MarkdownParser.h"
#include "core/MarkdownTree.h"

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <QElapsedTimer>
#include <algorithm>
#include <vector>

namespace {

// cmark-gfm alone with the options and extensions quon uses, tree freed.
void parseRaw(const QByteArray& utf8) {
    cmark_gfm_core_extensions_ensure_registered();
    cmark_parser* parser = cmark_parser_new(CMARK_OPT_SMART | CMARK_OPT_SOURCEPOS);
    for (const char* name : {"table", "strikethrough", "tasklist"})
        if (cmark_syntax_extension* ext = cmark_find_syntax_extension(name))
            cmark_parser_attach_syntax_extension(parser, ext);
    cmark_parser_feed(parser, utf8.constData(), size_t(utf8.size()));
    cmark_node* root = cmark_parser_finish(parser);
    cmark_node_free(root);
    cmark_parser_free(parser);
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Both parses take turns, so that neither finds the memory the way the other
// left it more often: each gets the same share of a heap that was just grown
// or given back. Each frees what it made.
void parseFigures() {
    const QString text = Bench::generatedMarkdown(1024 * 1024);
    const QByteArray utf8 = text.toUtf8();
    std::vector<double> raw;
    std::vector<double> quon;
    for (int round = 0; round < 15; ++round) {
        QElapsedTimer timer;
        timer.start();
        parseRaw(utf8);
        raw.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        MarkdownParser::parse(text);
        quon.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    Bench::report(QStringLiteral("markdown.parse.raw.1mb"), median(raw), "ms");
    Bench::report(QStringLiteral("markdown.parse.1mb"), median(quon), "ms");

    // The largest text a pane shown anew parses at once, dense with inline
    // markup: what that parse holds the UI thread.
    QString dense;
    for (int i = 0; dense.size() < MarkdownParseCache::parsedAtOnce; ++i)
        dense +=
            QStringLiteral("word%1 *emphasis* **strong** `code` [link](https://x.y/%1) ").arg(i);
    dense.truncate(MarkdownParseCache::parsedAtOnce);
    Bench::report(QStringLiteral("markdown.parse.at-once-limit"),
                  Bench::medianMs(15, [&] { MarkdownParser::parse(dense); }), "ms");
}

const Bench::Registration registration("markdown", parseFigures);

} // namespace
