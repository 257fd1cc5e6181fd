#include "core/MarkdownParser.h"
#include "core/MarkdownTree.h"
#include "export/MarkdownHTMLExporter.h"
#include "preview/CodeBlockView.h"
#include "preview/InlineMarkupRenderer.h"
#include "preview/InlineMarkupView.h"
#include "preview/LaidOutText.h"
#include "preview/MarkdownBlockView.h"
#include "preview/MarkdownTableView.h"
#include "preview/PreviewSelectionReader.h"
#include "preview/SelectableTextView.h"
#include "preview/TaskCheckboxAction.h"
#include "support/BackgroundWork.h"
#include "support/PreviewColumn.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLayout>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>

namespace {

double pixels(double points) {
    return points * 96.0 / 72.0;
}

struct Source {
    std::shared_ptr<const ParsedMarkdown> parsed;
    MarkdownRendererContext context;

    explicit Source(const QString& markdown, double size = 15)
        : parsed(MarkdownParser::parse(markdown)), context(TestSupport::context(markdown)) {
        context.previewFontSize = size;
    }
    const MarkdownNode& node(int index = 0) const { return parsed->document.child(index); }
    QColor colour(ColorValue DesignSystem::Colors::*role) const {
        return context.designSystem.colors.*role;
    }
};

// One block's view, shown at a width of 600.
struct Block : Source {
    std::unique_ptr<MarkdownBlockView> view;

    explicit Block(const QString& markdown, int index = 0) : Source(markdown) {
        view = std::make_unique<MarkdownBlockView>(node(index), context);
        if (!TestSupport::showExposed(view.get(), {600, view->heightForWidth(600)}))
            qFatal("block view not shown");
    }
};

// The first paragraph's (or heading's) rendered text.
struct Rendered : Source {
    InlineMarkupRenderer::Style style;
    StyledText text;

    explicit Rendered(const QString& markdown, double size = 15) : Source(markdown, size) {
        style = InlineMarkupRenderer::style(context, node().headingLevel);
        text = InlineMarkupRenderer::renderChildren(node(), context, style);
    }
    QTextCharFormat at(const QString& word) const { return text.formatAt(text.text.indexOf(word)); }
};

} // namespace

class TestMarkdownBlockView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QTRY_VERIFY_WITH_TIMEOUT(TestSupport::backgroundWorkIsOver(), 120'000); }

    void headingAndBodyStyles_data() {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<double>("base");
        QTest::addColumn<double>("size");
        QTest::addColumn<int>("weight");
        QTest::addColumn<double>("tracking");
        QTest::addColumn<double>("codeSize");
        QTest::newRow("body") << "a `x`" << 15.0 << 15.0 << int(QFont::Normal) << 0.0 << 13.5;
        QTest::newRow("small body") << "a `x`" << 12.0 << 12.0 << int(QFont::Normal) << 0.0 << 11.0;
        QTest::newRow("h1") << "# a `x`" << 15.0 << 31.0 << int(QFont::Bold) << -0.3 << 29.5;
        QTest::newRow("h2") << "## a `x`" << 15.0 << 22.0 << int(QFont::DemiBold) << 0.0 << 20.5;
        QTest::newRow("h6") << "###### a `x`" << 9.0 << 17.0 << int(QFont::DemiBold) << 0.0 << 15.5;
    }
    void headingAndBodyStyles() {
        QFETCH(QString, markdown);
        QFETCH(double, base);
        QFETCH(double, size);
        QFETCH(int, weight);
        QFETCH(double, tracking);
        QFETCH(double, codeSize);
        const Rendered r(markdown, base);
        QVERIFY(qAbs(pixels(r.style.font.pointSizeF()) - size) < 0.01);
        QCOMPARE(int(r.style.font.weight()), weight);
        QCOMPARE(r.style.tracking, tracking);
        QCOMPARE(r.at(QStringLiteral("a")).foreground().color(),
                 r.colour(&DesignSystem::Colors::text));
        // Inline code: 1.5 smaller but at least 11, monospaced, tinted.
        const QTextCharFormat code = r.at(QStringLiteral("x"));
        QVERIFY(qAbs(pixels(code.fontPointSize()) - codeSize) < 0.01);
        QCOMPARE(code.fontFamilies().toStringList(),
                 DesignSystem::Typography::families(FontDesign::Monospaced));
        QCOMPARE(code.background().color(), r.colour(&DesignSystem::Colors::codeBackground));
    }

    void emphasisStrongAndNesting() {
        const Rendered r(QStringLiteral("plain *soft* **firm** *a **b** `c`* **d *e***"));
        QCOMPARE(r.text.text, QStringLiteral("plain soft firm a b c d e"));
        QCOMPARE(r.at(QStringLiteral("firm")).fontWeight(), int(QFont::Bold));
        // Bold inside italic is italic at the regular weight; italic inside bold is bold.
        QVERIFY(r.at(QStringLiteral("b")).fontItalic());
        QCOMPARE(r.at(QStringLiteral("b")).fontWeight(), int(QFont::Normal));
        QCOMPARE(r.at(QStringLiteral("e")).fontWeight(), int(QFont::Bold));
        QVERIFY(!r.at(QStringLiteral("e")).fontItalic());
        // Code inside emphasis takes the proportional italic and keeps its colours.
        const QTextCharFormat code = r.at(QStringLiteral("c"));
        QVERIFY(code.fontItalic());
        QCOMPARE(code.fontFamilies().toStringList(),
                 DesignSystem::Typography::families(FontDesign::Serif));
        QCOMPARE(code.background().color(), r.colour(&DesignSystem::Colors::codeBackground));
    }

    void linksStrikethroughBreaksAndUnknownInlines() {
        const Rendered r(QStringLiteral(
            "see [the ~~old~~ site](https://x.y) one\ntwo  \nthree <b>raw</b> ~~gone~~"));
        QCOMPARE(r.text.text, QStringLiteral("see the old site one two three <b>raw</b> gone"));
        const QColor accent = r.colour(&DesignSystem::Colors::accent);
        QCOMPARE(r.at(QStringLiteral("site")).foreground().color(), accent);
        QVERIFY(r.at(QStringLiteral("site")).fontUnderline());
        // Strikethrough inside a link survives; the link's colour wins.
        QVERIFY(r.at(QStringLiteral("old")).fontStrikeOut());
        QCOMPARE(r.at(QStringLiteral("old")).foreground().color(), accent);
        QVERIFY(r.at(QStringLiteral("gone")).fontStrikeOut());
    }

    void containerViewChoosesImageColumnOrText() {
        const auto parsed = MarkdownParser::parse(
            QStringLiteral("![only](x.png)\n\nbefore ![pic](y.png) after\n\n# Title *here*\n"));
        const MarkdownRendererContext context = TestSupport::context(parsed->text);
        QCOMPARE(InlineMarkupView(parsed->document.child(0), context).mode(),
                 InlineMarkupView::Mode::Image);
        InlineMarkupView mixed(parsed->document.child(1), context);
        QCOMPARE(mixed.mode(), InlineMarkupView::Mode::Mixed);
        QCOMPARE(mixed.layout()->count(), 3);

        InlineMarkupView heading(parsed->document.child(2), context, 1);
        SelectableTextView* text = heading.textView();
        QCOMPARE(text->document()->toPlainText(), QStringLiteral("Title here"));
    }

    // A long wrapped paragraph is laid out only at the widths it is shown
    // at: its size on one line is counted, which takes no layout.
    void aLongParagraphIsLaidOutOnlyAtItsWidth() {
        LaidOutText text;
        StyledText styled;
        styled.append(QStringLiteral("some words ").repeated(800), {});
        text.setContent(styled, QFont(), 7, true);
        QVERIFY(text.idealSize().width() > 20000);
        QVERIFY(!text.hasDocument());
        QVERIFY(text.heightForWidth(400) > 40 * QFontMetrics(QFont()).height());
        QVERIFY(text.hasDocument());
        QVERIFY(text.lineCount(400) > 40);
    }

    void listMarkersBoxesAndNesting() {
        Block ordered(QStringLiteral("5. five\n6. six\n7. [ ] task\n"));
        const auto numbers = ordered.view->findChildren<ListMarkerView*>();
        QCOMPARE(numbers.size(), 3);
        QCOMPARE(numbers[0]->text(), QStringLiteral("1."));
        QCOMPARE(numbers[2]->text(), QStringLiteral("3."));
        QCOMPARE(numbers[0]->colour(), ordered.colour(&DesignSystem::Colors::mutedText));
        // A task in an ordered list keeps its number and has no box.
        QVERIFY(ordered.view->findChildren<TaskCheckboxButton*>().isEmpty());

        Block list(QStringLiteral("- plain\n- [ ] open\n- [x] done\n- # big\n  - nested\n"));
        const auto bullets = list.view->findChildren<ListMarkerView*>();
        QCOMPARE(bullets.size(), 3); // plain, big, nested
        QCOMPARE(bullets[0]->text(), QStringLiteral("•"));
        const auto boxes = list.view->findChildren<TaskCheckboxButton*>();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0]->symbolName(), QStringLiteral("square"));
        QCOMPARE(boxes[0]->colour(), list.colour(&DesignSystem::Colors::mutedText));
        QCOMPARE(boxes[1]->symbolName(), QStringLiteral("checkmark.square.fill"));
        QCOMPARE(boxes[1]->colour(), list.colour(&DesignSystem::Colors::accent));

        // A heading inside an item is at body size; the nested list is a block of
        // its own, indented past the parent's marker.
        const QList<InlineMarkupView*> texts = list.view->findChildren<InlineMarkupView*>();
        const auto big = std::find_if(texts.begin(), texts.end(), [](InlineMarkupView* v) {
            return v->textView()->document()->toPlainText() == QStringLiteral("big");
        });
        QCOMPARE(pixels((*big)->textView()->document()->defaultFont().pointSizeF()), 15.0);
        const auto nested = list.view->findChildren<MarkdownBlockView*>();
        QCOMPARE(nested.size(), 1);
        QVERIFY(nested[0]->mapTo(list.view.get(), QPoint()).x() >
                bullets[0]->mapTo(list.view.get(), QPoint(bullets[0]->width(), 0)).x());

        // Marker and text share a baseline.
        SelectableTextView* firstText = texts[0]->textView();
        const qreal markerBaseline =
            bullets[0]->mapTo(list.view.get(), QPoint()).y() + bullets[0]->baseline();
        const qreal textBaseline =
            firstText->mapTo(list.view.get(), QPoint()).y() + firstText->firstBaseline();
        QVERIFY(qAbs(markerBaseline - textBaseline) <= 1);
    }

    void quoteBoxBarAndSpacing() {
        Block quote(QStringLiteral("> first\n>\n> second\n"));
        auto* box = qobject_cast<QuoteBoxView*>(quote.view->content());
        QVERIFY(box->barRect().height() > box->height() / 2);
        const auto paragraphs = box->findChildren<MarkdownBlockView*>();
        QCOMPARE(paragraphs.size(), 2);
        QCOMPARE(paragraphs[1]->geometry().top() - paragraphs[0]->geometry().bottom() - 1, 6);
        // The box hugs its short content.
        QVERIFY(box->width() < 300);
    }

    void breaksCodeAndFallbackSource() {
        Block rule(QStringLiteral("---\n"));
        QCOMPARE(rule.view->content()->height(), 1);
        QVERIFY(
            qobject_cast<CodeBlockView*>(Block(QStringLiteral("```\nx\n```\n")).view->content()));

        Block html(QStringLiteral("<div>\n<b>raw</b>\n</div>\n"));
        auto* source = qobject_cast<SelectableTextView*>(html.view->content());
        QCOMPARE(source->document()->toPlainText(), QStringLiteral("<div>\n<b>raw</b>\n</div>"));

        MarkdownNode blank;
        blank.kind = MarkdownNodeKind::HtmlBlock;
        blank.literal = u"  \n ";
        MarkdownBlockView empty(blank, TestSupport::context(QString()));
        QVERIFY(empty.isEmpty() && empty.isHidden());
    }

    // The preview colours a block as the language the export tags it with:
    // the info string's first word, whatever follows it.
    void codeLanguageAgreesWithTheExport_data() {
        QTest::addColumn<QString>("fence");
        QTest::addColumn<QString>("language");
        QTest::newRow("attributes")
            << QStringLiteral("```python title=x") << QStringLiteral("python");
        QTest::newRow("tabs and spaces")
            << QStringLiteral("~~~ \t python\tlinenos=1") << QStringLiteral("python");
        QTest::newRow("braces after")
            << QStringLiteral("```c++ {.numberLines}") << QStringLiteral("c++");
        QTest::newRow("one word") << QStringLiteral("```json") << QStringLiteral("json");
        QTest::newRow("none") << QStringLiteral("```") << QString();
    }
    void codeLanguageAgreesWithTheExport() {
        QFETCH(QString, fence);
        QFETCH(QString, language);
        const QString close =
            fence.startsWith(u'~') ? QStringLiteral("~~~") : QStringLiteral("```");
        const QString markdown = fence + QStringLiteral("\ndef f(): pass\n") + close + u'\n';
        Block block(markdown);
        auto* card = qobject_cast<CodeBlockView*>(block.view->content());
        QVERIFY(card);
        QCOMPARE(card->language(), language);
        QCOMPARE(card->languageLabel() ? card->languageLabel()->text() : QString(),
                 language.toUpper());

        const QString html =
            MarkdownHTMLExporter::htmlDocument(markdown, block.context.designSystem, {});
        const QRegularExpressionMatch tag =
            QRegularExpression(QStringLiteral("<code( class=\"language-([^\"]*)\")?>")).match(html);
        QVERIFY(tag.hasMatch());
        QCOMPARE(tag.captured(2), language.toHtmlEscaped());
        // Coloured off the UI thread.
        if (language == u"python")
            QTRY_COMPARE_WITH_TIMEOUT(
                card->codeView()->content().formatAt(0).foreground().color().name(),
                QStringLiteral("#a626a4"), 60000);
    }

    void tableBandsSeparatorsAndLines() {
        Block table(QStringLiteral("| H1 | H2 | H3 |\n|:-|:-:|-:|\n| a | b | c |\n| d | | f |\n"
                                   "| g | h | i |\n"));
        auto* view = qobject_cast<MarkdownTableView*>(table.view->content());
        const TableGeometry g = view->geometryAt(601);
        QCOMPARE(g.rows.size(), size_t(4));
        QVERIFY(g.rows[0].header);
        QVERIFY(g.rows[1].zebra && !g.rows[2].zebra && g.rows[3].zebra);
        for (const auto& row : g.rows) {
            QCOMPARE(row.cells[0].width(), 200);
            QCOMPARE(row.separators.size(), size_t(2));
            // Every cell is padded, the empty one too.
            QCOMPARE(row.texts[1].left(), row.cells[1].left() + 16);
        }
        QCOMPARE(g.height, g.rows.back().rect.bottom() + 1);

        const QFont header = view->cellText(0, 0).document()->defaultFont();
        QCOMPARE(header.weight(), QFont::DemiBold);
        QCOMPARE(view->rowColour(1), table.colour(&DesignSystem::Colors::secondaryText));

        // No header: the first body row is still striped; one cell, no separator.
        const TableGeometry body =
            TableGeometry::compute(100, {1, 1}, false, [](int, int, int) { return 20; });
        QVERIFY(!body.rows[0].header && body.rows[0].zebra);
        QVERIFY(body.rows[0].separators.empty());
    }

    // The cells are drawn by the table; the reader selects within one cell.
    void tableCellsSelectAndCopy() {
        Block table(QStringLiteral("| Head | Other |\n|---|---|\n| alpha beta | gamma |\n"));
        auto* view = qobject_cast<MarkdownTableView*>(table.view->content());
        const TableGeometry& g = view->geometryAt(view->width());
        const QRect alpha = g.rows[1].texts[0];
        QTest::mouseDClick(view, Qt::LeftButton, {},
                           alpha.topLeft() + QPoint(4, alpha.height() / 2));
        QCOMPARE(view->selectedText(), QStringLiteral("alpha"));
        QCOMPARE(PreviewSelectionReader::selectedTextIn(table.view.get()), QStringLiteral("alpha"));
        QApplication::clipboard()->clear();
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("alpha"));

        // A drag stays within the cell it started in.
        const QRect gamma = g.rows[1].texts[1];
        QTest::mousePress(view, Qt::LeftButton, {}, alpha.topLeft() + QPoint(0, 4));
        QTest::mouseMove(view, gamma.bottomRight());
        QTest::mouseRelease(view, Qt::LeftButton, {}, gamma.bottomRight());
        QCOMPARE(view->selectedText(), QStringLiteral("alpha beta"));
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(view->selectedText(), QStringLiteral("alpha beta"));
        // Between cells there is nothing to select.
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(alpha.right() + 17, alpha.top()));
        QVERIFY(!view->hasSelection());
    }

    void aLongTableKeepsOnlyTheLayoutsItDraws() {
        QString markdown = QStringLiteral("> | a | b |\n> |---|---|\n");
        for (int i = 0; i < 2000; ++i)
            markdown += QStringLiteral("> | row %1 | cell |\n").arg(i);
        Block quote(markdown);
        auto* view = quote.view->findChild<MarkdownTableView*>();
        QCOMPARE(view->rowCount(), 2001);
        view->grab(QRect(0, 0, view->width(), 300));
        QVERIFY(view->laidOutCellCount() <= 2 * 2 * MarkdownTableView::keptRows);
        const TableGeometry& g = view->geometryAt(view->width());
        view->grab(QRect(0, g.rows[1500].rect.top(), view->width(), 300));
        QVERIFY(view->cellText(1500, 0).hasDocument());
        QVERIFY(!view->cellText(1, 0).hasDocument());
        QVERIFY(view->laidOutCellCount() <= 2 * 2 * MarkdownTableView::keptRows);
    }

    void taskClicksRewriteTheSourceLine() {
        Block list(QStringLiteral("intro\n\n- [ ] first\n- [x] second\n"), 1);
        using Outcome = TaskCheckboxAction::Outcome;
        const SourceRange first = list.node(1).child(0).range;
        QCOMPARE(TaskCheckboxAction::click(first, list.context), Outcome::NoHandler);
        QStringList changes;
        list.context.onSourceChange = [&](const QString& t) { changes.append(t); };
        QCOMPARE(TaskCheckboxAction::click(SourceRange{}, list.context), Outcome::NoSourceLine);
        QCOMPARE(TaskCheckboxAction::click(first, list.context), Outcome::Changed);
        QCOMPARE(changes, QStringList{QStringLiteral("intro\n\n- [x] first\n- [x] second\n")});

        // Through the button, with the context the view was built with.
        changes.clear();
        MarkdownBlockView view(list.node(1), list.context);
        view.findChildren<TaskCheckboxButton*>()[1]->click();
        QCOMPARE(changes, QStringList{QStringLiteral("intro\n\n- [ ] first\n- [ ] second\n")});

        // A line that holds no box changes nothing.
        list.context.markdown = QStringLiteral("intro\n\n- first\n");
        QCOMPARE(TaskCheckboxAction::click(first, list.context), Outcome::Unchanged);
        QCOMPARE(changes.size(), 1);
    }
};

QTEST_MAIN(TestMarkdownBlockView)
#include "tst_markdownblockview.moc"
