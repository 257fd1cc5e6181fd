#include "core/MarkdownTree.h"
#include "preview/CodeBlockView.h"
#include "preview/InlineMarkupView.h"
#include "preview/MarkdownBlockView.h"
#include "preview/MarkdownTableView.h"
#include "preview/SelectableTextView.h"
#include "preview/TaskCheckboxAction.h"
#include "support/PreviewColumn.h"

#include <QLayout>
#include <QTest>
#include <QTextDocument>

namespace {

struct Block {
    std::shared_ptr<const ParsedMarkdown> parsed;
    MarkdownRendererContext context;
    std::unique_ptr<MarkdownBlockView> view;

    Block(const QString& markdown, int index = 0)
        : parsed(MarkdownParser::parse(markdown)), context(TestSupport::context(markdown)) {
        view = std::make_unique<MarkdownBlockView>(parsed->document.child(index), context);
        view->resize(600, view->heightForWidth(600));
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            qFatal("block view not shown");
    }
    const MarkdownNode& node(int index = 0) const { return parsed->document.child(index); }
};

QMargins margins(const MarkdownBlockView& view) {
    return view.layout()->contentsMargins();
}

} // namespace

class TestMarkdownBlockView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void paddingsByBlockKind() {
        using P = MarkdownBlockView::Padding;
        const auto parsed = MarkdownParser::parse(QStringLiteral(
            "# one\n\n## two\n\n### three\n\n###### six\n\npara\n\n```\nc\n```\n\n- a\n\n1. b\n\n"
            "> q\n\n---\n\n| a |\n|---|\n| b |\n\n<p>html</p>\n"));
        const std::vector<P> expected = {{0, 4}, {12, 4}, {8, 0}, {8, 0},   {0, 0}, {4, 4},
                                         {4, 4}, {4, 4},  {4, 4}, {16, 16}, {4, 4}, {0, 0}};
        QCOMPARE(parsed->document.children.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            QCOMPARE(MarkdownBlockView::outerPadding(parsed->document.children[i]), expected[i]);

        Block heading(QStringLiteral("### Three"));
        QCOMPARE(margins(*heading.view), QMargins(0, 8, 0, 0));
        auto* inline_ = qobject_cast<InlineMarkupView*>(heading.view->content());
        QVERIFY(inline_);
        QCOMPARE(inline_->textView()->document()->defaultFont().pointSizeF() * 96 / 72, 17.0);
    }

    void orderedListsNumberByPosition() {
        Block list(QStringLiteral("5. five\n6. six\n7. [ ] task\n"));
        const auto markers = list.view->findChildren<ListMarkerView*>();
        QCOMPARE(markers.size(), 3);
        QCOMPARE(markers[0]->text(), QStringLiteral("1."));
        QCOMPARE(markers[2]->text(), QStringLiteral("3."));
        QCOMPARE(markers[0]->width(), 20);
        QCOMPARE(markers[0]->alignment(), Qt::AlignRight);
        QCOMPARE(markers[0]->colour(), QColor(list.context.designSystem.colors.mutedText));
        // A task in an ordered list keeps its number and has no box.
        QVERIFY(list.view->findChildren<TaskCheckboxButton*>().isEmpty());
        QCOMPARE(margins(*list.view), QMargins(0, 4, 0, 4));
    }

    void bulletsTasksAndNesting() {
        Block list(QStringLiteral("- plain\n- [ ] open\n- [x] done\n- # big\n  - nested\n"));
        const auto bullets = list.view->findChildren<ListMarkerView*>();
        QCOMPARE(bullets.size(), 3); // plain, big, nested
        QCOMPARE(bullets[0]->text(), QStringLiteral("•"));
        QCOMPARE(bullets[0]->width(), 12);
        QCOMPARE(bullets[0]->alignment(), Qt::AlignHCenter);

        const auto boxes = list.view->findChildren<TaskCheckboxButton*>();
        QCOMPARE(boxes.size(), 2);
        const auto& colors = list.context.designSystem.colors;
        QCOMPARE(boxes[0]->symbolName(), QStringLiteral("square"));
        QCOMPARE(boxes[0]->colour(), QColor(colors.mutedText));
        QCOMPARE(boxes[0]->toolTip(), QStringLiteral("Mark complete"));
        QCOMPARE(boxes[1]->symbolName(), QStringLiteral("checkmark.square.fill"));
        QCOMPARE(boxes[1]->colour(), QColor(colors.accent));
        QCOMPARE(boxes[1]->toolTip(), QStringLiteral("Mark incomplete"));
        QCOMPARE(boxes[0]->sizeHint(), QSize(14, 14));

        // A heading inside an item is at body size; the nested list is a block of
        // its own with its 4-point padding, indented past the parent's marker.
        QList<InlineMarkupView*> texts = list.view->findChildren<InlineMarkupView*>();
        auto big = std::find_if(texts.begin(), texts.end(), [](InlineMarkupView* v) {
            return v->textView() &&
                   v->textView()->document()->toPlainText() == QStringLiteral("big");
        });
        QVERIFY(big != texts.end());
        QCOMPARE((*big)->textView()->document()->defaultFont().pointSizeF() * 96 / 72, 15.0);
        const auto nestedLists = list.view->findChildren<MarkdownBlockView*>();
        QCOMPARE(nestedLists.size(), 1);
        QCOMPARE(margins(*nestedLists[0]), QMargins(0, 4, 0, 4));
        QCOMPARE(nestedLists[0]->mapTo(list.view.get(), QPoint()).x(), 12 + 10);

        // Marker and text share a baseline.
        ListMarkerView* first = bullets[0];
        SelectableTextView* firstText = texts[0]->textView();
        const qreal markerBaseline =
            first->mapTo(list.view.get(), QPoint()).y() + first->baseline();
        const qreal textBaseline =
            firstText->mapTo(list.view.get(), QPoint()).y() + firstText->firstBaseline();
        QVERIFY(qAbs(markerBaseline - textBaseline) <= 1);
    }

    void quoteBoxBarAndSpacing() {
        Block quote(QStringLiteral("> first\n>\n> second\n"));
        auto* box = qobject_cast<QuoteBoxView*>(quote.view->content());
        QVERIFY(box);
        QCOMPARE(box->layout()->spacing(), 6);
        QCOMPARE(box->layout()->contentsMargins(), QMargins(35, 8, 16, 8));
        const QRect bar = box->barRect();
        QCOMPARE(bar.x(), 16);
        QCOMPARE(bar.width(), 3);
        QCOMPARE(bar.height(), box->height() - 16);
        const auto paragraphs = box->findChildren<MarkdownBlockView*>();
        QCOMPARE(paragraphs.size(), 2);
        QCOMPARE(paragraphs[1]->geometry().top() - paragraphs[0]->geometry().bottom() - 1, 6);
        // The box hugs its short content.
        QVERIFY(box->width() < 300);
    }

    void breaksAndFallbackSource() {
        Block rule(QStringLiteral("---\n"));
        QCOMPARE(rule.view->content()->height(), 1);
        QCOMPARE(rule.view->height(), 33);

        Block html(QStringLiteral("<div>\n<b>raw</b>\n</div>\n"));
        auto* source = qobject_cast<SelectableTextView*>(html.view->content());
        QVERIFY(source);
        QCOMPARE(source->document()->toPlainText(), QStringLiteral("<div>\n<b>raw</b>\n</div>"));
        QCOMPARE(source->textColour(), QColor(html.context.designSystem.colors.text));

        MarkdownNode blank;
        blank.kind = MarkdownNodeKind::HtmlBlock;
        blank.literal = QStringLiteral("  \n ");
        MarkdownBlockView empty(blank, TestSupport::context(QString()));
        QVERIFY(empty.isEmpty());
        QVERIFY(empty.isHidden());

        Block code(QStringLiteral("```js\nx\n```\n"));
        QVERIFY(qobject_cast<CodeBlockView*>(code.view->content()));
    }

    void tableBandsSeparatorsAndLines() {
        Block table(QStringLiteral("| H1 | H2 | H3 |\n|:-|:-:|-:|\n| a | b | c |\n| d | | f |\n"
                                   "| g | h | i |\n"));
        auto* view = qobject_cast<MarkdownTableView*>(table.view->content());
        QVERIFY(view);
        const TableGeometry g = view->geometryAt(601);
        QCOMPARE(g.rows.size(), size_t(4));
        QVERIFY(g.rows[0].header);
        QVERIFY(g.rows[1].zebra);
        QVERIFY(!g.rows[2].zebra);
        QVERIFY(g.rows[3].zebra);
        for (const auto& row : g.rows) {
            QCOMPARE(row.separators.size(), size_t(2));
            QCOMPARE(row.cells[0].width(), 200);
            QCOMPARE(row.separators[0], QRect(200, row.rect.top(), 1, row.rect.height()));
            QCOMPARE(row.bottomLine, QRect(0, row.rect.bottom(), 601, 1));
            // Every cell is padded, the empty one too; alignment marks change nothing.
            QCOMPARE(row.texts[1].left(), row.cells[1].left() + 16);
            QVERIFY(row.rect.height() >= 16);
        }
        QCOMPARE(g.height, g.rows.back().rect.bottom() + 1);

        const auto& cells = view->cellViews();
        QCOMPARE(cells[0][0]->document()->defaultFont().weight(), QFont::DemiBold);
        QCOMPARE(cells[0][0]->document()->defaultFont().pointSizeF() * 96 / 72, 14.0);
        QCOMPARE(cells[1][0]->document()->defaultFont().pointSizeF() * 96 / 72, 13.5);
        QCOMPARE(cells[1][0]->textColour(),
                 QColor(table.context.designSystem.colors.secondaryText));
        QCOMPARE(cells[0][0]->lineSpacing(), 5.0);
        QVERIFY(MarkdownTableView::headerOpacity > MarkdownTableView::stripeOpacity);
    }

    void tableGeometryEdgeRows() {
        const auto height = [](int, int, int) { return 20; };
        // No header: the first body row is still striped; one cell, no separator.
        const TableGeometry body = TableGeometry::compute(100, {1, 1}, false, height);
        QVERIFY(!body.rows[0].header);
        QVERIFY(body.rows[0].zebra);
        QVERIFY(body.rows[0].separators.empty());
        QCOMPARE(body.rows[0].rect.height(), 36);
        const TableGeometry headerOnly = TableGeometry::compute(100, {2}, true, height);
        QCOMPARE(headerOnly.rows.size(), size_t(1));
        QVERIFY(headerOnly.rows[0].header);
        QCOMPARE(headerOnly.height, 36);
    }

    void taskClickRewritesTheSourceLine() {
        const QString text = QStringLiteral("intro\n\n- [ ] first\n- [x] second\n");
        Block list(text, 1);
        QStringList changes;
        list.context.onSourceChange = [&](const QString& t) { changes.append(t); };
        const MarkdownNode& first = list.node(1).child(0);
        QCOMPARE(first.range.startLine, 3);
        QCOMPARE(TaskCheckboxAction::click(first.range, list.context),
                 TaskCheckboxAction::Outcome::Changed);
        QCOMPARE(changes, QStringList{QStringLiteral("intro\n\n- [x] first\n- [x] second\n")});

        // Through the button, with the context the view was built with.
        changes.clear();
        MarkdownBlockView view(list.node(1), list.context);
        const auto boxes = view.findChildren<TaskCheckboxButton*>();
        boxes[1]->click();
        QCOMPARE(changes, QStringList{QStringLiteral("intro\n\n- [ ] first\n- [ ] second\n")});
    }

    void taskClickWithoutHandlerRangeOrBox() {
        const QString text = QStringLiteral("- [ ] a\n");
        MarkdownRendererContext context = TestSupport::context(text);
        const SourceRange line1{1, 1, 1, 7};
        QCOMPARE(TaskCheckboxAction::click(line1, context), TaskCheckboxAction::Outcome::NoHandler);
        int calls = 0;
        context.onSourceChange = [&](const QString&) { ++calls; };
        QCOMPARE(TaskCheckboxAction::click(SourceRange{}, context),
                 TaskCheckboxAction::Outcome::NoSourceLine);
        context.markdown = QStringLiteral("- a\n");
        QCOMPARE(TaskCheckboxAction::click(line1, context), TaskCheckboxAction::Outcome::Unchanged);
        QCOMPARE(calls, 0);
    }

    void staleTaskClicksAreIgnored() {
        // The rows were drawn from `drawn`; the editor has since moved the lines.
        const QString drawn = QStringLiteral("- [ ] a\n- [ ] b\n");
        QString current = QStringLiteral("new line\n- [ ] a\n- [ ] b\n");
        MarkdownRendererContext context = TestSupport::context(drawn);
        int changes = 0;
        int reparses = 0;
        context.onSourceChange = [&](const QString&) { ++changes; };
        context.currentMarkdown = [&] { return current; };
        context.onStaleSource = [&] { ++reparses; };
        const SourceRange line1{1, 1, 1, 7};
        QCOMPARE(TaskCheckboxAction::click(line1, context), TaskCheckboxAction::Outcome::Stale);
        QCOMPARE(changes, 0);
        QCOMPARE(reparses, 1);

        current = drawn;
        QCOMPARE(TaskCheckboxAction::click(line1, context), TaskCheckboxAction::Outcome::Changed);
        QCOMPARE(changes, 1);
    }
};

QTEST_MAIN(TestMarkdownBlockView)
#include "tst_markdownblockview.moc"
