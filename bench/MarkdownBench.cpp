#include "Bench.h"

#include "core/MarkdownTree.h"

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

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

void parseFigures() {
    const QString text = Bench::generatedMarkdown(1024 * 1024);
    const QByteArray utf8 = text.toUtf8();
    const double raw = Bench::medianMs(9, [&] { parseRaw(utf8); });
    Bench::report(QStringLiteral("markdown.parse.raw.1mb"), raw, "ms");
    const double ms = Bench::medianMs(9, [&] { MarkdownParser::parse(text); });
    Bench::report(QStringLiteral("markdown.parse.1mb"), ms, "ms");
}

const Bench::Registration registration("markdown", parseFigures);

} // namespace
