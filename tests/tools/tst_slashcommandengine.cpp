#include "support/EditorFixture.h"
#include "tools/SlashCommandCatalog.h"
#include "tools/SlashCommandEngine.h"

#include <QTest>

using namespace EditorFixture;

namespace {

SlashCommand command(const QString& id) {
    for (const SlashCommand& c : SlashCommandCatalog::all())
        if (c.id == id)
            return c;
    SlashCommand unknown;
    unknown.id = id;
    return unknown;
}

const QString table = QStringLiteral("| Column 1 | Column 2 |\n| --- | --- |\n|  |  |\n");

} // namespace

class TestSlashCommandEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void context_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("location"); // -1: no trigger
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("query");
        auto row = [](const char* name, const QString& state, int location = -1, int length = 0,
                      const char* query = "") {
            QTest::newRow(name) << state << location << length << u8(query);
        };
        row("after a word", u8("Notes /bo‸"), 6, 3, "bo");
        row("lone slash", u8("/‸"), 0, 1, "");
        row("caret inside a line", u8("/h‸ rest"), 0, 2, "h");
        row("on a later line", u8("one\n  /q‸"), 6, 2, "q");
        row("after a tab", u8("\t/h‸"), 1, 2, "h");
        row("after a no-break space", u8("x\u00a0/h‸"), 2, 2, "h");
        row("after a line separator", u8("a\u2028/b‸"), 2, 2, "b");
        row("after an emoji", u8("😀 /h1‸"), 3, 3, "h1");
        row("last slash wins", u8("x /a /b‸"), 5, 2, "b");
        row("query with an emoji", u8("/a😀‸"), 0, 4, "a😀");
        row("inside a word", u8("a/b‸"));
        row("double slash", u8("x//y‸"));
        row("only slashes", u8("//‸"));
        row("space in query", u8("/bo ld‸"));
        row("earlier line only", u8("/h1\nnext‸"));
        row("selection", u8("«/bo»"));
        row("empty text", u8("‸"));
        row("slash with a combining mark", u8("/\u0301x‸"));
        row("query too long", QLatin1Char('/') + QString(300, QLatin1Char('b')) + u8("‸"));
    }
    void context() {
        QFETCH(QString, state);
        QFETCH(int, location);
        QFETCH(int, length);
        QFETCH(QString, query);
        QPlainTextEdit editor;
        setMarked(editor, state);
        const auto found = SlashCommandEngine::context(&editor);
        if (location < 0) {
            QVERIFY(!found);
            return;
        }
        QVERIFY(found);
        QCOMPARE(found->triggerRange, (TextRange{location, length}));
        QCOMPARE(found->query, query);
    }

    void apply_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("result");
        auto row = [](const char* name, const char* id, const QString& before, const QString& after,
                      bool result = true) {
            QTest::newRow(name) << QString::fromLatin1(id) << before << after << result;
        };
        // Headings, lists and Normal Text end with the caret after the line,
        // not the line selected (the next key would replace it).
        row("heading", "h2", u8("Intro /h2‸"), u8("## Intro ‸"));
        row("heading toggled off", "h2", u8("## Intro /h2‸"), u8("Intro ‸"));
        row("heading keeps next line", "h1", u8("Line /h1‸\nnext"), u8("# Line ‸\nnext"));
        row("heading after emoji", "h1", u8("😀 /h1‸"), u8("# 😀 ‸"));
        row("heading on empty line", "h3", u8("a\n/h3‸"), u8("a\n### ‸"));
        row("normal text", "text", u8("### Notes /text‸"), u8("Notes ‸"));
        row("seven hashes are no heading", "text", u8("####### x /text‸"), u8("####### x ‸"));
        row("bullet", "bullet", u8("Item /bullet‸"), u8("- Item ‸"));
        row("bullet toggled off", "bullet", u8("- Item /bullet‸"), u8("Item ‸"));
        row("numbered", "numbered", u8("Step /numbered‸"), u8("1. Step ‸"));
        row("task over bullet", "task", u8("- Do /task‸"), u8("- [ ] Do ‸"));
        // The list rules leave blank lines alone: the marker goes in instead.
        row("bullet on blank line", "bullet", u8("/bullet‸"), u8("- ‸"));
        row("numbered on blank line", "numbered", u8("a\n/numbered‸\nb"), u8("a\n1. ‸\nb"));
        row("task on blank line", "task", u8("  /task‸"), u8("  - [ ] ‸"));
        row("quote on blank line", "quote", u8("/quote‸"), u8("> ‸"));
        row("quote", "quote", u8("Hello /quote‸"), u8("> Hello ‸"));
        row("quote toggled off", "quote", u8("> Hello /quote‸"), u8("Hello ‸"));
        row("code block", "codeblock", u8("/codeblock‸"), u8("```\n‸\n```"));
        // Blocks start on a line of their own and never swallow text around them.
        row("code block after text", "codeblock", u8("Intro /codeblock‸"),
            u8("Intro \n```\n‸\n```"));
        row("code block before text", "codeblock", u8("/codeblock‸rest"), u8("```\n‸\n```\nrest"));
        row("table", "table", u8("/table‸"), table + u8("‸"));
        row("table after text", "table", u8("Intro /table‸"), u8("Intro \n") + table + u8("‸"));
        row("table before text", "table", u8("/table‸rest"), table + u8("‸\nrest"));
        row("divider", "divider", u8("/divider‸"), u8("---\n‸"));
        row("divider after text", "divider", u8("Intro /divider‸"), u8("Intro \n\n---\n‸"));
        row("divider under a paragraph", "divider", u8("Para\n/divider‸"), u8("Para\n\n---\n‸"));
        row("divider under a blank line", "divider", u8("Para\n\n/divider‸"), u8("Para\n\n---\n‸"));
        row("divider before text", "divider", u8("/divider‸rest"), u8("---\n‸rest"));
        row("bold", "bold", u8("a /bold‸ b"), u8("a **«text»** b"));
        row("italic", "italic", u8("/italic‸"), u8("_«text»_"));
        row("strikethrough", "strike", u8("/strike‸"), u8("~~«text»~~"));
        row("inline code", "code", u8("/code‸"), u8("`«code»`"));
        row("link", "link", u8("See /link‸"), u8("See [«text»](url)"));
        row("image", "image", u8("/image‸"), u8("![«alt»](url)"));
        row("unknown command", "nope", u8("a /nope‸"), u8("a ‸"), false);
        row("heading level out of range", "h7", u8("a /h7‸"), u8("a ‸"), false);
    }
    void apply() {
        QFETCH(QString, id);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(bool, result);
        const auto out = run(before, [&id](QPlainTextEdit* editor) {
            const auto found = SlashCommandEngine::context(editor);
            return found && SlashCommandEngine::apply(command(id), editor, *found);
        });
        QCOMPARE(out.state, after);
        QCOMPARE(out.result, result);
        // One undo gives "/query" back, caret after it.
        QCOMPARE(out.undoSteps, 1);
        QVERIFY(out.undoRestores);
    }

    // The menu may hold a trigger the text has moved away from: nothing is
    // deleted then.
    void staleTriggerChangesNothing_data() {
        QTest::addColumn<QString>("changed");
        QTest::newRow("slash replaced") << u8("Intro xh2‸");
        QTest::newRow("query changed") << u8("Intro /h3‸");
        QTest::newRow("text shortened") << u8("/h‸");
    }
    void staleTriggerChangesNothing() {
        QFETCH(QString, changed);
        QPlainTextEdit editor;
        setMarked(editor, u8("Intro /h2‸"));
        const SlashCommandContext stale = *SlashCommandEngine::context(&editor);
        setMarked(editor, changed);
        QVERIFY(!SlashCommandEngine::apply(command(QStringLiteral("h2")), &editor, stale));
        QCOMPARE(marked(editor), changed);
        QVERIFY(!editor.document()->isUndoAvailable());
    }

    void blockquote_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        auto row = [](const char* name, const char* before, const char* after) {
            QTest::newRow(name) << u8(before) << u8(after);
        };
        row("keeps line break", "Hel‸lo\nnext", "> Hello‸\nnext");
        row("blank line", "a\n‸\nb", "a\n> ‸\nb");
        row("empty last line", "a\n‸", "a\n> ‸");
        row("spaces are text", "  ‸", ">   ‸");
        row("first line only", "«a\nb»\nc", "> a\nb‸\nc");
        row("selection ends after break", "«a\n»b", "> a‸\nb");
        row("quote without space is added to", ">x‸", "> >x‸");
    }
    void blockquote() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const auto out = run(before, SlashCommandEngine::applyBlockquote);
        QCOMPARE(out.state, after);
        QVERIFY(out.result);
        QCOMPARE(out.undoSteps, 1);
        QVERIFY(out.undoRestores);
    }
};

QTEST_MAIN(TestSlashCommandEngine)
#include "tst_slashcommandengine.moc"
