#include "core/MarkdownTree.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// The whole tree, source positions included.
bool same(const MarkdownNode& a, const MarkdownNode& b, QString* where) {
    const auto r = [](const SourceRange& s) {
        return QStringLiteral("%1:%2-%3:%4")
            .arg(s.startLine)
            .arg(s.startColumn)
            .arg(s.endLine)
            .arg(s.endColumn);
    };
    if (a.kind != b.kind || r(a.range) != r(b.range) || a.literal != b.literal ||
        a.headingLevel != b.headingLevel || a.checkbox != b.checkbox ||
        a.listStart != b.listStart || a.tight != b.tight || a.destination != b.destination ||
        a.language != b.language || a.children.size() != b.children.size()) {
        *where = QStringLiteral("kind %1/%2 at %3 vs %4")
                     .arg(int(a.kind))
                     .arg(int(b.kind))
                     .arg(r(a.range), r(b.range));
        return false;
    }
    for (size_t i = 0; i < a.children.size(); ++i)
        if (!same(a.children[i], b.children[i], where))
            return false;
    return true;
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

QStringList edits(const QString& text) {
    QStringList out;
    const QStringList pieces = {QStringLiteral("x"),       QStringLiteral("\n"),
                                QStringLiteral("\n\n"),    QStringLiteral("```"),
                                QStringLiteral("- "),      QStringLiteral("---\n"),
                                QStringLiteral("> "),      QStringLiteral("    "),
                                QStringLiteral("<div>\n"), QStringLiteral("| c |\n")};
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

} // namespace

class TestMarkdownReparse : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void anEditGivesTheTreeOfAFullParse() {
        const QString text = QString::fromUtf8(corpus);
        const auto base = MarkdownParser::parse(text);
        for (const QString& edited : edits(text)) {
            const auto full = MarkdownParser::parse(edited);
            const auto quick = MarkdownParser::reparse(*base, edited);
            QString where;
            if (!same(full->document, quick->document, &where))
                QFAIL(qPrintable(QStringLiteral("%1\n--- edited text:\n%2").arg(where, edited)));
            QCOMPARE(quick->text, edited);
            QCOMPARE(quick->lineStarts, full->lineStarts);
        }
    }

    void editsInARowStayExact() {
        // Each parse is made from the one before, as the preview does.
        QString text = QString::fromUtf8(corpus);
        auto current = MarkdownParser::parse(text);
        const QStringList steps = edits(text);
        for (int i = 0; i < 60; ++i) {
            const QString next = steps[i * 5];
            const QString previous = current->text;
            current = MarkdownParser::reparse(*current, next);
            QString where;
            QVERIFY2(same(MarkdownParser::parse(next)->document, current->document, &where),
                     qPrintable(QStringLiteral("%1\n--- before:\n%2\n--- after:\n%3")
                                    .arg(where, previous, next)));
        }
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
