#include "support/EditorFixture.h"
#include "tools/SlashCommandEngine.h"

#include <QTest>

class TestSlashCommandEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void blockquote_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        auto row = [](const char* name, const char* before, const char* after) {
            QTest::newRow(name) << EditorFixture::u8(before) << EditorFixture::u8(after);
        };
        row("adds", "Hello ‸", "> Hello ‸");
        row("removes", "> Hel‸lo ", "Hello ‸");
        row("keeps line break", "Hel‸lo\nnext", "> Hello‸\nnext");
        row("blank line", "a\n‸\nb", "a\n> ‸\nb");
        row("empty document", "", "> ‸");
        row("empty last line", "a\n‸", "a\n> ‸");
        row("spaces are text", "  ‸", ">   ‸");
        row("first line only", "«a\nb»\nc", "> a\nb‸\nc");
        row("selection ends after break", "«a\n»b", "> a‸\nb");
        row("quote without space is added to", ">x‸", "> >x‸");
    }
    void blockquote() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const auto out = EditorFixture::run(before, SlashCommandEngine::applyBlockquote);
        QCOMPARE(out.state, after);
        QVERIFY(out.result);
        QCOMPARE(out.undoSteps, 1);
        QVERIFY(out.undoRestores);
    }
};

QTEST_MAIN(TestSlashCommandEngine)
#include "tst_slashcommandengine.moc"
