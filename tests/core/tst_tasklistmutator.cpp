#include "core/TaskListMutator.h"

#include <QTest>

class TestTaskListMutator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void toggles_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, int line, const char* text, const char* expected) {
            QTest::newRow(name) << line << QString::fromUtf8(text) << QString::fromUtf8(expected);
        };
        row("ticks", 2, "a\n- [ ] b\nc", "a\n- [x] b\nc");
        row("unticks", 2, "a\n- [x] b\nc", "a\n- [ ] b\nc");
        row("capital X", 1, "- [X] done", "- [ ] done");
        row("item box wins", 1, "- [x] a [ ] b", "- [ ] a [ ] b");
        row("open item box", 1, "- [ ] a [x] b", "- [x] a [x] b");
        row("quoted", 1, "> - [ ] q", "> - [x] q");
        row("nested quotes, ordered", 1, ">> 1. [x] n", ">> 1. [ ] n");
        row("quote with spaces", 1, " > > * [ ] n", " > > * [x] n");
        row("indented", 2, "- a\n    + [ ] b", "- a\n    + [x] b");
        row("paren number", 1, "3) [ ] c", "3) [x] c");
        row("no item box: open first", 1, "see [x] and [ ] here", "see [x] and [x] here");
        row("no item box: ticked", 1, "see [X] here", "see [ ] here");
        row("not a box directly after marker", 1, "- a [ ] b", "- a [x] b");
        row("final line break kept", 1, "- [ ] a\n", "- [x] a\n");
        row("line zero", 0, "- [ ] a", "- [ ] a");
        row("negative line", -1, "- [ ] a", "- [ ] a");
        row("past the end", 3, "- [ ] a\nb", "- [ ] a\nb");
        row("final empty line", 2, "- [ ] a\n", "- [ ] a\n");
        row("no box", 1, "- plain [] [y]", "- plain [] [y]");
        row("empty text", 1, "", "");
    }
    void toggles() {
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(TaskListMutator::toggle(line, text), expected);
        // Toggling twice gives the text back.
        QCOMPARE(TaskListMutator::toggle(line, TaskListMutator::toggle(line, expected)), expected);
    }
};

QTEST_GUILESS_MAIN(TestTaskListMutator)
#include "tst_tasklistmutator.moc"
