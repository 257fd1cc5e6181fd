#include "core/DesignSystem.h"
#include "editor/EditorSearchHighlighter.h"
#include "editor/EditorTheme.h"

#include <QTest>

using namespace EditorSearchHighlighter;

class TestEditorSearchHighlighter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void coloursByTheme() {
        QCOMPARE(lightMatch(), QColor::fromRgbF(1.0f, 0.98f, 0.72f, 0.55f));
        QCOMPARE(lightCurrent(), QColor::fromRgbF(1.0f, 0.94f, 0.45f, 0.88f));
        QCOMPARE(darkMatch(), QColor::fromRgbF(0.82f, 0.68f, 0.18f, 0.38f));
        QCOMPARE(darkCurrent(), QColor::fromRgbF(0.95f, 0.82f, 0.28f, 0.72f));
        for (const auto* colors :
             {&DesignSystem::Colors::light(), &DesignSystem::Colors::porcelain(),
              &DesignSystem::Colors::sage()}) {
            const EditorTheme theme =
                EditorTheme::from(DesignSystem::make(*colors, FontDesign::Serif, false));
            QCOMPARE(EditorSearchHighlighter::colours(theme).current, lightCurrent());
        }
        for (const auto* colors : {&DesignSystem::Colors::dark(), &DesignSystem::Colors::depth(),
                                   &DesignSystem::Colors::ember()}) {
            const EditorTheme theme =
                EditorTheme::from(DesignSystem::make(*colors, FontDesign::Serif, true));
            QCOMPARE(EditorSearchHighlighter::colours(theme).match, darkMatch());
        }
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
