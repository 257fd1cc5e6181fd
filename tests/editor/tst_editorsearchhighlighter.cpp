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

    // Bisection over matches in text order finds what a scan finds: the
    // matches overlapping the range, invalid ranges skipped.
    void visibleMatchesOverlapTheRange() {
        const DocumentSearchState state{
            QStringLiteral("ab"), 1, {{0, 2}, {5, 2}, {10, 2}, {20, 2}}};
        const DocumentSearchState odd{
            QStringLiteral("x"), 0, {{-5, 3}, {0, 0}, {2, -1}, {3, 1}, {2147483640, 100}}};
        for (bool inOrder : {true, false}) {
            QCOMPARE(visibleMatches(state, inOrder, 30, 6, 11),
                     (QList<PaintedMatch>{{{5, 2}, true}, {{10, 2}, false}}));
            QVERIFY(visibleMatches(state, inOrder, 30, 7, 10).isEmpty());
            QCOMPARE(visibleMatches(state, inOrder, 21, 0, 30).size(), 3); // {20,2} ends past 21
            QCOMPARE(visibleMatches(odd, inOrder, 10, 0, 10),
                     (QList<PaintedMatch>{{{3, 1}, false}}));
        }

        DocumentSearchState many{QStringLiteral("q"), 123, {}};
        for (int i = 0; i < 2000; ++i)
            many.matches.append({i * 7, 3 + (i % 2)});
        QVERIFY(isInTextOrder(many.matches));
        for (int from : {0, 1, 500, 6998, 13990, 14000})
            for (int span : {0, 1, 40, 900})
                QCOMPARE(visibleMatches(many, true, 14100, from, from + span),
                         visibleMatches(many, false, 14100, from, from + span));
        std::swap(many.matches[3], many.matches[4]);
        QVERIFY(!isInTextOrder(many.matches));
    }
};

QTEST_MAIN(TestEditorSearchHighlighter)
#include "tst_editorsearchhighlighter.moc"
