#include "core/MarkdownTree.h"
#include "preview/InlineMarkupRenderer.h"
#include "preview/InlineMarkupView.h"
#include "preview/SelectableTextView.h"
#include "support/PreviewColumn.h"

#include <QLayout>
#include <QTest>
#include <QTextDocument>

namespace {

double pixels(const QFont& font) {
    return font.pointSizeF() * 96.0 / 72.0;
}
double pixels(const QTextCharFormat& format) {
    return format.fontPointSize() * 96.0 / 72.0;
}

// The first paragraph's (or heading's) rendered text.
struct Rendered {
    std::shared_ptr<const ParsedMarkdown> parsed;
    MarkdownRendererContext context;
    InlineMarkupRenderer::Style style;
    StyledText text;

    QTextCharFormat at(const QString& word) const { return text.formatAt(text.text.indexOf(word)); }
};

Rendered render(const QString& markdown, double size = 15, FontDesign design = FontDesign::Serif) {
    Rendered r;
    r.parsed = MarkdownParser::parse(markdown);
    r.context = TestSupport::context(markdown);
    r.context.previewFontSize = size;
    r.context.designSystem = DesignSystem::make(DesignSystem::Colors::light(), design, false);
    const MarkdownNode& block = r.parsed->document.child(0);
    r.style = InlineMarkupRenderer::style(r.context, block.headingLevel);
    r.text = InlineMarkupRenderer::renderChildren(block, r.context, r.style);
    return r;
}

} // namespace

class TestInlineMarkupRenderer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headingAndBodyStyles_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<double>("size");
        QTest::addColumn<int>("weight");
        QTest::addColumn<double>("tracking");
        QTest::newRow("body") << 0 << 15.0 << int(QFont::Normal) << 0.0;
        QTest::newRow("h1") << 1 << 31.0 << int(QFont::Bold) << -0.3;
        QTest::newRow("h2") << 2 << 22.0 << int(QFont::DemiBold) << 0.0;
        QTest::newRow("h3") << 3 << 17.0 << int(QFont::DemiBold) << 0.0;
        QTest::newRow("h6") << 6 << 17.0 << int(QFont::DemiBold) << 0.0;
    }
    void headingAndBodyStyles() {
        QFETCH(int, level);
        QFETCH(double, size);
        QFETCH(int, weight);
        QFETCH(double, tracking);
        const MarkdownRendererContext context = TestSupport::context(QString());
        const auto style = InlineMarkupRenderer::style(context, level);
        QCOMPARE(style.size, size);
        QVERIFY(qAbs(pixels(style.font) - size) < 0.01);
        QCOMPARE(int(style.font.weight()), weight);
        QCOMPARE(style.tracking, tracking);
        QCOMPARE(style.lineSpacing, 7.0);
        QCOMPARE(style.color, QColor(context.designSystem.colors.text));
        QCOMPARE(style.font.families(), DesignSystem::Typography::families(FontDesign::Serif));
    }

    void inlineCodeIsSmallerMonospacedWithAFloor() {
        QCOMPARE(InlineMarkupRenderer::inlineCodeSize(15), 13.5);
        QCOMPARE(InlineMarkupRenderer::inlineCodeSize(12), 11.0);
        QCOMPARE(InlineMarkupRenderer::inlineCodeSize(31), 29.5);

        const Rendered body = render(QStringLiteral("call `f()` now"));
        const QTextCharFormat code = body.at(QStringLiteral("f()"));
        QVERIFY(qAbs(pixels(code) - 13.5) < 0.01);
        QCOMPARE(code.fontFamilies().toStringList(),
                 DesignSystem::Typography::families(FontDesign::Monospaced));
        const auto& colors = body.context.designSystem.colors;
        QCOMPARE(code.foreground().color(), QColor(colors.text));
        QCOMPARE(code.background().color(), QColor(colors.codeBackground));

        QVERIFY(qAbs(pixels(render(QStringLiteral("`x`"), 12).at(QStringLiteral("x"))) - 11) <
                0.01);
        QVERIFY(qAbs(pixels(render(QStringLiteral("# a `x`")).at(QStringLiteral("x"))) - 29.5) <
                0.01);
        // Inline code stays monospaced in every design.
        QCOMPARE(render(QStringLiteral("`x`"), 15, FontDesign::Rounded)
                     .at(QStringLiteral("x"))
                     .fontFamilies()
                     .toStringList(),
                 DesignSystem::Typography::families(FontDesign::Monospaced));
    }

    void emphasisStrongAndNesting() {
        const Rendered r = render(QStringLiteral("plain *soft* **firm** *a **b** `c`* **d *e***"));
        QCOMPARE(r.text.text, QStringLiteral("plain soft firm a b c d e"));
        QVERIFY(!r.at(QStringLiteral("plain")).fontItalic());
        QVERIFY(r.at(QStringLiteral("soft")).fontItalic());
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
        QCOMPARE(code.background().color(), QColor(r.context.designSystem.colors.codeBackground));
        for (const QString& word : {QStringLiteral("plain"), QStringLiteral("soft")})
            QCOMPARE(r.at(word).foreground().color(), QColor(r.context.designSystem.colors.text));
    }

    void linksStrikethroughBreaksAndUnknownInlines() {
        const Rendered r = render(QStringLiteral(
            "see [the ~~old~~ site](https://x.y) one\ntwo  \nthree <b>raw</b> ~~gone~~"));
        QCOMPARE(r.text.text, QStringLiteral("see the old site one two three <b>raw</b> gone"));
        const QColor accent = r.context.designSystem.colors.accent;
        const QTextCharFormat link = r.at(QStringLiteral("site"));
        QCOMPARE(link.foreground().color(), accent);
        QVERIFY(link.fontUnderline());
        QVERIFY(!link.isAnchor());
        // Strikethrough inside a link survives; the link's colour wins.
        QVERIFY(r.at(QStringLiteral("old")).fontStrikeOut());
        QCOMPARE(r.at(QStringLiteral("old")).foreground().color(), accent);
        QVERIFY(r.at(QStringLiteral("gone")).fontStrikeOut());
        QCOMPARE(r.at(QStringLiteral("<b>")).foreground().color(),
                 QColor(r.context.designSystem.colors.text));
    }

    void containerViewChoosesImageColumnOrText() {
        const auto parsed = MarkdownParser::parse(
            QStringLiteral("![only](x.png)\n\nbefore ![pic](y.png) after\n\n# Title *here*\n"));
        const MarkdownRendererContext context = TestSupport::context(parsed->text);
        InlineMarkupView image(parsed->document.child(0), context);
        QCOMPARE(image.mode(), InlineMarkupView::Mode::Image);
        QVERIFY(!image.textView());

        InlineMarkupView mixed(parsed->document.child(1), context);
        QCOMPARE(mixed.mode(), InlineMarkupView::Mode::Mixed);
        QCOMPARE(mixed.layout()->count(), 3);
        QCOMPARE(mixed.layout()->spacing(), 6);

        InlineMarkupView heading(parsed->document.child(2), context, 1);
        QCOMPARE(heading.mode(), InlineMarkupView::Mode::Text);
        SelectableTextView* text = heading.textView();
        QCOMPARE(text->document()->toPlainText(), QStringLiteral("Title here"));
        QCOMPARE(text->lineSpacing(), 7.0);
        QVERIFY(qAbs(text->document()->defaultFont().letterSpacing() + 0.3) < 0.01);
        // Selection and copy go through the view's own selection.
        text->selectAll();
        QCOMPARE(text->selectedText(), QStringLiteral("Title here"));
    }

    void lineSpacingIsOnlyBetweenLines() {
        const Rendered r = render(QStringLiteral("word"));
        SelectableTextView view;
        view.setContent(r.text, r.style.font, r.style.color, 7, true);
        const int one = view.heightForWidth(400);
        StyledText two = r.text;
        two.append(QStringLiteral("\nword"), r.text.formats.first().format);
        view.setContent(two, r.style.font, r.style.color, 7, true);
        const int lineHeight = int(std::ceil(QFontMetricsF(r.style.font).lineSpacing()));
        QVERIFY(qAbs(view.heightForWidth(400) - (2 * one + 7)) <= 1);
        QVERIFY(qAbs(one - lineHeight) <= 1);
    }
};

QTEST_MAIN(TestInlineMarkupRenderer)
#include "tst_inlinemarkuprenderer.moc"
