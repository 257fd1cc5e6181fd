#include "core/MarkdownFormatter.h"
#include "core/MarkdownParser.h"
#include "core/MarkdownTree.h"
#include "core/ParserMemory.h"
#include "preview/PreviewHeightEstimate.h"
#include "support/MarkdownDump.h"

#include <QTest>

namespace {

QStringList dump(const QString& markdown) {
    return MarkdownDump::dump(MarkdownParser::parse(markdown)->document);
}

QString formatted(const QString& markdown, std::initializer_list<int> path) {
    auto parsed = MarkdownParser::parse(markdown);
    const MarkdownNode* node = &parsed->document;
    for (int i : path)
        node = &node->child(i);
    return MarkdownFormatter::format(*node);
}

} // namespace

class TestMarkdownTree : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyNodeKind() {
        const QString fixture = QStringLiteral(
            "# Title\n"
            "\n"
            "Some *em* **strong** `code` ~~gone~~ [link](https://x.org) ![alt](a.png \"T\")\n"
            "soft <b>html</b>  \n"
            "hard\n"
            "\n"
            "```swift title=x\n"
            "let a = 1\n"
            "```\n"
            "\n"
            "<div>\n"
            "raw\n"
            "</div>\n"
            "\n"
            "- [ ] open\n"
            "- [x] done\n"
            "- plain\n"
            "\n"
            "3. three\n"
            "\n"
            "> quoted\n"
            "\n"
            "---\n"
            "\n"
            "| A | B |\n"
            "|---|:-:|\n"
            "| 1 | 2 |\n");
        const QStringList expected = {
            "document",
            "  heading level=1: \"Title\"",
            "  paragraph: \"Some \" em(\"em\") \" \" strong(\"strong\") \" \" icode\"code\" \" \" "
            "del(\"gone\") \" \" link->https://x.org(\"link\") \" \" img->a.png "
            "title=\"T\"(\"alt\") "
            "soft \"soft \" ihtml\"<b>\" \"html\" ihtml\"</b>\" hard \"hard\"",
            "  code lang=[swift title=x]",
            "  html\"<div>\\nraw\\n</div>\\n\"",
            "  ul",
            "    li line=15 [ ]",
            "      paragraph: \"open\"",
            "    li line=16 [x]",
            "      paragraph: \"done\"",
            "    li line=17",
            "      paragraph: \"plain\"",
            "  ol start=3",
            "    li line=19",
            "      paragraph: \"three\"",
            "  quote",
            "    paragraph: \"quoted\"",
            "  hr",
            "  table",
            "    head",
            "      cell: \"A\"",
            "      cell: \"B\"",
            "    row",
            "      cell: \"1\"",
            "      cell: \"2\"",
        };
        const QStringList got = dump(fixture);
        if (got != expected)
            QFAIL(qPrintable(QStringLiteral("tree:\n") + got.join('\n')));

        auto parsed = MarkdownParser::parse(fixture);
        QCOMPARE(parsed->document.child(2).literal, QStringLiteral("let a = 1\n"));
        QCOMPARE(parsed->sourceView(parsed->document.child(8)).toString(),
                 QStringLiteral("| A | B |\n|---|:-:|\n| 1 | 2 |"));
        QCOMPARE(parsed->sourceView(parsed->document.child(0)).toString(),
                 QStringLiteral("# Title"));
    }

    void smartPunctuationAndPlainText() {
        auto parsed = MarkdownParser::parse(QStringLiteral("\"q\" -- x... it's\nnext"));
        const MarkdownNode& p = parsed->document.child(0);
        QCOMPARE(p.plainText(), QStringLiteral("\u201Cq\u201D \u2013 x\u2026 it\u2019s next"));
        auto withBreak = MarkdownParser::parse(QStringLiteral("a  \nb `c`"));
        QCOMPARE(withBreak->document.child(0).plainText(), QStringLiteral("a\nb c"));
    }

    void formatterStrings() {
        QCOMPARE(formatted(QStringLiteral("<div>\nx\n</div>\n"), {0}),
                 QStringLiteral("<div>\nx\n</div>"));
        QCOMPARE(formatted(QStringLiteral("a  \nb"), {0, 1}), QStringLiteral("  "));
        QCOMPARE(formatted(QStringLiteral("a <span>b</span>"), {0, 1}), QStringLiteral("<span>"));
        QCOMPARE(formatted(QStringLiteral("*![pic *x*](p.png \"T\")*"), {0, 0, 0}),
                 QStringLiteral("![pic x](p.png \"T\")"));
        QCOMPARE(formatted(QStringLiteral("[![i](s.png)](u)"), {0, 0, 0}),
                 QStringLiteral("![i](s.png)"));
        // Text is written as it stands: no escaping, no trailing newline.
        QCOMPARE(formatted(QStringLiteral("a_b* [c]"), {0}), QStringLiteral("a_b* [c]"));
        QCOMPARE(formatted(QStringLiteral("- [ ] a\n- [x] b\n"), {0}),
                 QStringLiteral("- [ ] a\n- [x] b"));
        QCOMPARE(formatted(QStringLiteral("> q\n>\n> r\n"), {0}), QStringLiteral("> q\n>\n> r"));
        QCOMPARE(formatted(QStringLiteral("``a`b``"), {0, 0}), QStringLiteral("``a`b``"));
    }

    void hostileNestingStaysShallow() {
        const QString deep = QString(3000, QLatin1Char('>')) + QStringLiteral(" x\n") +
                             QString(1000, QLatin1Char('[')) + QStringLiteral("y");
        auto parsed = MarkdownParser::parse(deep);
        int depth = 0;
        const MarkdownNode* node = &parsed->document;
        while (!node->children.empty()) {
            node = &node->children.front();
            ++depth;
        }
        QVERIFY(depth <= 201);
        QVERIFY(!MarkdownFormatter::format(parsed->document).isEmpty());
    }

    // A whole file on one line parses in moments, whatever it repeats, and
    // every character comes back as written.
    void longLinesParse_data() {
        QTest::addColumn<QString>("piece");
        QTest::addColumn<int>("bytes");
        QTest::newRow("plain") << QStringLiteral("lorem ipsum ") << 10 * 1024 * 1024;
        QTest::newRow("brackets") << QStringLiteral("[") << 10 * 1024 * 1024;
        QTest::newRow("stars") << QStringLiteral("*") << 10 * 1024 * 1024;
        QTest::newRow("brackets and stars") << QStringLiteral("*[") << 4 * 1024 * 1024;
        QTest::newRow("links and emphasis")
            << QStringLiteral("w *em* **strong** `c` [link](https://x.y/1 \"t\") ")
            << 2 * 1024 * 1024;
    }
    void longLinesParse() {
        QFETCH(QString, piece);
        QFETCH(int, bytes);
        const QString line = QStringLiteral("a ") + piece.repeated(bytes / piece.size());
        auto parsed = MarkdownParser::parse(line);
        QCOMPARE(parsed->document.childCount(), 1);
        const MarkdownNode& paragraph = parsed->document.child(0);
        const QString text = paragraph.plainText();
        QVERIFY(std::none_of(text.begin(), text.end(), [](QChar c) { return c < u' '; }));
        if (piece.size() == 1 || !piece.contains(u'*')) {
            QCOMPARE(text, line.trimmed());
        } else if (piece.contains(u'`')) {
            // Links early in the line stay links; later ones read as written.
            const auto link = std::find_if(
                paragraph.children.begin(), paragraph.children.end(),
                [](const MarkdownNode& node) { return node.kind == MarkdownNodeKind::Link; });
            QVERIFY(link != paragraph.children.end());
            QCOMPARE(link->destination, QStringLiteral("https://x.y/1"));
            QCOMPARE(link->title, QStringLiteral("t"));
            QVERIFY(text.right(30).contains(QStringLiteral("[link](https://x.y/1")));
        }
    }

    void emptyAndOddInput() {
        QCOMPARE(MarkdownParser::parse(QString())->document.childCount(), 0);
        auto parsed = MarkdownParser::parse(QStringLiteral("a\u0000b \U0001F600 \u2028"));
        QCOMPARE(parsed->document.childCount(), 1);
        QVERIFY(parsed->document.plainText().contains(QStringLiteral("\U0001F600")));
        // A byte order mark opening a literal is text like any other.
        auto marks = MarkdownParser::parse(QStringLiteral("x *\uFEFFy*\n\n```\n\uFEFFz\n```\n"));
        QCOMPARE(marks->document.child(0).child(1).child(0).literal, u"\uFEFFy");
        QCOMPARE(marks->document.child(1).literal, u"\uFEFFz\n");
    }

    // A tree is the parse's own: later parses, which reuse the parser's
    // memory, leave it as it was, and that memory shrinks back after a
    // large document.
    void treesOutliveTheParserMemory() {
        const QString small = QStringLiteral("# Title\n\nSome *text* and a [link](/x \"T\").\n");
        const auto first = MarkdownParser::parse(small);
        const QStringList before = MarkdownDump::dump(first->document, true);

        // One code block of several MB: its buffer outgrows any chunk.
        QString large = QStringLiteral("```\n");
        for (int i = 0; large.size() < 6 * 1024 * 1024; ++i)
            large += QStringLiteral("let line%1 = \"\u00E9\u4E2D\";\n").arg(i);
        const qsizetype code = large.size() - 4;
        large += QStringLiteral("```\n\n") + small;
        const auto big = MarkdownParser::parse(large);
        QCOMPARE(big->document.child(0).literal.size(), code);
        QVERIFY(big->document.child(0).literal.endsWith(u"\u4E2D\";\n"));
        QCOMPARE(MarkdownDump::dump(first->document, true), before);
        QVERIFY(ParserMemory::heldBytes() <= ParserMemory::keptBytes);

        MarkdownParser::parse(small);
        QCOMPARE(ParserMemory::heldBytes(), ParserMemory::chunkBytes);
        QCOMPARE(MarkdownDump::dump(first->document, true), before);
        QCOMPARE(big->document.child(1).plainText(), QStringLiteral("Title"));
    }

    // Kinds that never hold two strings at once keep them in the same room:
    // each reader must ask only for the strings of its node's kind.
    void stringsOfEachKind() {
        const QString url = QStringLiteral("https://example.com/") + QString(400, u'p');
        const auto parsed =
            MarkdownParser::parse(QStringLiteral("```swift title=x\nlet a\n```\n\n"
                                                 "[link](") +
                                  url + QStringLiteral(" \"T\") `code` ![alt](i.png)\n"));
        const MarkdownNode& code = parsed->document.child(0);
        QCOMPARE(code.literal, QStringLiteral("let a\n"));
        QCOMPARE(code.language, QStringLiteral("swift title=x"));
        QCOMPARE(code.codeLanguage(), QStringLiteral("swift"));
        const MarkdownNode& paragraph = parsed->document.child(1);
        const MarkdownNode& link = paragraph.child(0);
        QCOMPARE(link.destination, url);
        QCOMPARE(link.title, QStringLiteral("T"));
        QCOMPARE(link.plainText(), QStringLiteral("link"));
        QCOMPARE(paragraph.child(2).literal, QStringLiteral("code"));
        QCOMPARE(paragraph.child(4).destination, QStringLiteral("i.png"));
        QCOMPARE(paragraph.plainText(), QStringLiteral("link code alt"));
        QVERIFY(!MarkdownDump::dump(parsed->document).join(u'\n').contains(u"->link"));

        // A link's height is its text's, however long its destination.
        const auto shortLink =
            MarkdownParser::parse(QStringLiteral("[link](/x \"T\") `code` ![alt](i.png)\n"));
        QCOMPARE(PreviewHeightEstimate::height(paragraph, 600, 15),
                 PreviewHeightEstimate::height(shortLink->document.child(0), 600, 15));
    }
};

QTEST_GUILESS_MAIN(TestMarkdownTree)
#include "tst_markdowntree.moc"
