#include "core/MarkdownParser.h"
#include "core/MarkdownParserLines.h"
#include "core/MarkdownParserSections.h"
#include "core/MarkdownTree.h"
#include "core/MarkdownTreeStorage.h"
#include "core/ParserMemory.h"
#include "support/MarkdownDump.h"

#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

namespace {

// The parse equals a full parse of its text, source positions included.
void expectFullParse(const ParsedMarkdown& parsed) {
    const auto full = MarkdownParser::parse(parsed.text);
    QVERIFY2(MarkdownDump::dump(parsed.document, true) == MarkdownDump::dump(full->document, true),
             qPrintable(QStringLiteral("--- edited text:\n") + parsed.text));
    QCOMPARE(parsed.lineStarts, full->lineStarts);
}

// The blocks the parse says it kept of the one before are those blocks:
// above the edit as they were, below it moved by the lines the edit added.
// Returns whether it kept any.
bool expectReuse(const ParsedMarkdown& before, const ParsedMarkdown& after) {
    const ParsedMarkdown::Reuse& reuse = after.reuse;
    if (reuse.from == 0)
        return false;
    const MarkdownNodeList& old = before.document.children;
    const MarkdownNodeList& now = after.document.children;
    [&] {
        QCOMPARE(reuse.from, before.serial);
        QVERIFY(reuse.keptAbove + reuse.keptBelow <= qMin(old.size(), now.size()));
        QCOMPARE(reuse.lineShift, int(after.lineStarts.size() - before.lineStarts.size()));
        for (size_t i = 0; i < reuse.keptAbove; ++i)
            QCOMPARE(MarkdownDump::dump(now[i], true), MarkdownDump::dump(old[i], true));
        for (size_t i = 1; i <= reuse.keptBelow; ++i) {
            // Moving a block copies no node: its children are made when read.
            const MarkdownNodeList& children = now[now.size() - i].children;
            QVERIFY(reuse.lineShift == 0 || children.empty() || children.moved());
            const auto [moved, arena] =
                MarkdownTreeStorage::moved(old[old.size() - i], {}, reuse.lineShift);
            QCOMPARE(MarkdownDump::dump(now[now.size() - i], true),
                     MarkdownDump::dump(moved, true));
        }
    }();
    return reuse.keptAbove + reuse.keptBelow > 0;
}

// Blocks whose extent depends on what follows them: lists across blank
// lines, fences, HTML, tables taking a paragraph's last line, setext
// headings, lazy quote lines, indented code across blank lines.
const char* const corpus =
    "# Title\n\nIntro paragraph\nwith a second line.\n\n- one\n- two\n\n- three after a blank\n\n"
    "  continued item text\n\n1. first\n2. second\n\n> quote\nlazy line\n\n"
    "```js\nlet x = 1;\n\nlet y = 2;\n```\n\n    indented code\n\n    more code\n\n"
    "Setext heading\n---\n\nHeader | Two\n--- | ---\ncell | cell\n\npara before table\n"
    "a | b\n- | -\n1 | 2\n\nline\nA | B\n--|--\n\n<div>\nhtml block\n</div>\n\n* [ ] task\n* [x] "
    "done\n\n"
    "Final *paragraph* with **strong** text.\n";

// Link reference definitions in every form the parser reads: titles in
// each kind of quote and across lines, escapes and entities, labels that
// fold case or repeat, definitions inside lists and quotes, and uses of
// them before and after.
const char* const definitions =
    "[Docs]: https://example.org/docs \"The &amp; docs\"\n"
    "[esc\\]aped]: <a b\\<c> 'single \"quoted\"'\n"
    "[\u1E9E stra\u00DFe]: /fold (paren)\n"
    "[multi]: /m\n\"title on\ntwo lines\"\n\n"
    "# Title with [docs] and [ESC\\]APED]\n\n"
    "Para [multi] and [ss strasse] and [docs][] and [x][docs] and [missing].\n\n"
    "- item [inner]\n\n  [inner]: /inner-def\n- [docs]\n\n"
    "> [quoted]: /q \"q\"\n> uses [quoted]\n\n"
    "[docs]: /the-first-stays\n"
    "[amp]: /a&b?c=1&amp;d\\&e\n[amp] text\n\n"
    "Final [amp] and [inner] and ![pic][docs].\n";

QStringList edits(const QString& text) {
    QStringList out;
    const QStringList pieces = {
        QStringLiteral("x"),          QStringLiteral("\n"),     QStringLiteral("\n\n"),
        QStringLiteral("```"),        QStringLiteral("- "),     QStringLiteral("---\n"),
        QStringLiteral("> "),         QStringLiteral("    "),   QStringLiteral("<div>\n"),
        QStringLiteral("| c |\n"),    QStringLiteral("[docs]"), QStringLiteral("[new]: /n\n"),
        QStringLiteral("[missing]:"), QStringLiteral("|")};
    auto* random = QRandomGenerator::global();
    for (int i = 0; i < 400; ++i) {
        QString edited = text;
        const auto at = qsizetype(random->bounded(int(text.size()) + 1));
        if (i % 3 == 2 && at < text.size())
            edited.remove(at, 1 + random->bounded(qMin<int>(12, int(text.size() - at))));
        else
            edited.insert(at, pieces[random->bounded(int(pieces.size()))]);
        out << edited;
    }
    return out;
}

// Documents made of the pieces whose extent or meaning depends on the lines
// around them, in random order: loose and tight lists, setext underlines,
// tables after paragraphs and definitions, definitions anywhere (across
// lines too), fences left open, HTML blocks, a U+FEFF first, CRLF, no final
// line feed, and lines past the length where links stop being read.
QStringList hostileDocuments(int count) {
    static const char* const pieces[] = {"- a\n",
                                         "- b\n\n",
                                         "  continued\n",
                                         "1. one\n",
                                         "2) two\n",
                                         "\n",
                                         "\n\n",
                                         " \n",
                                         "para text\n",
                                         "Setext\n",
                                         "===\n",
                                         "---\n",
                                         "| a | b |\n",
                                         "|---|:-:|\n",
                                         "| 1 | [x] |\n",
                                         "a | b\n",
                                         "-|-\n",
                                         "[x]: /u\n",
                                         "[Y]: /v 'multi\n",
                                         "title'\n",
                                         "[x] and [y] and [z][] and ![i][x]\n",
                                         "[z]:\n/z\n",
                                         "```\n",
                                         "~~~js\n",
                                         "    code\n",
                                         "\tcode\n",
                                         "<div>\n",
                                         "</div>\n",
                                         "<!-- c\n",
                                         "-->\n",
                                         "<pre>\n",
                                         "</pre>\n",
                                         "> q\n",
                                         ">\n",
                                         "> - [ ] t\n",
                                         "* [x] done\n",
                                         "# H [x]\n",
                                         "\\\n",
                                         "hard  \n",
                                         "*em\n",
                                         "text*\n",
                                         "\u00e9\u4e2d\U0001F600\n",
                                         "<x>\n",
                                         "    \n",
                                         "1.\n",
                                         "+ c\n"};
    const auto piece = [](int i) { return QString::fromUtf8(pieces[i]); };
    const int kinds = int(std::size(pieces));
    auto* random = QRandomGenerator::global();
    QStringList out = {QStringLiteral("\n").repeated(500), QStringLiteral(" \n\t\n").repeated(99)};
    for (int i = 0; i < count; ++i) {
        QString text;
        const int length = 2 + random->bounded(i % 10 == 0 ? 400 : 60);
        for (int p = 0; p < length; ++p)
            text += piece(random->bounded(kinds));
        if (i % 7 == 1)
            text.chop(1);
        if (i % 11 == 2)
            text.prepend(QChar(0xFEFF));
        if (i % 13 == 3)
            text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        if (i % 50 == 4) {
            QString line = QStringLiteral("a [x] [l](/u) ").repeated(1900);
            text.insert(random->bounded(int(text.size()) + 1), u'\n' + line + u'\n');
        }
        out << text;
    }
    return out;
}

// A table long enough to span sections, between a paragraph and one that
// uses a definition: rows with fewer and more cells than the header,
// escaped pipes, inline markup and links in cells.
QString tableDocument(int rows) {
    QString text = QStringLiteral("intro [docs]\n\n| a | *b* | c |\n|:--|:-:|--:|\n");
    const QStringList kinds = {QStringLiteral("| %1 | b | c |\n"), QStringLiteral("| %1 |\n"),
                               QStringLiteral("%1 | **x** | y | z | extra\n"),
                               QStringLiteral("| `%1\\|` | [l](/u) | [docs] |\n"),
                               QStringLiteral("|%1||\n")};
    for (int i = 0; i < rows; ++i)
        text += kinds[i % kinds.size()].arg(i);
    return text + QStringLiteral("\nafter [docs]\n\n[docs]: /d\n");
}

// The parse of `text` a section of `chars` at a time equals its parse whole.
void expectSectionsEqualWhole(const QString& text, const ParsedMarkdown& whole, qsizetype chars) {
    const auto sections = MarkdownParser::parse(text, chars);
    QVERIFY2(MarkdownDump::dump(sections->document, true) ==
                 MarkdownDump::dump(whole.document, true),
             qPrintable(QStringLiteral("--- in sections of %1:\n").arg(chars) + text));
    QCOMPARE(sections->storage->definitions, whole.storage->definitions);
    QCOMPARE(sections->storage->blocksHaveLines, whole.storage->blocksHaveLines);
    QCOMPARE(sections->lineStarts, whole.lineStarts);
}

} // namespace

// The units two texts share at their start, and then at their end.
TextDifference differenceOf(const QString& before, const QString& after) {
    TextDifference d;
    const qsizetype shorter = qMin(before.size(), after.size());
    while (d.prefix < shorter && before[d.prefix] == after[d.prefix])
        ++d.prefix;
    while (d.prefix + d.suffix < shorter &&
           before[before.size() - 1 - d.suffix] == after[after.size() - 1 - d.suffix])
        ++d.suffix;
    return d;
}

class TestMarkdownReparse : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void anEditGivesTheTreeOfAFullParse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("incremental");
        const QString text = QString::fromUtf8(corpus);
        QTest::newRow("corpus") << text << false;
        // Without the table that leaves an empty paragraph with no lines
        // behind, edits keep the blocks around them.
        QString kept = text;
        kept.remove(QStringLiteral("line\nA | B\n--|--\n\n"));
        QTest::newRow("blocks with lines") << kept << true;
        // Edits that leave the definitions alone keep blocks as well.
        QTest::newRow("definitions") << kept + u'\n' + QString::fromUtf8(definitions) << true;
        // A carriage return alone ends a line to the parser.
        QTest::newRow("carriage returns")
            << QString(kept).replace(QStringLiteral("\n\n"), QStringLiteral("\r\r\n")) << false;
        // A U+FEFF that starts a later line is text, whatever the edit parses.
        QString marked = kept;
        marked.insert(marked.indexOf(QStringLiteral("\n\n"), marked.size() / 2) + 2,
                      QStringLiteral("\uFEFF# b\n\n\uFEFF[z]: /bom\n\n"));
        QTest::newRow("U+FEFF starting a line") << marked << true;
        // A U+FEFF that starts the text is a byte-order mark to the parser.
        QTest::newRow("byte-order mark")
            << QChar(0xFEFF) + QStringLiteral("<b>\n") + kept + QString::fromUtf8(definitions)
            << true;
        // Tables whose rows an edit parses again alone, where nothing else can change.
        QTest::newRow("table") << tableDocument(40) << true;
        QTest::newRow("table first") << tableDocument(12).mid(14) << true;
        QTest::newRow("table last") << tableDocument(12).chopped(26) << true;
        QTest::newRow("two tables")
            << tableDocument(6) + QStringLiteral("\n| x | y |\n|---|---|\n| 1 | 2 |\n") << true;
        QTest::newRow("table in a list")
            << QStringLiteral("p\n\n- item\n\n  | a | b |\n  |---|---|\n") +
                   QStringLiteral("  | 1 | 2 |\n").repeated(8) + QStringLiteral("\nq\n")
            << true;
    }

    // Each edit made once from the original parse, and a run of edits each
    // made from the parse before, as the preview does.
    void anEditGivesTheTreeOfAFullParse() {
        QFETCH(QString, text);
        QFETCH(bool, incremental);
        const auto base = MarkdownParser::parse(text);
        auto previous = base;
        const QStringList steps = edits(text);
        int reused = 0;
        for (int i = 0; i < steps.size() && !QTest::currentTestFailed(); ++i) {
            const auto quick = MarkdownParser::reparse(*base, steps[i]);
            QCOMPARE(quick->text, steps[i]);
            expectFullParse(*quick);
            // Told where the edit lies, exactly or with more around it.
            const TextDifference exact = differenceOf(text, steps[i]);
            for (const TextDifference& known :
                 {exact, TextDifference{exact.prefix / 2, exact.suffix / 3}, TextDifference{}})
                expectFullParse(*MarkdownParser::reparse(*base, steps[i], &known));
            reused += expectReuse(*base, *quick);
            if (i % 5 == 0) {
                const auto next = MarkdownParser::reparse(*previous, steps[i]);
                expectFullParse(*next);
                expectReuse(*previous, *next);
                previous = next;
            }
        }
        // Edits on the first line, where a U+FEFF may start the text.
        for (qsizetype at = 0; at < 6; ++at)
            expectFullParse(*MarkdownParser::reparse(*base, QString(text).insert(at, u'x')));
        // Most edits keep blocks; the same text keeps them all.
        if (incremental)
            QVERIFY2(reused > steps.size() / 2, qPrintable(QString::number(reused)));
        const auto same = MarkdownParser::reparse(*base, text);
        QCOMPARE(same->reuse.keptAbove, incremental ? base->document.children.size() : 0);
    }

    // An edit elsewhere keeps the blocks around it and still resolves every
    // reference; an edit to a definition parses the text whole.
    void definitionsStandUnlessEdited() {
        const QString text = QString::fromUtf8(definitions);
        const auto base = MarkdownParser::parse(text);
        QString edited = text;
        edited.replace(QStringLiteral("Para [multi]"), QStringLiteral("Para edited [multi]"));
        const auto quick = MarkdownParser::reparse(*base, edited);
        expectFullParse(*quick);
        QCOMPARE(quick->reuse.from, base->serial);
        QVERIFY(quick->reuse.keptBelow > 0);
        QCOMPARE(quick->storage->definitions, base->storage->definitions);
        // The edited paragraph resolves with every definition, the first of a label winning.
        const QString links = MarkdownDump::dump(quick->document).join(u'\n');
        for (const char* url : {"->/m", "->/fold", "->https://example.org/docs"})
            QVERIFY2(links.contains(QLatin1String(url)), url);
        QVERIFY(!links.contains(QLatin1String("the-first-stays")));

        const auto redefined = MarkdownParser::reparse(
            *quick, QString(edited).replace(QStringLiteral("/m\n"), QStringLiteral("/m2\n")));
        expectFullParse(*redefined);
        QCOMPARE(redefined->reuse.from, 0u);
        QVERIFY(redefined->storage->definitions != base->storage->definitions);
    }

    // Any text parsed a section at a time, however small the sections,
    // gives the tree and the definitions of a parse of the whole: also with
    // the sections likely to come next parsed on other threads meanwhile,
    // where they start as guessed and where they do not.
    void sectionsGiveTheTreeOfAWholeParse_data() {
        QTest::addColumn<bool>("ahead");
        QTest::newRow("one after another") << false;
        QTest::newRow("next ones ahead") << true;
    }
    void sectionsGiveTheTreeOfAWholeParse() {
        QFETCH(bool, ahead);
        if (ahead)
            MarkdownParser::prepareSectionThreads();
        const QString text = QString::fromUtf8(corpus) + u'\n' + QString::fromUtf8(definitions);
        QStringList texts = {text, text + text,
                             // A line that starts with U+FEFF, which only the text may start with.
                             QStringLiteral("a\n\n\uFEFF[x]: /bom\n\n[x]\n\n\uFEFF# b\n"),
                             // One block longer than a section between short ones.
                             QStringLiteral("a\n\n") + QStringLiteral("> q\n").repeated(300) +
                                 QStringLiteral("\nb [x]\n\n[x]: /late\n"),
                             // Definitions that a table's header turns back into text.
                             QStringLiteral("[x] [y]\n\n[X]: <a b> (p)\n| a | b |\n|---|:-:|\n"),
                             // What a table leaves of a paragraph, after a blank line.
                             QStringLiteral("p\n\n| c |\na | b\n-|-\n\nq\n"),
                             // An HTML block whose range ends a line early.
                             QStringLiteral("<!-- c\n\n-->\n\nz\n")};
        // Late brackets where the text holds every control character but one.
        QString controls;
        for (char16_t c = 1; c < 31; ++c)
            if (c < u'\t' || c > u'\r')
                controls += QChar(c);
        texts << controls + QStringLiteral("\n\n[x]: /u\n\n") +
                     QStringLiteral("a [x] ").repeated(4000) + QStringLiteral("\n\nb\n");
        // Definitions each section is parsed after, written out, must read
        // back: labels across lines ending in a backslash (one found by
        // fuzzing), line breaks from entities, a label folded too long.
        QString found = QString::fromUtf8(QByteArray::fromHex(
            "510a000000075c0a5f5b305f5f63787861626976fc00000a7e075c0a0a5b3a0a2e5c2e5c0a5d3a3a0a0a5b"
            "3aecececec510a5d2e2e5c0a2e3a0a075bff"));
        texts << found.remove(found.size() / 2, 1)
              << QStringLiteral("a\n\n[x\\\n]: /u\n[\\\\\\\n]: /v\n\nb [x\\ ] [\\\\\\ ]\n")
              << QStringLiteral("a\n\n[x]: /a&#10;b \"c&#10;&#10;d\"\n[y]: </e&#13;f>\n\n[x] [y]\n")
              << QStringLiteral("a\n\n[%1]: /u\n\nb [%1]\n").arg(QString(400, QChar(0x0390)));
        const QStringList edited = edits(text);
        for (int i = 0; i < edited.size(); i += 8)
            texts << edited[i];
        texts << hostileDocuments(300);
        // Tables longer than a section, as they are and edited; rows that
        // run to the end of the text, with and without a line feed there.
        const QStringList tables = edits(tableDocument(30));
        for (int i = 0; i < tables.size(); i += 10)
            texts << tables[i];
        const QString tail = QStringLiteral("| h | i |\n|---|---|\n") +
                             QStringLiteral("| x | [y] |\n").repeated(40) +
                             QStringLiteral("| `z` |");
        texts << tail << tail + u'\n' << tail + QStringLiteral("\n| p |  \nq\n");
        for (const QString& one : std::as_const(texts)) {
            const auto whole = MarkdownParser::parse(one, one.size());
            for (const qsizetype chars : {1, 30, 200, 1000}) {
                expectSectionsEqualWhole(one, *whole, chars);
                if (QTest::currentTestFailed())
                    return;
            }
        }
        // A definition below its use still resolves in the first section.
        const auto late = MarkdownParser::parse(texts[3], 30);
        QVERIFY(MarkdownDump::dump(late->document).join(u'\n').contains(QLatin1String("->/late")));
    }

    // A table far longer than a section is parsed in the parser memory of
    // a section, not of the whole table; an edit in it re-parses the rows it
    // touched, in little memory, and keeps every other row as it was.
    void longTablesParseInBoundedMemory() {
        const QString row = QStringLiteral("| a | b | c |\n");
        const QString text =
            QStringLiteral("| A | B | C |\n|---|---|---|\n") + row.repeated(40'000);
        ParserMemory::resetPeak();
        const auto base = MarkdownParser::parse(text, 64 * 1024);
        // The whole table at once takes the parser about 100 MB.
        QVERIFY2(ParserMemory::peakBytes() <= 3 * ParserMemory::chunkBytes,
                 qPrintable(QString::number(ParserMemory::peakBytes())));
        // Most rows are made from their lines, their cells parsed when first read.
        const MarkdownNodeList& rows = base->document.child(0).children;
        const auto unread = std::count_if(rows.begin(), rows.end(), [](const MarkdownNode& row) {
            return row.children.moved() != nullptr;
        });
        QVERIFY2(unread > 30'000, qPrintable(QString::number(unread)));
        QCOMPARE(MarkdownDump::dump(base->document, true),
                 MarkdownDump::dump(MarkdownParser::parse(text, text.size())->document, true));

        // In the first row, below the header, in the middle and in the last row.
        const qsizetype firstRow = text.indexOf(row);
        for (const qsizetype at :
             {firstRow, text.indexOf(QLatin1String(" b |"), text.size() / 2), text.size() - 2}) {
            QString edited = text;
            edited.insert(at, u'x');
            ParserMemory::resetPeak();
            const auto quick = MarkdownParser::reparse(*base, edited);
            QVERIFY(ParserMemory::peakBytes() <= ParserMemory::chunkBytes);
            expectFullParse(*quick);
            const MarkdownNode& before = base->document.child(0);
            const MarkdownNode& after = quick->document.child(0);
            QCOMPARE(after.childCount(), before.childCount());
            int shared = 0;
            for (int i = 0; i < after.childCount(); ++i)
                shared += after.child(i).children.begin() == before.child(i).children.begin();
            QCOMPARE(shared, after.childCount() - 1);
        }
    }

    // Rows added, removed, joined and split at the first, a middle and the
    // last row of a long table, then undone and done again, each parse made
    // from the one before: the tree of a full parse, positions included,
    // with the rows above the edit shared and those below moved, not copied.
    void tableRowEditsKeepTheOtherRows_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("inserted");
        const QString added = QStringLiteral("| new | *row* |\n");
        for (const auto& [where, row] : {std::pair("first", 0), {"middle", 300}, {"last", 599}}) {
            const auto name = [where](const char* edit) { return QByteArray(edit) + ' ' + where; };
            QTest::newRow(name("row added above")) << row << 0 << 0 << added;
            QTest::newRow(name("row added below")) << row << -1 << 0 << added;
            QTest::newRow(name("row removed")) << row << 0 << -1 << QString();
            QTest::newRow(name("rows joined")) << row << -2 << 1 << QString();
            QTest::newRow(name("row split")) << row << 3 << 0 << QStringLiteral("\n");
            QTest::newRow(name("two rows for one"))
                << row << 0 << -1 << QStringLiteral("| 1 |\n| 2 | 3 |\n");
        }
    }
    void tableRowEditsKeepTheOtherRows() {
        QFETCH(int, row);
        QFETCH(int, at);
        QFETCH(int, removed);
        QFETCH(QString, inserted);
        const QString text = tableDocument(600);
        const auto base = MarkdownParser::parse(text);
        const int firstRowLine = 5;
        const qsizetype start = base->lineStarts[size_t(firstRowLine - 1 + row)];
        const qsizetype end = base->lineStarts[size_t(firstRowLine + row)];
        // At -1 after the row, at -2 its line feed; a removal of -1 is the whole row.
        const qsizetype from = at >= 0 ? start + at : end + at + 1;
        QString edited = text;
        edited.remove(from, removed < 0 ? end - start : removed).insert(from, inserted);

        auto previous = base;
        for (const QString& step : {edited, text, edited}) {
            const auto next = MarkdownParser::reparse(*previous, step);
            expectFullParse(*next);
            if (QTest::currentTestFailed())
                return;
            const ParsedMarkdown::Reuse& reuse = next->reuse;
            // An edit keeps the rows around it, unless it joins the last row with what follows.
            QVERIFY(reuse.table != ParsedMarkdown::noTable || row == 599);
            if (reuse.table == ParsedMarkdown::noTable) {
                previous = next;
                continue;
            }
            const MarkdownNode& oldTable = previous->document.child(int(reuse.table));
            const MarkdownNode& newTable = next->document.child(int(reuse.table));
            for (size_t i = 0; i < reuse.rowsAbove; ++i)
                QCOMPARE(newTable.children[i].children.begin(),
                         oldTable.children[i].children.begin());
            QVERIFY(reuse.rowsBelow > 0 || row == 599);
            for (size_t i = 1; i <= reuse.rowsBelow; ++i) {
                const MarkdownNode& now = newTable.children[newTable.children.size() - i];
                QVERIFY(reuse.lineShift == 0 || now.children.moved());
                QCOMPARE(now.range.startLine,
                         oldTable.children[oldTable.children.size() - i].range.startLine +
                             reuse.lineShift);
            }
            previous = next;
        }
    }

    // A blank line typed into a long table ends it there, the rows below
    // becoming a paragraph, and removing it joins them back: each step equals
    // a full parse, and the rows the join brings back are made from their lines.
    void blankLineInLongTable_data() {
        QTest::addColumn<QString>("rowText");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("inserted");
        const QString plain = QStringLiteral("| %1 | b | c |");
        const QString marked = QStringLiteral("| `%1` | [docs] | *e* |");
        for (const auto& [where, row] : {std::pair("first", 0), {"middle", 300}, {"last", 599}}) {
            const auto name = [where](const char* edit) { return QByteArray(edit) + ' ' + where; };
            QTest::newRow(name("after plain row")) << plain << row << -1 << QStringLiteral("\n");
            QTest::newRow(name("before plain row")) << plain << row << 0 << QStringLiteral("\n");
            QTest::newRow(name("two after plain row"))
                << plain << row << -1 << QStringLiteral("\n\n");
            QTest::newRow(name("inside plain row")) << plain << row << 4 << QStringLiteral("\n\n");
            QTest::newRow(name("after marked row")) << marked << row << -1 << QStringLiteral("\n");
        }
        QTest::newRow("spaces after plain row") << plain << 300 << -1 << QStringLiteral(" \t\n");
        QTest::newRow("ragged rows") << QStringLiteral("||%1") << 300 << -1 << QStringLiteral("\n");
        // Below the blank line they are a table of their own, its header the first.
        QTest::newRow("delimiter rows")
            << QStringLiteral("| --- |") << 300 << -1 << QStringLiteral("\n");
        // Rows of pipes, spaces, tabs and characters that mean something to
        // the parser, each line alike to the next or not.
        const QString plainAlphabet = QStringLiteral("|| a1 ");
        const QString alphabet = plainAlphabet + QStringLiteral("\t-:*_`[]\\.!<>#=~&\"'x");
        auto* random = QRandomGenerator::global();
        for (int doc = 0; doc < 24; ++doc) {
            const QString& letters = doc % 3 ? alphabet : plainAlphabet;
            QString row = QStringLiteral("|");
            for (int i = 0, length = 1 + random->bounded(7); i < length; ++i)
                row += letters[random->bounded(int(letters.size()))];
            QTest::newRow(qPrintable(QStringLiteral("random %1: %2").arg(doc).arg(row)))
                << row + (doc % 2 ? QStringLiteral("%1") : QString()) << 300 << -1
                << QStringLiteral("\n");
        }
    }
    void blankLineInLongTable() {
        QFETCH(QString, rowText);
        QFETCH(int, row);
        QFETCH(int, at);
        QFETCH(QString, inserted);
        QString text = QStringLiteral("intro [docs]\n\n| a | *b* | c |\n|:--|:-:|--:|\n");
        for (int i = 0; i < 600; ++i)
            text += (rowText.contains(QLatin1String("%1")) ? rowText.arg(i) : rowText) + u'\n';
        text += QStringLiteral("\nafter [docs]\n\n[docs]: /d\n");
        const auto base = MarkdownParser::parse(text);
        const qsizetype start = base->lineStarts[size_t(4 + row)];
        const qsizetype end = base->lineStarts[size_t(5 + row)];
        QString edited = text;
        const qsizetype position = at >= 0 ? start + at : end + at + 1;
        edited.insert(position, inserted);
        // As the editor tells it: a line feed typed at the end of a row goes
        // before the row's own.
        const qsizetype told =
            inserted == u"\n" && text[position - 1] == u'\n' ? position - 1 : position;
        const TextDifference difference{told, text.size() - told};
        // Told as typed after the delimiter row, the edit touches that row: parsed whole.
        const bool afterHead = told != position && row == 0;

        auto previous = base;
        for (const QString& step : {edited, text, edited, text, edited, text}) {
            const auto next =
                MarkdownParser::reparse(*previous, step, previous != base ? &difference : nullptr);
            expectFullParse(*next);
            if (QTest::currentTestFailed())
                return;
            const bool joined = step == text && previous != base;
            // Random rows may hold what no row known from its line does (a tab).
            const bool known = !QByteArray(QTest::currentDataTag()).startsWith("random");
            if (known && joined && row < 599 && inserted.size() == 1 && !afterHead) {
                // The rows below are made from their lines: none of them parsed as yet.
                QVERIFY(next->reuse.table != ParsedMarkdown::noTable);
                const MarkdownNode& table = next->document.child(int(next->reuse.table));
                QVERIFY(table.children.back().children.moved());
                if (told == position)
                    QCOMPARE(next->reuse.rowsAbove, size_t(1 + row + (at < 0 ? 1 : 0)));
            }
            previous = next;
        }
        // A line added above moves the table whole: its rows made from their
        // lines stay so, their cells made only when read.
        const auto moved =
            MarkdownParser::reparse(*previous, QString(text).insert(12, QStringLiteral("\nmore")));
        QVERIFY(moved->reuse.keptBelow > 0);
        const MarkdownNode& table = moved->document.child(1);
        if (!QByteArray(QTest::currentDataTag()).startsWith("random") && row < 599 &&
            inserted.size() == 1 && !afterHead)
            QVERIFY(table.children.back().children.moved());
        expectFullParse(*moved);
    }

    // A line said to be a plain row is a row of the table above it, one cell
    // a column, from its first column to its last; one said to be plain text
    // is a line of the paragraph, its text alone.
    void plainLinesAreWhatTheParserMakes() {
        const QString plain = QStringLiteral("|| a1 ");
        const QString alphabet = plain + QStringLiteral("\t-:*_`[]\\.!<>#=~&\"'x\u00e9\u4e2d");
        auto* random = QRandomGenerator::global();
        int rows = 0;
        int texts = 0;
        for (int sample = 0; sample < 3000; ++sample) {
            const QString& letters = sample % 4 < 2 ? alphabet : plain;
            QString line;
            for (int i = 0, length = 1 + random->bounded(9); i < length; ++i)
                line += letters[random->bounded(int(letters.size()))];
            if (sample % 2)
                line.prepend(u'|');
            const int width = MarkdownParser::utf8Length(line);
            if (MarkdownParser::isPlainRow(line)) {
                ++rows;
                const auto parsed = MarkdownParser::parse(
                    QStringLiteral("| h | i |\n|---|---|\n| x | y |\n") + line + u'\n');
                const MarkdownNode& table = parsed->document.child(0);
                QVERIFY2(table.kind == MarkdownNodeKind::Table && table.childCount() == 3,
                         qPrintable(line));
                const MarkdownNode& row = table.child(2);
                QCOMPARE(row.childCount(), 2);
                QCOMPARE(row.range.startColumn, 1);
                QCOMPARE(row.range.endColumn, width);
            }
            if (MarkdownParser::isPlainText(line)) {
                ++texts;
                const auto parsed = MarkdownParser::parse(line + u'\n' + line + u'\n');
                const MarkdownNode& paragraph = parsed->document.child(0);
                QVERIFY2(parsed->document.childCount() == 1 &&
                             MarkdownDump::dump(paragraph, true).join(u'\n') ==
                                 QStringLiteral("paragraph@1:1-2:%1: @1:1-1:%1\"%2\" "
                                                "soft@0:0-0:0 @2:1-2:%1\"%2\"")
                                     .arg(width)
                                     .arg(line),
                         qPrintable(line));
            }
        }
        QVERIFY(rows > 500 && texts > 200);
    }

    void referenceDefinitionsAndEmptyTexts() {
        const auto base = MarkdownParser::parse(QStringLiteral("[a]\n\ntext\n\n[a]: /x\n"));
        const auto edited =
            MarkdownParser::reparse(*base, QStringLiteral("[a]\n\ntext\n\n[a]: /y\n"));
        QCOMPARE(edited->document.child(0).child(0).destination, QStringLiteral("/y"));
        const auto empty = MarkdownParser::reparse(*base, QString());
        QCOMPARE(empty->document.childCount(), 0);
        const auto from = MarkdownParser::reparse(*empty, QStringLiteral("# hi\n"));
        QCOMPARE(from->document.childCount(), 1);
    }
};

QTEST_MAIN(TestMarkdownReparse)
#include "tst_markdownreparse.moc"
