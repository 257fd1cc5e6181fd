#include "core/MarkdownTree.h"

#include <QTest>

namespace {

QString kindName(MarkdownNodeKind kind) {
    switch (kind) {
    case MarkdownNodeKind::Document:
        return "document";
    case MarkdownNodeKind::Heading:
        return "heading";
    case MarkdownNodeKind::Paragraph:
        return "paragraph";
    case MarkdownNodeKind::CodeBlock:
        return "code";
    case MarkdownNodeKind::HtmlBlock:
        return "html";
    case MarkdownNodeKind::OrderedList:
        return "ol";
    case MarkdownNodeKind::UnorderedList:
        return "ul";
    case MarkdownNodeKind::ListItem:
        return "li";
    case MarkdownNodeKind::BlockQuote:
        return "quote";
    case MarkdownNodeKind::ThematicBreak:
        return "hr";
    case MarkdownNodeKind::Table:
        return "table";
    case MarkdownNodeKind::TableHead:
        return "head";
    case MarkdownNodeKind::TableRow:
        return "row";
    case MarkdownNodeKind::TableCell:
        return "cell";
    case MarkdownNodeKind::Text:
        return "text";
    case MarkdownNodeKind::Emphasis:
        return "em";
    case MarkdownNodeKind::Strong:
        return "strong";
    case MarkdownNodeKind::InlineCode:
        return "icode";
    case MarkdownNodeKind::Strikethrough:
        return "del";
    case MarkdownNodeKind::Link:
        return "link";
    case MarkdownNodeKind::Image:
        return "img";
    case MarkdownNodeKind::InlineHtml:
        return "ihtml";
    case MarkdownNodeKind::SoftBreak:
        return "soft";
    case MarkdownNodeKind::LineBreak:
        return "hard";
    case MarkdownNodeKind::Other:
        return "other";
    }
    return "?";
}

// One line per node: kind, then its distinguishing values, indented by depth.
void dump(const MarkdownNode& node, int depth, QStringList& out) {
    QString line = QString(depth * 2, QLatin1Char(' ')) + kindName(node.kind);
    if (node.kind == MarkdownNodeKind::Heading)
        line += QStringLiteral(" level=%1").arg(node.headingLevel);
    if (node.kind == MarkdownNodeKind::CodeBlock)
        line += QStringLiteral(" lang=[%1]").arg(node.language);
    if (node.kind == MarkdownNodeKind::ListItem) {
        line += QStringLiteral(" line=%1").arg(node.range.startLine);
        if (node.checkbox != TaskCheckbox::None)
            line += node.checkbox == TaskCheckbox::Checked ? QStringLiteral(" [x]")
                                                           : QStringLiteral(" [ ]");
    }
    if (node.kind == MarkdownNodeKind::OrderedList)
        line += QStringLiteral(" start=%1").arg(node.listStart);
    if (node.kind == MarkdownNodeKind::Link || node.kind == MarkdownNodeKind::Image)
        line += QStringLiteral(" -> %1").arg(node.destination);
    if (!node.literal.isEmpty() && node.kind != MarkdownNodeKind::CodeBlock)
        line += QStringLiteral(" \"%1\"").arg(QString(node.literal).replace('\n', "\\n"));
    out.append(line);
    for (const MarkdownNode& child : node.children)
        dump(child, depth + 1, out);
}

QStringList dump(const QString& markdown) {
    QStringList out;
    dump(MarkdownParser::parse(markdown)->document, 0, out);
    return out;
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
            "  heading level=1",
            "    text \"Title\"",
            "  paragraph",
            "    text \"Some \"",
            "    em",
            "      text \"em\"",
            "    text \" \"",
            "    strong",
            "      text \"strong\"",
            "    text \" \"",
            "    icode \"code\"",
            "    text \" \"",
            "    del",
            "      text \"gone\"",
            "    text \" \"",
            "    link -> https://x.org",
            "      text \"link\"",
            "    text \" \"",
            "    img -> a.png",
            "      text \"alt\"",
            "    soft",
            "    text \"soft \"",
            "    ihtml \"<b>\"",
            "    text \"html\"",
            "    ihtml \"</b>\"",
            "    hard",
            "    text \"hard\"",
            "  code lang=[swift title=x]",
            "  html \"<div>\\nraw\\n</div>\\n\"",
            "  ul",
            "    li line=15 [ ]",
            "      paragraph",
            "        text \"open\"",
            "    li line=16 [x]",
            "      paragraph",
            "        text \"done\"",
            "    li line=17",
            "      paragraph",
            "        text \"plain\"",
            "  ol start=3",
            "    li line=19",
            "      paragraph",
            "        text \"three\"",
            "  quote",
            "    paragraph",
            "      text \"quoted\"",
            "  hr",
            "  table",
            "    head",
            "      cell",
            "        text \"A\"",
            "      cell",
            "        text \"B\"",
            "    row",
            "      cell",
            "        text \"1\"",
            "      cell",
            "        text \"2\"",
        };
        const QStringList got = dump(fixture);
        if (got != expected)
            QFAIL(qPrintable(QStringLiteral("tree:\n") + got.join('\n')));

        auto parsed = MarkdownParser::parse(fixture);
        const MarkdownNode& code = parsed->document.child(2);
        QCOMPARE(code.literal, QStringLiteral("let a = 1\n"));
        const MarkdownNode& table = parsed->document.child(8);
        QVERIFY(table.tableHead());
        QCOMPARE(table.tableHead()->childCount(), 2);
        QCOMPARE(int(table.tableBody().size()), 1);
        QCOMPARE(parsed->sourceLines(table), QStringLiteral("| A | B |\n|---|:-:|\n| 1 | 2 |"));
        QCOMPARE(parsed->sourceLines(parsed->document.child(0)), QStringLiteral("# Title"));
        QCOMPARE(parsed->text, fixture);
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

    void emptyAndOddInput() {
        QCOMPARE(MarkdownParser::parse(QString())->document.childCount(), 0);
        auto parsed = MarkdownParser::parse(QStringLiteral("a\u0000b \U0001F600 \u2028"));
        QCOMPARE(parsed->document.childCount(), 1);
        QVERIFY(parsed->document.plainText().contains(QStringLiteral("\U0001F600")));
    }
};

QTEST_GUILESS_MAIN(TestMarkdownTree)
#include "tst_markdowntree.moc"
