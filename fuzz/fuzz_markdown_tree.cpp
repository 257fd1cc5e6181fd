// The Markdown tree: a parse, the formatter over every node, and the re-parse
// after an edit and a parse in small sections, which must each equal a full
// parse of the edited text.
#include "FuzzSupport.h"

#include "core/MarkdownFormatter.h"
#include "core/MarkdownParseCache.h"
#include "core/MarkdownParser.h"
#include "core/MarkdownTree.h"
#include "core/MarkdownTreeStorage.h"
#include "support/MarkdownDump.h"

#include <QCoreApplication>

namespace {

void visit(const ParsedMarkdown& parsed, const MarkdownNode& node) {
    const QStringView source = parsed.sourceView(node);
    Fuzz::check(source.isEmpty() ||
                    (source.data() >= parsed.text.constData() &&
                     source.data() + source.size() <= parsed.text.constData() + parsed.text.size()),
                "a node's source lies inside the text");
    MarkdownFormatter::format(node);
    node.plainText();
    if (node.kind == MarkdownNodeKind::Table) {
        node.tableHead();
        node.tableBody();
    }
    for (const MarkdownNode& child : node.children)
        visit(parsed, child);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const qsizetype removed = data.ConsumeIntegralInRange(0, 64);
    const QString added = Fuzz::text(data, 64);
    const QString text = Fuzz::remainingText(data);

    MarkdownParseCache cache;
    cache.parseNow(text);
    // A text too large to parse at once comes back from the parsing thread.
    while (cache.isPending())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const std::shared_ptr<const ParsedMarkdown> before = cache.document();
    Fuzz::check(before && before->text == text, "the cache holds the parse of its text");
    visit(*before, before->document);

    const qsizetype position = qMin(text.size(), qsizetype(size) % (text.size() + 1));
    const QString edited =
        QString(text).replace(position, qMin(removed, text.size() - position), added);
    const auto quick = MarkdownParser::reparse(*before, edited);
    const auto full = MarkdownParser::parse(edited);
    // The document node's own end column may differ where NULs (one byte,
    // three once the parser makes them U+FFFD) end the text; no reader uses it.
    const QStringList quickDump = MarkdownDump::dump(quick->document, true).mid(1);
    const QStringList fullDump = MarkdownDump::dump(full->document, true).mid(1);
    Fuzz::check(quickDump == fullDump, "a re-parse equals a full parse",
                Fuzz::quoted(text) + QStringLiteral("\nedited to\n") + Fuzz::quoted(edited) +
                    QStringLiteral("\nre-parse:\n") + quickDump.join(QLatin1Char('\n')) +
                    QStringLiteral("\nfull parse:\n") + fullDump.join(QLatin1Char('\n')));
    Fuzz::check(quick->lineStarts == full->lineStarts, "a re-parse has a full parse's lines");

    // The text parsed a few lines at a time gives the same tree.
    const auto sections = MarkdownParser::parse(edited, 1 + removed);
    const QStringList sectionsDump = MarkdownDump::dump(sections->document, true).mid(1);
    Fuzz::check(sectionsDump == fullDump &&
                    sections->storage->definitions == full->storage->definitions,
                "a parse in sections equals a whole parse",
                Fuzz::quoted(edited) + QStringLiteral("\nin sections:\n") +
                    sectionsDump.join(QLatin1Char('\n')) + QStringLiteral("\nwhole:\n") +
                    fullDump.join(QLatin1Char('\n')));
    return 0;
}
