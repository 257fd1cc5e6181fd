#include "editor/EditorSearchHighlighter.h"

#include <QTest>

using namespace EditorSearchHighlighter;

class TestEditorSearchHighlighter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void blankQueriesPaintNothing() {
        QVERIFY(!isPaintedQuery(QStringLiteral(" \t\n")));
        QVERIFY(isPaintedQuery(QStringLiteral(" a ")));
    }

    void visibleMatchesOverlapTheRange() {
        const DocumentSearchState state{
            QStringLiteral("ab"), 1, {{0, 2}, {5, 2}, {10, 2}, {20, 2}}};
        QVERIFY(isInTextOrder(state.matches));
        const QList<PaintedMatch> expected{{{5, 2}, true}, {{10, 2}, false}};
        QCOMPARE(visibleMatches(state, true, 30, 6, 11), expected);
        QCOMPARE(visibleMatches(state, false, 30, 6, 11), expected);
        QCOMPARE(visibleMatches(state, true, 30, 7, 10), QList<PaintedMatch>());
        QCOMPARE(visibleMatches(state, true, 21, 0, 30).size(), 3); // {20,2} ends past 21
    }

    void invalidRangesSkipped() {
        const DocumentSearchState state{
            QStringLiteral("x"), 0, {{-5, 3}, {0, 0}, {2, -1}, {3, 1}, {2147483640, 100}}};
        for (bool inOrder : {true, false})
            QCOMPARE(visibleMatches(state, inOrder, 10, 0, 10),
                     (QList<PaintedMatch>{{{3, 1}, false}}));
    }

    void bisectionAgreesWithAScan() {
        DocumentSearchState state{QStringLiteral("q"), 123, {}};
        for (int i = 0; i < 2000; ++i)
            state.matches.append({i * 7, 3 + (i % 2)});
        QVERIFY(isInTextOrder(state.matches));
        for (int from : {0, 1, 500, 6998, 13990, 14000})
            for (int span : {0, 1, 40, 900})
                QCOMPARE(visibleMatches(state, true, 14100, from, from + span),
                         visibleMatches(state, false, 14100, from, from + span));
        QList<TextRange> shuffled = state.matches;
        std::swap(shuffled[3], shuffled[4]);
        QVERIFY(!isInTextOrder(shuffled));
    }
};

QTEST_MAIN(TestEditorSearchHighlighter)
#include "tst_editorsearchhighlighter.moc"
