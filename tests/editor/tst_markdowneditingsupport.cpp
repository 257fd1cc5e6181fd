#include "editor/MarkdownEditingSupport.h"
#include "support/EditorFixture.h"

#include <QTest>

namespace MES = MarkdownEditingSupport;
using namespace EditorFixture;

Q_DECLARE_METATYPE(Rule)

namespace {

Rule heading(int level) {
    return [level](QPlainTextEdit* e) { return MES::applyHeading(e, level); };
}
Rule wrap(const char* prefix, const char* suffix, const char* placeholder = "") {
    return [=](QPlainTextEdit* e) {
        return MES::wrapSelection(e, u8(prefix), u8(suffix), u8(placeholder));
    };
}
Rule toggle(const char* prefix, const char* suffix) {
    return [=](QPlainTextEdit* e) { return MES::toggleWrapSelection(e, u8(prefix), u8(suffix)); };
}
Rule typed(const char* text) {
    return [=](QPlainTextEdit* e) { return MES::insertPair(e, u8(text)); };
}
const Rule bullets = MES::applyBulletList, tasks = MES::applyTaskList,
           numbers = MES::applyNumberedList, newline = MES::continueList;

} // namespace

class TestMarkdownEditingSupport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listContinuation_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("expected"); // "none" for no continuation
        const QString none = QStringLiteral("none");
        auto row = [](const char* name, const char* text, int cursor, const char* expected) {
            QTest::newRow(name) << u8(text) << cursor << u8(expected);
        };
        row("number", "  12. item", 10, "  13. ");
        row("task as bullet", "- [ ] task", 10, "- ");
        row("quote", "> quote", 7, "none");
        row("no space", "-item", 5, "none");
        row("second line", "intro\n+ two\nend", 11, "+ ");
        row("end of text clamped", "a\n- b", 99, "- ");
        row("caret at column 0", "- item", 0, "none");
        row("caret inside marker", "  10. x", 4, "none");
        row("largest number copied", "9223372036854775807. x", 22, "9223372036854775807. ");
        row("too large copied", "99999999999999999999. x", 23, "99999999999999999999. ");
        row("below largest", "9223372036854775806. x", 22, "9223372036854775807. ");
        row("non-ASCII digits", "\u0663. x", 4, "none");
        row("empty", "", 0, "none");
    }
    void listContinuation() {
        QFETCH(QString, text);
        QFETCH(int, cursor);
        QFETCH(QString, expected);
        const auto got = MES::listContinuationLine(text, cursor);
        QCOMPARE(got.value_or(QStringLiteral("none")), expected);
    }

    // Every rule: the marked state after it, its result, and one undo step
    // that gives the text back (none when nothing changed).
    void rules_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<Rule>("rule");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("result");
        auto row = [](const char* name, const char* before, const Rule& rule, const char* after,
                      bool result = true) {
            QTest::newRow(name) << u8(before) << rule << u8(after) << result;
        };
        // Return
        row("return continues", "- item‸", newline, "- item\n- ‸");
        row("return numbers", "a\n  3. x‸\nb", newline, "a\n  3. x\n  4. ‸\nb");
        row("return replaces selection", "- it«em»", newline, "- it\n- ‸");
        row("return at column 0 is plain", "‸- item", newline, "‸- item", false);
        // Paired characters
        row("pair replaces selection", "«abc»", typed("("), "(‸)");
        row("pair quote", "a‸b", typed("\""), "a\"‸\"b");
        row("pair bracket", "‸", typed("["), "[‸]");
        row("pair apostrophe", "‸", typed("'"), "'‸'");
        row("no pair", "a‸", typed("{"), "a‸", false);
        row("no pair for two", "a‸", typed("(("), "a‸", false);
        // Wrapping
        row("wrap placeholder", "x ‸", wrap("**", "**", "text"), "x **«text»**");
        row("wrap selection", "«word»", wrap("**", "**", "text"), "**word**‸");
        row("wrap no placeholder", "‸", wrap("**", "**"), "**‸**");
        row("toggle adds", "«word»", toggle("**", "**"), "«**word**»");
        row("toggle removes inside", "«**word**»", toggle("**", "**"), "«word»");
        row("toggle removes around", "**«word»**", toggle("**", "**"), "«word»");
        row("toggle empty", "a‸b", toggle("**", "**"), "a‸b", false);
        row("toggle too short adds", "«**»", toggle("**", "**"), "«******»");
        row("unwrap never pairs", "«**(**»", toggle("**", "**"), "«(»");
        row("unwrap around never pairs", "**«[»**", toggle("**", "**"), "«[»");
        // Headings
        row("heading toggles off", "## Ti‸tle", heading(2), "«Title»");
        row("heading replaces level", "# Title‸", heading(2), "«## Title»");
        row("heading adds", "‸Title", heading(2), "«## Title»");
        row("heading lines", "«a\n## b\nc»", heading(2), "«## a\nb\n## c»");
        row("heading keeps break", "«a\n»b", heading(1), "«# a\n»b");
        row("heading empty document", "", heading(1), "# ‸");
        row("heading empty last line", "a\n‸", heading(3), "a\n### ‸");
        row("heading blank line", "a\n‸\nb", heading(1), "a\n«# \n»b");
        row("normal text removes all", "«# a\nb\n### c»", heading(0), "«a\nb\nc»");
        row("normal text none", "«a\n#b»", heading(0), "«a\n#b»", false);
        row("normal text seven", "####### x‸", heading(0), "####### x‸", false);
        row("level out of range", "x‸", heading(7), "x‸", false);
        // Lists
        row("bullets", "«a\n\nb»", bullets, "«- a\n\n- b»");
        row("bullets off", "«- a\n\n* b»", bullets, "«a\n\nb»");
        row("bullet from number", "1. a‸", bullets, "«- a»");
        row("bullet from task", "- [ ] a‸", bullets, "«- a»");
        row("bullet keeps indent", "  c‸", bullets, "«-   c»");
        row("bullets empty document", "", bullets, "‸", false);
        row("bullets blank only", "«\n  \n»x", bullets, "«\n  \n»x", false);
        row("task", "a‸", tasks, "«- [ ] a»");
        row("task off", "«- [x] a\n- [ ] b»", tasks, "«a\nb»");
        row("task from bullet", "- b‸", tasks, "«- [ ] b»");
        row("numbers", "«x\n\ny»", numbers, "«1. x\n\n2. y»");
        row("numbers off", "«1. x\n\n2. y»", numbers, "«x\n\ny»");
        row("numbers from bullets", "«- a\n- [x] b»", numbers, "«1. a\n2. b»");
        row("numbers non-ASCII digits", "\u0663. a‸", numbers, "«1. \u0663. a»");
        row("unicode keeps its place", "«\U0001F600 a\u00a0b\u2028c\n\u00e9»", bullets,
            "«- \U0001F600 a\u00a0b\u2028c\n- \u00e9»");
    }
    void rules() {
        QFETCH(QString, before);
        QFETCH(Rule, rule);
        QFETCH(QString, after);
        QFETCH(bool, result);
        const EditorFixture::Outcome out = run(before, rule);
        QCOMPARE(out.state, after);
        QCOMPARE(out.result, result);
        QCOMPARE(out.undoSteps, out.textChanged ? 1 : 0);
        QVERIFY(out.undoRestores);
    }

    // Typing before a rule stays its own undo step, and so does the rule.
    void ruleIsItsOwnUndoStep() {
        QPlainTextEdit e;
        setMarked(e, QStringLiteral("«words»"));
        QTest::keyClicks(&e, QStringLiteral("x"));
        e.selectAll();
        MES::toggleWrapSelection(&e, QStringLiteral("_"), QStringLiteral("_"));
        QCOMPARE(marked(e), QStringLiteral("«_x_»"));
        e.undo();
        QCOMPARE(marked(e), QStringLiteral("x‸"));
        e.undo();
        QCOMPARE(e.toPlainText(), QStringLiteral("words"));
    }
};

QTEST_MAIN(TestMarkdownEditingSupport)
#include "tst_markdowneditingsupport.moc"
