#include "core/DesignSystem.h"
#include "editor/MarkdownSyntaxHighlighter.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <vector>

using Style = MarkdownSyntaxHighlighter::Style;
using FontStyle = MarkdownSyntaxHighlighter::FontStyle;
using Colour = MarkdownSyntaxHighlighter::Colour;

namespace {

// The plain whole-text colouring run the highlighter must reproduce: every
// pass over the whole string, then one walk over all lines for the fences.
std::vector<Style> referenceColouring(const QString& text) {
    std::vector<Style> s(size_t(text.size()));
    auto pass = [&](const char* pattern, auto apply) {
        const QRegularExpression re(QString::fromLatin1(pattern),
                                    QRegularExpression::MultilineOption |
                                        QRegularExpression::UseUnicodePropertiesOption);
        QRegularExpressionMatchIterator it = re.globalMatch(text);
        while (it.hasNext())
            apply(it.next());
    };
    auto each = [&](qsizetype start, qsizetype length, auto set) {
        for (qsizetype i = start; i < start + length; ++i)
            set(s[size_t(i)]);
    };
    auto font = [&](FontStyle f) { return [f](Style& st) { st.font = f; }; };
    auto colour = [&](Colour c) { return [c](Style& st) { st.foreground = c; }; };
    using M = QRegularExpressionMatch;

    pass(R"((\*\*[^\s*][^*\n]*\*\*|__[^\s_][^_\n]*__))",
         [&](const M& m) { each(m.capturedStart(), m.capturedLength(), font(FontStyle::Bold)); });
    pass(R"(((?<![\w*])\*[^*\n]+\*(?!\*)|(?<![\w_])_[^_\n]+_(?!_)))",
         [&](const M& m) { each(m.capturedStart(), m.capturedLength(), font(FontStyle::Italic)); });
    pass(R"(`[^`\n]+`)", [&](const M& m) {
        each(m.capturedStart(), m.capturedLength(), [](Style& st) {
            st.foreground = Colour::Accent;
            st.codeBackground = true;
        });
    });
    pass(R"((!?\[[^\]\n]*\])(\([^)\n]*\)))", [&](const M& m) {
        each(m.capturedStart(1), m.capturedLength(1), colour(Colour::Accent));
        each(m.capturedStart(2), m.capturedLength(2), colour(Colour::MutedText));
    });
    pass(R"(^[ \t]*(?:[-*+]|\d+\.)[ \t])", [&](const M& m) {
        each(m.capturedStart(), m.capturedLength(), colour(Colour::MutedText));
    });
    pass(R"(^[ \t]*[-*+][ \t]+\[[ xX]\])",
         [&](const M& m) { each(m.capturedStart(), m.capturedLength(), colour(Colour::Accent)); });
    pass(R"(^(#{1,6})[ \t].*$)", [&](const M& m) {
        each(m.capturedStart(), m.capturedLength(), font(FontStyle::Bold));
        each(m.capturedStart(1), m.capturedLength(1), colour(Colour::Accent));
    });
    pass(R"(^[ \t]*>.*$)", [&](const M& m) {
        each(m.capturedStart(), m.capturedLength(), [](Style& st) {
            st.font = FontStyle::Italic;
            st.foreground = Colour::SecondaryText;
        });
    });
    pass(R"(^[ \t]*(-{3,}|\*{3,}|_{3,})[ \t]*$)", [&](const M& m) {
        each(m.capturedStart(), m.capturedLength(), colour(Colour::MutedText));
    });

    bool inFence = false;
    qsizetype lineStart = 0;
    while (lineStart <= text.size()) {
        qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        QString trimmed = text.mid(lineStart, lineEnd - lineStart);
        auto blank = [](QChar c) {
            return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
        };
        while (!trimmed.isEmpty() && blank(trimmed.front()))
            trimmed.remove(0, 1);
        while (!trimmed.isEmpty() && blank(trimmed.back()))
            trimmed.chop(1);
        if (trimmed.startsWith(QLatin1String("```")) || trimmed.startsWith(QLatin1String("~~~"))) {
            each(lineStart, lineEnd - lineStart, [](Style& st) {
                st = {FontStyle::Base, Colour::MutedText};
            });
            inFence = !inFence;
        } else if (inFence) {
            each(lineStart, lineEnd - lineStart, [](Style& st) {
                st = {FontStyle::Base, Colour::SecondaryText};
            });
        }
        lineStart = lineEnd + 1;
    }
    return s;
}

const Style invalidStyle{FontStyle::Base, Colour::Text, true};

// What the highlighter drew, read back from the block layouts; a character
// without a format, or with a foreign one, reads as an invalid style.
std::vector<std::optional<Style>> drawnStyles(const MarkdownSyntaxHighlighter& hl,
                                              const QTextDocument& doc) {
    std::vector<std::optional<Style>> out(size_t(doc.characterCount() - 1));
    std::vector<std::pair<QTextCharFormat, Style>> known;
    for (int f = 0; f < 3; ++f)
        for (int c = 0; c < 4; ++c)
            for (int bg = 0; bg < 2; ++bg) {
                const Style st{FontStyle(f), Colour(c), bg == 1};
                known.emplace_back(hl.format(st), st);
            }
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const auto ranges = b.layout()->formats();
        for (const QTextLayout::FormatRange& r : ranges) {
            std::optional<Style> st;
            for (const auto& [fmt, style] : known)
                if (fmt == r.format) {
                    st = style;
                    break;
                }
            for (int i = r.start; i < r.start + r.length && i < b.length() - 1; ++i)
                out[size_t(b.position() + i)] = st;
        }
    }
    return out;
}

QString describe(const Style& s) {
    return QStringLiteral("font %1 colour %2 bg %3")
        .arg(int(s.font))
        .arg(int(s.foreground))
        .arg(s.codeBackground);
}

// Compares the drawn colouring with the reference on the document's text;
// the failure names the first differing character and its line.
bool matchesReference(const MarkdownSyntaxHighlighter& hl, const QTextDocument& doc,
                      QString* failure) {
    const QString text = doc.toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const std::vector<Style> expected = referenceColouring(text);
    const auto drawn = drawnStyles(hl, doc);
    for (size_t i = 0; i < expected.size(); ++i) {
        if (text[qsizetype(i)] == QLatin1Char('\n') || (drawn[i] && *drawn[i] == expected[i]))
            continue;
        const QTextBlock b = doc.findBlock(int(i));
        *failure = QStringLiteral("at %1 (column %2 of line %3 \"%4\"): drew %5, expected %6")
                       .arg(i)
                       .arg(qsizetype(i) - b.position())
                       .arg(b.blockNumber() + 1)
                       .arg(b.text(), drawn[i] ? describe(*drawn[i]) : QStringLiteral("nothing"),
                            describe(expected[i]));
        return false;
    }
    return true;
}

HighlightConfig testConfig(double size = 14) {
    EditorTheme theme{QColor(20, 20, 20), QColor(90, 90, 90), QColor(150, 150, 150),
                      QColor(200, 60, 30), QColor(240, 235, 225)};
    return {size, theme, DesignSystem::Typography::font(FontDesign::Monospaced, size)};
}

const QString punctuation =
    QStringLiteral("#*_`[]()!>-+~ \t.xX0123456789aZ\u00e9\u00a0\u3000\u0663");

// One random line of Markdown punctuation, with the odd non-BMP character.
QString punctuationLine(QRandomGenerator& rng) {
    const int length = rng.bounded(0, 40);
    QString line;
    for (int i = 0; i < length; ++i) {
        const int pick = rng.bounded(punctuation.size() + 2);
        if (pick == punctuation.size())
            line += QStringLiteral("\U0001F600"); // emoji
        else if (pick == punctuation.size() + 1)
            line += QStringLiteral("\U0001D7D8"); // a mathematical digit (Nd)
        else
            line += punctuation[pick];
    }
    if (rng.bounded(12) == 0)
        line.prepend(QStringLiteral("  ```"));
    return line;
}

// Realistic Markdown of at least `bytes` UTF-16 units, with every construct
// the highlighter knows and a few unclosed ones.
QString generatedMarkdown(QRandomGenerator& rng, qsizetype bytes) {
    static const char* const lines[] = {
        "# Heading %1",
        "###### Six %1 with `code` and *it*",
        "####### not a heading %1",
        "#NoSpace %1",
        "Some *emphasis*, **strong** and __strong__ _text_ with [a link](https://x.org/%1).",
        "snake_case_name %1 and 2*3*4 and **(**",
        "- item %1",
        "  * nested [x] %1",
        "+\ttab item %1",
        "- [ ] task %1",
        "- [x] done %1 and [ ] later",
        "12. ordered %1",
        "\u0663. arabic digit %1",
        "> quote %1 with **bold**",
        "   > indented quote %1",
        "---",
        "***",
        "___ ",
        "- - -",
        "![alt %1](img/%1.png) and [ref][x] and [t](u",
        "```swift",
        "let value%1 = compute(%1) // **not bold**",
        "```",
        "  ~~~",
        "\u00a0```still a fence %1",
        "Unicode \u00e9\u2028line separator %1 \U0001F600 `x`",
        "",
        "| A | B |",
        "|---|---|",
    };
    const int count = int(sizeof(lines) / sizeof(lines[0]));
    QString out;
    while (out.size() < bytes) {
        out += QString::fromUtf8(lines[rng.bounded(count)])
                   .replace(QLatin1String("%1"), QString::number(rng.bounded(100000)));
        out += QLatin1Char('\n');
    }
    return out;
}

struct Editor {
    QPlainTextEdit edit;
    MarkdownSyntaxHighlighter* hl;
    explicit Editor(const QString& text, const HighlightConfig& config = testConfig()) {
        edit.setPlainText(text);
        hl = new MarkdownSyntaxHighlighter(edit.document(), config);
    }
    QTextDocument& doc() { return *edit.document(); }
    // Whether every character of the first `part` at or after column `from`
    // of that line has the style.
    bool all(int line, const QString& part, Style style, int from = 0) {
        const QTextBlock b = doc().findBlockByNumber(line);
        const qsizetype column = b.text().indexOf(part, from);
        if (column < 0)
            return false;
        const auto drawn = drawnStyles(*hl, doc());
        for (qsizetype i = 0; i < part.size(); ++i)
            if (drawn[size_t(b.position() + column + i)] != style)
                return false;
        return true;
    }
};

const Style plain{};
const Style bold{FontStyle::Bold, Colour::Text};
const Style italic{FontStyle::Italic, Colour::Text};
const Style muted{FontStyle::Base, Colour::MutedText};
const Style accent{FontStyle::Base, Colour::Accent};
const Style code{FontStyle::Base, Colour::SecondaryText};

} // namespace

class TestMarkdownSyntaxHighlighter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headingsAndEmphasis() {
        Editor e(QStringLiteral("# Title\n#Title\n####### x\n**bold**\n** not bold**\n"
                                "snake_case_name\n*a* and _b_\n## Head `code` *it*\n"
                                "> quote **b**"));
        QVERIFY(e.all(0, QStringLiteral("#"), {FontStyle::Bold, Colour::Accent}));
        QVERIFY(e.all(0, QStringLiteral(" Title"), bold));
        QVERIFY(e.all(1, QStringLiteral("#Title"), plain));
        QVERIFY(e.all(2, QStringLiteral("####### x"), plain));
        QVERIFY(e.all(3, QStringLiteral("**bold**"), bold));
        QVERIFY(e.all(4, QStringLiteral("** not bold**"), plain));
        QVERIFY(e.all(5, QStringLiteral("snake_case_name"), plain));
        QVERIFY(e.all(6, QStringLiteral("*a*"), italic));
        QVERIFY(e.all(6, QStringLiteral("_b_"), italic));
        // Inline code in a heading keeps its colours and takes the bold font;
        // an italic span there turns bold.
        QVERIFY(e.all(7, QStringLiteral("`code`"), {FontStyle::Bold, Colour::Accent, true}));
        QVERIFY(e.all(7, QStringLiteral("*it*"), bold));
        // A quote line is italic throughout, bold spans included.
        QVERIFY(
            e.all(8, QStringLiteral("> quote **b**"), {FontStyle::Italic, Colour::SecondaryText}));
    }

    void listsBreaksAndLinks() {
        Editor e(QStringLiteral("---\n- - -\n- [x] done\n1. item\n![alt](img.png)\n"
                                "  * [ ] t\n***\n__ _"));
        QVERIFY(e.all(0, QStringLiteral("---"), muted));
        QVERIFY(e.all(1, QStringLiteral("- "), muted));
        QVERIFY(e.all(1, QStringLiteral("- -"), plain, 2));
        QVERIFY(e.all(2, QStringLiteral("- [x]"), accent));
        QVERIFY(e.all(2, QStringLiteral(" done"), plain));
        QVERIFY(e.all(3, QStringLiteral("1. "), muted));
        QVERIFY(e.all(3, QStringLiteral("item"), plain));
        QVERIFY(e.all(4, QStringLiteral("![alt]"), accent));
        QVERIFY(e.all(4, QStringLiteral("(img.png)"), muted));
        QVERIFY(e.all(5, QStringLiteral("  * [ ]"), accent));
        QVERIFY(e.all(6, QStringLiteral("***"), muted));
        QVERIFY(e.all(7, QStringLiteral("__ _"), plain));
    }

    void fencedCode() {
        Editor e(QStringLiteral("```swift\n**bold** # x\n  ~~~ closes\nafter **x**\n"
                                "\t```\nnever closed\n\n# still code"));
        QVERIFY(e.all(0, QStringLiteral("```swift"), muted));
        QVERIFY(e.all(1, QStringLiteral("**bold** # x"), code));
        QVERIFY(e.all(2, QStringLiteral("  ~~~ closes"), muted));
        QVERIFY(e.all(3, QStringLiteral("**x**"), bold));
        QVERIFY(e.all(4, QStringLiteral("\t```"), muted));
        QVERIFY(e.all(5, QStringLiteral("never closed"), code));
        QVERIFY(e.all(7, QStringLiteral("# still code"), code));

        // Opening a fence above recolours the lines below; closing it again
        // restores them.
        QTextCursor c(&e.doc());
        c.movePosition(QTextCursor::End);
        c.insertText(QStringLiteral("\n```"));
        c.setPosition(0);
        c.insertText(QStringLiteral("```\n"));
        QVERIFY(e.all(1, QStringLiteral("```swift"), muted));
        QVERIFY(e.all(2, QStringLiteral("**bold**"), bold));
        QString failure;
        QVERIFY2(matchesReference(*e.hl, e.doc(), &failure), qPrintable(failure));
        c.setPosition(0);
        c.setPosition(4, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        QVERIFY(e.all(1, QStringLiteral("**bold** # x"), code));
        QVERIFY2(matchesReference(*e.hl, e.doc(), &failure), qPrintable(failure));
    }

    void emptyTextColoursNothing() {
        Editor e{QString()};
        QVERIFY(e.doc().firstBlock().layout()->formats().isEmpty());
    }

    // Colouring is no edit: no undo step, no modified flag, no change signal.
    void colouringIsNoEdit() {
        QPlainTextEdit edit(QStringLiteral("# Title\n```\ncode\n```\n**b** `c` [l](u)\n"));
        struct {
            QPlainTextEdit& edit;
            MarkdownSyntaxHighlighter* hl = nullptr;
            QTextDocument& doc() { return *edit.document(); }
        } e{edit};
        QSignalSpy contents(&e.doc(), &QTextDocument::contentsChange);
        QSignalSpy changed(&e.doc(), &QTextDocument::contentsChanged);
        QSignalSpy undo(&e.doc(), &QTextDocument::undoCommandAdded);
        QSignalSpy modified(&e.doc(), &QTextDocument::modificationChanged);
        QSignalSpy textChanged(&e.edit, &QPlainTextEdit::textChanged);
        e.hl = new MarkdownSyntaxHighlighter(&e.doc(), testConfig());
        QCoreApplication::processEvents(); // the base class's deferred run
        e.hl->recolourAll();
        HighlightConfig dark = testConfig(18);
        dark.theme.text = Qt::white;
        e.hl->setConfig(dark);
        QVERIFY(!e.doc().firstBlock().layout()->formats().isEmpty());
        QCOMPARE(contents.count() + changed.count() + undo.count() + modified.count() +
                     textChanged.count(),
                 0);
        QVERIFY(!e.doc().isModified());
        QVERIFY(!e.doc().isUndoAvailable());

        // A typed edit is exactly one undo step, and undoing it restores the text.
        QTextCursor c(&e.doc());
        c.setPosition(2);
        c.insertText(QStringLiteral("*"));
        QCOMPARE(undo.count(), 1);
        e.doc().undo();
        QCOMPARE(e.doc().toPlainText().left(7), QStringLiteral("# Title"));
        QVERIFY(!e.doc().isUndoAvailable());
    }

    void configChangeRecolours() {
        Editor e(QStringLiteral("# Title\nplain"));
        HighlightConfig next = testConfig(20);
        next.theme.accent = QColor(10, 120, 200);
        e.hl->setConfig(next);
        QCOMPARE(e.hl->config(), next);
        const auto ranges = e.doc().firstBlock().layout()->formats();
        QVERIFY(!ranges.isEmpty());
        QCOMPARE(ranges.first().format.foreground().color(), QColor(10, 120, 200));
        QCOMPARE(ranges.first().format.font().pointSizeF(), next.baseFont.pointSizeF());
        QVERIFY(ranges.first().format.font().bold());
        QString failure;
        QVERIFY2(matchesReference(*e.hl, e.doc(), &failure), qPrintable(failure));
    }

    void darkThemeByBrightness() {
        auto themeWithText = [](QColor c) {
            EditorTheme t;
            t.text = c;
            return t;
        };
        QVERIFY(isDarkTheme(themeWithText(QColor::fromRgbF(0.9f, 0.9f, 0.9f))));
        QVERIFY(!isDarkTheme(themeWithText(QColor::fromRgbF(0.1f, 0.1f, 0.12f))));
        QVERIFY(!isDarkTheme(themeWithText(QColor::fromRgbF(0.49f, 0.2f, 0.2f))));
        QVERIFY(isDarkTheme(themeWithText(QColor::fromRgbF(0.f, 0.f, 1.f))));
        using C = DesignSystem::Colors;
        for (const C* c : {&C::light(), &C::porcelain(), &C::sage()})
            QVERIFY(
                !isDarkTheme(EditorTheme::from(DesignSystem::make(*c, FontDesign::Serif, false))));
        for (const C* c : {&C::dark(), &C::depth(), &C::ember()}) {
            const EditorTheme t =
                EditorTheme::from(DesignSystem::make(*c, FontDesign::Serif, true));
            QVERIFY(isDarkTheme(t));
            QCOMPARE(t.codeBackground, c->codeBackground.toQColor());
            QCOMPARE(t.mutedText, c->mutedText.toQColor());
        }
    }

    // The incremental colouring equals the whole-text run on a megabyte of
    // generated Markdown plus 10,000 random punctuation lines, before and
    // after edits that open and close fences.
    void equalsWholeTextRun() {
        QRandomGenerator rng(4242);
        QString text = generatedMarkdown(rng, 1024 * 1024);
        for (int i = 0; i < 10000; ++i)
            text += punctuationLine(rng) + QLatin1Char('\n');
        Editor e(text);
        QString failure;
        QVERIFY2(matchesReference(*e.hl, e.doc(), &failure), qPrintable(failure));

        QTextCursor c(&e.doc());
        c.setPosition(0);
        c.insertText(QStringLiteral("```\n"));
        QVERIFY2(matchesReference(*e.hl, e.doc(), &failure), qPrintable(failure));
        c.setPosition(e.doc().characterCount() / 2);
        c.insertText(QStringLiteral("\n~~~\n"));
        QVERIFY2(matchesReference(*e.hl, e.doc(), &failure), qPrintable(failure));
        e.doc().undo();
        e.doc().undo();
        QVERIFY2(matchesReference(*e.hl, e.doc(), &failure), qPrintable(failure));
    }

    // Many small random edits, each compared with the whole-text run.
    void randomEditsStayEqual() {
        QRandomGenerator rng(7);
        QString text = generatedMarkdown(rng, 6000);
        for (int i = 0; i < 200; ++i)
            text += punctuationLine(rng) + QLatin1Char('\n');
        Editor e(text);
        static const char* const snippets[] = {"```", "~~~", "\n", "**",     "*",   "_",       "`",
                                               "# ",  "- ",  "> ", "[a](b)", "---", "\n```\n", " "};
        QString failure;
        for (int step = 0; step < 400; ++step) {
            QTextCursor c(&e.doc());
            const QString now = e.doc().toRawText();
            // Edits never split a surrogate pair, as typing never does.
            auto boundary = [&](int pos) {
                return pos < now.size() && now[pos].isLowSurrogate() ? pos + 1 : pos;
            };
            const int length = int(now.size());
            const int at = boundary(rng.bounded(length + 1));
            c.setPosition(at);
            if (rng.bounded(3) == 0) {
                c.setPosition(boundary(qMin(length, at + rng.bounded(12))),
                              QTextCursor::KeepAnchor);
                c.removeSelectedText();
            } else if (rng.bounded(2) == 0) {
                c.insertText(QString::fromUtf8(snippets[rng.bounded(int(std::size(snippets)))]));
            } else {
                c.insertText(punctuationLine(rng));
            }
            QVERIFY2(matchesReference(*e.hl, e.doc(), &failure),
                     qPrintable(QStringLiteral("step %1: %2").arg(step).arg(failure)));
        }
    }
};

QTEST_MAIN(TestMarkdownSyntaxHighlighter)
#include "tst_markdownsyntaxhighlighter.moc"
