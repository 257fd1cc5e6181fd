#include "core/DesignSystem.h"
#include "editor/EditorText.h"
#include "editor/MarkdownSyntaxHighlighter.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"

#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <functional>
#include <map>
#include <optional>
#include <vector>

using Style = MarkdownSyntaxHighlighter::Style;
using FontStyle = MarkdownSyntaxHighlighter::FontStyle;
using Colour = MarkdownSyntaxHighlighter::Colour;

namespace {

// One pass of the whole-text run: what it sets on one group of each match.
struct Pass {
    const char* pattern;
    int group;
    std::optional<FontStyle> font;
    std::optional<Colour> colour;
    bool codeBackground = false;
};
const char* const link = R"((!?\[[^\]\n]*\])(\([^)\n]*\)))";
const char* const heading = R"(^(#{1,6})[ \t].*$)";
const Pass passes[] = {
    {R"((\*\*[^\s*][^*\n]*\*\*|__[^\s_][^_\n]*__))", 0, FontStyle::Bold, {}},
    {R"(((?<![\w*])\*[^*\n]+\*(?!\*)|(?<![\w_])_[^_\n]+_(?!_)))", 0, FontStyle::Italic, {}},
    {R"(`[^`\n]+`)", 0, {}, Colour::Accent, true},
    {link, 1, {}, Colour::Accent},
    {link, 2, {}, Colour::MutedText},
    {R"(^[ \t]*(?:[-*+]|\d+\.)[ \t])", 0, {}, Colour::MutedText},
    {R"(^[ \t]*[-*+][ \t]+\[[ xX]\])", 0, {}, Colour::Accent},
    {heading, 0, FontStyle::Bold, {}},
    {heading, 1, {}, Colour::Accent},
    {R"(^[ \t]*>.*$)", 0, FontStyle::Italic, Colour::SecondaryText},
    {R"(^[ \t]*(-{3,}|\*{3,}|_{3,})[ \t]*$)", 0, {}, Colour::MutedText},
};

// The plain whole-text colouring the highlighter must reproduce: every pass
// over the whole string, then one walk over the lines for the fences.
std::vector<Style> referenceColouring(const QString& text) {
    std::vector<Style> styles(size_t(text.size()));
    for (const Pass& pass : passes) {
        const QRegularExpression re(QString::fromLatin1(pass.pattern),
                                    QRegularExpression::MultilineOption |
                                        QRegularExpression::UseUnicodePropertiesOption);
        for (auto it = re.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            for (qsizetype i = m.capturedStart(pass.group); i < m.capturedEnd(pass.group); ++i) {
                Style& s = styles[size_t(i)];
                s.font = pass.font.value_or(s.font);
                s.foreground = pass.colour.value_or(s.foreground);
                s.codeBackground |= pass.codeBackground;
            }
        }
    }
    static const QRegularExpression fence(QStringLiteral("^[\\t\\p{Zs}]*(```|~~~)"));
    bool inFence = false;
    qsizetype start = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const bool isFence = fence.match(line).hasMatch();
        inFence ^= isFence;
        if (isFence || inFence)
            std::fill_n(
                styles.begin() + start, line.size(),
                Style{FontStyle::Base, isFence ? Colour::MutedText : Colour::SecondaryText});
        start += line.size() + 1;
    }
    return styles;
}

// What the highlighter drew, read back from the block layouts: a character
// without a format shows plain, one with a format not the highlighter's reads
// as nothing. Whether a line is shaped does not change how it is coloured.
std::vector<std::optional<Style>> drawnStyles(const MarkdownSyntaxHighlighter& hl) {
    const QTextDocument& doc = *hl.document();
    std::vector<std::optional<Style>> out(size_t(doc.characterCount() - 1), Style{});
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (const QTextLayout::FormatRange& r : b.layout()->formats()) {
            std::optional<Style> style;
            for (int k = 0; k < 24 && !style; ++k) {
                const Style candidate{FontStyle(k / 8), Colour(k / 2 % 4), k % 2 == 1};
                QTextCharFormat format = hl.format(candidate);
                format.setFontStyleStrategy(r.format.fontStyleStrategy());
                if (format == r.format)
                    style = candidate;
            }
            for (int i = r.start; i < r.start + r.length && i < b.length() - 1; ++i)
                out[size_t(b.position() + i)] = style;
        }
    return out;
}

// Where the drawn colouring first differs from `expected`, or "".
QString mismatch(const MarkdownSyntaxHighlighter& hl, const std::vector<Style>& expected) {
    const QString text = EditorText::text(hl.document());
    const auto drawn = drawnStyles(hl);
    for (size_t i = 0; i < expected.size(); ++i)
        if (text[qsizetype(i)] != QLatin1Char('\n') && drawn[i] != expected[i]) {
            const QTextBlock b = hl.document()->findBlock(int(i));
            return QStringLiteral("column %1 of line %2 \"%3\"")
                .arg(qsizetype(i) - b.position())
                .arg(b.blockNumber() + 1)
                .arg(b.text());
        }
    return {};
}

#define VERIFY_REFERENCE(hl)                                                                       \
    do {                                                                                           \
        const QString where = mismatch(hl, referenceColouring(EditorText::text(hl.document())));   \
        QVERIFY2(where.isEmpty(), qPrintable(where));                                              \
    } while (false)

// Five distinct colours, so a role swapped for another shows.
HighlightConfig testConfig(double size = 14) {
    EditorTheme theme{QColor(20, 20, 20), QColor(90, 90, 90), QColor(150, 150, 150),
                      QColor(200, 60, 30), QColor(240, 235, 225)};
    return {size, theme, DesignSystem::Typography::font(FontDesign::Monospaced, size)};
}

// One random line of Markdown punctuation, with the odd non-BMP character.
QString punctuationLine(QRandomGenerator& rng) {
    static const QString punctuation =
        QStringLiteral("#*_`[]()!>-+~ \t.xX0123456789aZ\u00e9\u00a0\u3000\u0663");
    QString line = rng.bounded(12) == 0 ? QStringLiteral("  ```") : QString();
    for (int i = rng.bounded(0, 40); i > 0; --i) {
        const int pick = rng.bounded(punctuation.size() + 2);
        line += pick == punctuation.size()       ? QStringLiteral("\U0001F600")
                : pick == punctuation.size() + 1 ? QStringLiteral("\U0001D7D8") // digit (Nd)
                                                 : QString(punctuation[pick]);
    }
    return line;
}

// Markdown of at least `size` UTF-16 units with every construct the
// highlighter knows, a few unclosed ones, then `extra` punctuation lines.
QString generatedMarkdown(QRandomGenerator& rng, qsizetype size, int extra) {
    static const QStringList lines =
        QString::fromUtf8(
            "# Heading %1\n###### Six %1 with `code` and *it*\n####### not a heading %1\n"
            "#NoSpace %1\nSome *emphasis*, **strong** and __strong__ _text_ [a link](x/%1).\n"
            "snake_case_name %1 and 2*3*4 and **(**\n- item %1\n  * nested [x] %1\n+\ttab item %1\n"
            "- [ ] task %1\n- [x] done %1 and [ ] later\n12. ordered %1\n\u0663. arabic digit %1\n"
            "> quote %1 with **bold**\n   > indented quote %1\n---\n***\n___ \n- - -\n"
            "![alt %1](img/%1.png) and [ref][x] and [t](u\n```swift\n"
            "let value%1 = compute(%1) // **not bold**\n```\n  ~~~\n\u00a0```still a fence %1\n"
            "Unicode \u00e9\u2028line separator %1 \U0001F600 `x`\n\n| A | B |\n|---|---|")
            .split(QLatin1Char('\n'));
    QString out;
    while (out.size() < size)
        out += QString(lines[rng.bounded(int(lines.size()))])
                   .replace(QLatin1String("%1"), QString::number(rng.bounded(100000))) +
               QLatin1Char('\n');
    for (int i = 0; i < extra; ++i)
        out += punctuationLine(rng) + QLatin1Char('\n');
    return out;
}

struct Editor {
    QPlainTextEdit edit;
    MarkdownSyntaxHighlighter* hl;
    explicit Editor(const QString& text) : edit(text) {
        hl = new MarkdownSyntaxHighlighter(edit.document(), testConfig());
    }
};

// The style of each mask letter: . plain, b bold, i italic, m muted, a accent,
// A bold accent, c fenced code, q quote, k inline code, K bold inline code.
Style maskStyle(QChar letter) {
    static const QString letters = QStringLiteral(".bimaAcqkK");
    using F = FontStyle;
    using C = Colour;
    // clang-format off
    static const Style styles[] = {
        {}, {F::Bold, C::Text}, {F::Italic, C::Text}, {F::Base, C::MutedText}, {F::Base, C::Accent},
        {F::Bold, C::Accent}, {F::Base, C::SecondaryText}, {F::Italic, C::SecondaryText},
        {F::Base, C::Accent, true}, {F::Bold, C::Accent, true}};
    // clang-format on
    // Line breaks in a mask are never compared.
    const qsizetype index = letters.indexOf(letter);
    return index < 0 ? Style{} : styles[index];
}

} // namespace

class TestMarkdownSyntaxHighlighter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void colours_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("mask");
        auto row = [](const char* name, const char* text, const char* mask) {
            QTest::newRow(name) << QString::fromUtf8(text) << QString::fromLatin1(mask);
        };
        row("headings", "# Title\n#Title\n####### x", "Abbbbbb\n......\n.........");
        row("emphasis", "**bold**\n** not bold**\nsnake_case_name\n*a* and _b_",
            "bbbbbbbb\n.............\n...............\niii.....iii");
        // Code keeps its colours in a heading and takes its bold; italic turns bold.
        row("heading spans", "## Head `code` *it*", "AAbbbbbbKKKKKKbbbbb");
        row("quote", "> quote **b**", "qqqqqqqqqqqqq");
        row("lists", "- - -\n- [x] done\n1. item\n  * [ ] t",
            "mm...\naaaaa.....\nmmm....\naaaaaaa..");
        row("breaks and links", "---\n***\n__ _\n![alt](img.png)",
            "mmm\nmmm\n....\naaaaaammmmmmmmm");
        row("fences",
            "```swift\n**bold** # x\n  ~~~ closes\nafter **x**\n\t```\nnever closed\n\n# still",
            "mmmmmmmm\ncccccccccccc\nmmmmmmmmmmmm\n......bbbbb\nmmmm\ncccccccccccc\n\nccccccc");
    }
    void colours() {
        QFETCH(QString, text);
        QFETCH(QString, mask);
        QCOMPARE(mask.size(), text.size());
        std::vector<Style> expected;
        for (QChar letter : mask)
            expected.push_back(maskStyle(letter));
        Editor e(text);
        const QString where = mismatch(*e.hl, expected);
        QVERIFY2(where.isEmpty(), qPrintable(where));
        VERIFY_REFERENCE((*e.hl));
        // Plain text keeps no format: a line without markup holds none.
        for (QTextBlock b = e.edit.document()->begin(); b.isValid(); b = b.next())
            for (const QTextLayout::FormatRange& r : b.layout()->formats())
                QVERIFY(r.format != e.hl->format(Style{}));
    }

    // Colouring is no edit: no undo step, no modified flag, no change
    // signal, also when a new configuration recolours everything.
    void colouringIsNoEdit() {
        QPlainTextEdit edit(QStringLiteral("# Title\n```\ncode\n```\n**b** `c` [l](u)\n"));
        QTextDocument* doc = edit.document();
        QSignalSpy changed(doc, &QTextDocument::contentsChanged);
        QSignalSpy textChanged(&edit, &QPlainTextEdit::textChanged);
        auto* hl = new MarkdownSyntaxHighlighter(doc, testConfig());
        QCoreApplication::processEvents(); // the base class's deferred run
        HighlightConfig next = testConfig(20);
        next.theme.accent = QColor(10, 120, 200);
        hl->setConfig(next);
        QCOMPARE(changed.count() + textChanged.count(), 0);
        QVERIFY(!doc->isModified());
        QVERIFY(!doc->isUndoAvailable());

        const QTextCharFormat marker = doc->firstBlock().layout()->formats().first().format;
        QCOMPARE(marker.foreground().color(), next.theme.accent);
        QCOMPARE(marker.font().pointSizeF(), next.baseFont.pointSizeF());
        QVERIFY(marker.font().bold());
        VERIFY_REFERENCE((*hl));
    }

    // Loading a text with the base class deaf to it stands on a private Qt
    // slot, by name (as in Qt 6.4.2): a Qt that moves it must fail here.
    void loadingIsUnheardByTheBaseClass() {
        QPlainTextEdit edit;
        QTextDocument* doc = edit.document();
        MarkdownSyntaxHighlighter hl(doc, testConfig());
        QCoreApplication::processEvents(); // the base class's deferred run: it hears edits now
        bool heard = true;
        hl.loadProgressively([&] {
            QTextCursor(doc).insertText(QStringLiteral("# Title\n"));
            heard = !doc->firstBlock().layout()->formats().isEmpty();
        });
        QVERIFY2(!heard, "disconnecting QSyntaxHighlighter's _q_reformatBlocks(int,int,int) no "
                         "longer keeps it from colouring a text as it loads");
        QTRY_VERIFY(!hl.isColouringProgressively());
        QVERIFY(!doc->firstBlock().layout()->formats().isEmpty());
    }

    void darkThemeByBrightness() {
        EditorTheme blue; // HSB brightness 1, lightness only 0.5
        blue.text = Qt::blue;
        QVERIFY(isDarkTheme(blue));
        using C = DesignSystem::Colors;
        for (const C* c :
             {&C::light(), &C::porcelain(), &C::sage(), &C::dark(), &C::depth(), &C::ember()}) {
            const DesignSystem ds = DesignSystem::make(*c, FontDesign::Serif, false);
            QCOMPARE(isDarkTheme(EditorTheme::from(ds)),
                     c == &C::dark() || c == &C::depth() || c == &C::ember());
        }
    }

    // The incremental colouring equals the whole-text run on a megabyte of
    // generated Markdown plus 10,000 random punctuation lines, and still does
    // after random edits, in a large and in a small document.
    void equalsWholeTextRun() {
        QRandomGenerator rng(4242);
        Editor large(generatedMarkdown(rng, 1024 * 1024, 10000));
        VERIFY_REFERENCE((*large.hl));
        randomEdits(large, rng, 200, 50);
        Editor small(generatedMarkdown(rng, 6000, 200));
        randomEdits(small, rng, 400, 1);
    }

    // A first text is read for its fences where it was loaded from; lines the
    // document splits otherwise (CR, CRLF, U+2029, frame marks) still come
    // out as the whole-text run colours them.
    void firstTextFences_data() {
        QTest::addColumn<QString>("text");
        const QString fenced = QStringLiteral("```\ncode *a*\n```\n# **h**\n~~~\n`k`\n");
        QTest::newRow("lf") << fenced;
        QTest::newRow("empty") << QString();
        QTest::newRow("no final break") << fenced + QStringLiteral("```\nlast");
        QTest::newRow("crlf") << QString(fenced).replace(u'\n', QStringLiteral("\r\n"));
        QTest::newRow("lone cr") << QString(fenced).replace(u'\n', u'\r');
        QTest::newRow("paragraph separator") << QString(fenced).replace(u'\n', QChar(0x2029));
        QTest::newRow("frame marks") << QString(fenced).replace(u'\n', QChar(0xFDD0));
        QTest::newRow("nuls") << QString(fenced).replace(
            QStringLiteral("code"), QStringLiteral("c") + QChar(0) + u'o' + QChar(0));
        QTest::newRow("bom and line separator")
            << QChar(0xFEFF) +
                   QString(fenced).replace(QStringLiteral("```\n#"),
                                           QStringLiteral("```") + QChar(0x2028) + u'#');
    }
    void firstTextFences() {
        QFETCH(QString, text);
        MarkdownTextEditor editor(testConfig());
        editor.setText(text);
        MarkdownSyntaxHighlighter& hl = *editor.highlighter();
        QTRY_VERIFY(!hl.isColouringProgressively());
        VERIFY_REFERENCE(hl);
    }

    // A large first text is coloured a slice at a time from the event loop.
    // Lines scrolled into view are coloured at once, edits made meanwhile
    // (one of them opening a fence over lines not reached yet) are coloured
    // as always, and the end result equals the whole-text run. The colouring
    // itself adds no undo step and emits no edit.
    void progressiveColouring() {
        QRandomGenerator rng(99);
        MarkdownTextEditor editor(testConfig());
        editor.resize(600, 400);
        editor.show();
        QSignalSpy edited(&editor, &MarkdownTextEditor::textEdited);
        // The last lines lie inside a fence, so they come out right only with
        // the fence state of the lines before them.
        QString text = generatedMarkdown(rng, 1024 * 1024, 2000);
        static const QRegularExpression fence(QStringLiteral("^[\\t\\p{Zs}]*(```|~~~)"),
                                              QRegularExpression::MultilineOption);
        int fences = 0;
        for (auto it = fence.globalMatch(text); it.hasNext(); it.next())
            ++fences;
        text += (fences % 2 ? QStringLiteral("x\n") : QStringLiteral("```\n")) +
                QStringLiteral("# **a** `b`\n").repeated(100);
        editor.setText(text);
        MarkdownSyntaxHighlighter& hl = *editor.highlighter();
        QTextDocument* doc = hl.document();
        QVERIFY(hl.isColouringProgressively());
        QVERIFY(!doc->isModified());
        QVERIFY(!doc->isUndoAvailable());
        QCOMPARE(editor.textView()->textCursor().position(), 0);

        QScrollBar* bar = editor.textView()->verticalScrollBar();
        bar->setValue(bar->maximum());
        const EditorText::Range shown = editor.textView()->visibleRange();
        QVERIFY(shown.to > shown.from + 100);
        const std::vector<Style> expected = referenceColouring(text);
        const auto drawn = drawnStyles(hl);
        for (int i = shown.from; i < shown.to; ++i)
            QVERIFY(text[i] == QLatin1Char('\n') || drawn[size_t(i)] == expected[size_t(i)]);
        bar->setValue(0);

        QCoreApplication::processEvents();
        for (const auto& [block, snippet] :
             {std::pair{doc->findBlockByNumber(5), "~~~\n"},
              {doc->findBlockByNumber(doc->blockCount() * 3 / 4), "\n```\n"}}) {
            QTextCursor c(block);
            c.beginEditBlock();
            c.insertText(QString::fromLatin1(snippet));
            c.endEditBlock();
        }
        QVERIFY(hl.isColouringProgressively());
        while (hl.isColouringProgressively())
            QCoreApplication::processEvents();
        VERIFY_REFERENCE(hl);
        QCOMPARE(edited.count(), 2);
        doc->undo();
        doc->undo();
        QVERIFY(!doc->isUndoAvailable());
        QCOMPARE(editor.text(), text);
        VERIFY_REFERENCE(hl);
    }

    // A line too long to search shows plain, through one unshaped range of
    // the plain format, both when first coloured and after edits move it
    // across the limit; inside a fence it keeps the fence colour whatever
    // its length.
    void longLinesStayPlain() {
        const QString longLine = QStringLiteral("**bold** ").repeated(1111) + QStringLiteral("x");
        QCOMPARE(longLine.size(), 10000);
        Editor e(QStringLiteral("**a**\n") + longLine + QStringLiteral("\n```\n") + longLine +
                 QStringLiteral("y\n```\n"));
        QTextDocument* doc = e.edit.document();
        const auto formats = [&](int line) {
            return doc->findBlockByNumber(line).layout()->formats();
        };
        const auto unshaped = [&](Style style) {
            QTextCharFormat f = e.hl->format(style);
            f.setFontStyleStrategy(QFont::PreferNoShaping);
            return QList<QTextLayout::FormatRange>{{0, 10001, f}};
        };
        QCOMPARE(formats(3), unshaped({FontStyle::Base, Colour::SecondaryText}));
        VERIFY_REFERENCE((*e.hl));

        QTextCursor cursor(doc->findBlockByNumber(1));
        cursor.insertText(QStringLiteral("z"));
        QCOMPARE(formats(1), unshaped({}));
        QVERIFY(!formats(0).isEmpty());
        cursor.deletePreviousChar();
        VERIFY_REFERENCE((*e.hl));
        e.hl->recolourAll();
        VERIFY_REFERENCE((*e.hl));
    }

    // Keys in a long paragraph: each long line is laid out unshaped whole,
    // and wraps and places its positions as the same text loaded afresh.
    void keysInALongParagraph_data() {
        QTest::addColumn<QString>("steps");
        QTest::newRow("typing") << "type";
        QTest::newRow("backspace") << "type backspace backspace";
        QTest::newRow("Return splits it") << "return";
        QTest::newRow("undo") << "return type undo undo";
        QTest::newRow("paste of lines") << "paste";
        QTest::newRow("fence opened above") << "fence";
        QTest::newRow("made a fence line") << "start backticks";
    }

    void keysInALongParagraph() {
        QFETCH(QString, steps);
        QString paragraph;
        for (int i = 0; paragraph.size() < 30000; ++i)
            paragraph += QStringLiteral("word%1 *emphasis* `code` plain ").arg(i);
        Editor e(QStringLiteral("short **x**\n") + paragraph + QStringLiteral("\nend\n"));
        e.edit.resize(400, 300);
        e.edit.show();
        QTextCursor caret(e.edit.document());
        caret.setPosition(15000);
        e.edit.setTextCursor(caret);
        QPlainTextEdit* edit = &e.edit;
        const std::map<QString, std::function<void()>> actions = {
            {"type", [=] { QTest::keyClicks(edit, QStringLiteral("ab c")); }},
            {"backspace", [=] { QTest::keyClick(edit, Qt::Key_Backspace); }},
            {"return", [=] { QTest::keyClick(edit, Qt::Key_Return); }},
            {"undo", [=] { edit->undo(); }},
            {"paste",
             [=] { edit->insertPlainText(QStringLiteral("x\n**y**\n") + paragraph.left(12000)); }},
            {"fence", [=] { QTextCursor(edit->document()).insertText(QStringLiteral("```\n")); }},
            {"start", [=] { edit->moveCursor(QTextCursor::StartOfBlock); }},
            {"backticks", [=] { QTest::keyClicks(edit, QStringLiteral("```")); }},
        };
        for (const QString& step : steps.split(u' '))
            actions.at(step)();
        // Coloured at once, laid out afresh.
        Editor fresh(EditorText::text(e.edit.document()));
        fresh.edit.resize(400, 300);
        fresh.edit.show();
        for (QTextBlock b = e.edit.document()->begin(), f = fresh.edit.document()->begin();
             b.isValid(); b = b.next(), f = f.next()) {
            const auto ranges = b.layout()->formats();
            QCOMPARE(ranges, f.layout()->formats());
            if (b.length() - 1 > 10000) {
                QCOMPARE(ranges.size(), 1);
                QCOMPARE(ranges.first().length, b.length() - 1);
                QCOMPARE(ranges.first().format.fontStyleStrategy(), QFont::PreferNoShaping);
            }
            QCOMPARE(e.edit.document()->documentLayout()->blockBoundingRect(b),
                     fresh.edit.document()->documentLayout()->blockBoundingRect(f));
            QCOMPARE(b.layout()->lineCount(), f.layout()->lineCount());
            for (int i = 0; i < b.layout()->lineCount(); ++i)
                QCOMPARE(b.layout()->lineAt(i).textStart(), f.layout()->lineAt(i).textStart());
        }
        // The caret's line and place in it.
        const auto place = [](const QTextCursor& c) {
            const int at = c.positionInBlock();
            const QTextLine line = c.block().layout()->lineForTextPosition(at);
            return std::pair(line.lineNumber(), line.cursorToX(at));
        };
        QTextCursor same(fresh.edit.document());
        same.setPosition(e.edit.textCursor().position());
        QCOMPARE(place(e.edit.textCursor()), place(same));
    }

private:
    // Edits of Markdown punctuation, compared with the whole-text run every
    // few steps.
    void randomEdits(Editor& e, QRandomGenerator& rng, int steps, int checkEvery) {
        static const char* const snippets[] = {"```", "~~~", "\n", "**",     "*",   "_",       "`",
                                               "# ",  "- ",  "> ", "[a](b)", "---", "\n```\n", " "};
        for (int step = 1; step <= steps; ++step) {
            const QString now = EditorText::text(e.edit.document());
            // Edits never split a surrogate pair, as typing never does.
            auto boundary = [&](qsizetype pos) {
                return int(pos < now.size() && now[pos].isLowSurrogate() ? pos + 1 : pos);
            };
            QTextCursor c(e.edit.document());
            c.setPosition(boundary(rng.bounded(now.size() + 1)));
            if (rng.bounded(3) == 0) {
                c.setPosition(boundary(qMin(now.size(), c.position() + rng.bounded(12))),
                              QTextCursor::KeepAnchor);
                c.removeSelectedText();
            } else {
                c.insertText(rng.bounded(2) ? QString::fromUtf8(snippets[rng.bounded(14)])
                                            : punctuationLine(rng));
            }
            if (step % checkEvery == 0)
                VERIFY_REFERENCE((*e.hl));
        }
    }
};

QTEST_MAIN(TestMarkdownSyntaxHighlighter)
#include "tst_markdownsyntaxhighlighter.moc"
