#include "core/AppearanceService.h"
#include "core/Preferences.h"
#include "editor/EditorView.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "support/TestSupport.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

class TestEditorView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    void fontFollowsThePreferencesLive() {
        EditorView pane;
        pane.setText(QStringLiteral("line\n").repeated(200));
        QVERIFY(TestSupport::showExposed(&pane, {300, 200}));
        QTest::keyClick(pane.textView(), Qt::Key_A);
        const QTextCursor cursor(pane.textView()->document()->findBlockByNumber(120));
        pane.textView()->setTextCursor(cursor);
        QScrollBar* bar = pane.textView()->verticalScrollBar();
        bar->setValue(100);

        Preferences::shared().setNumber(PreferenceKeys::editorFontSize, 20);
        QCOMPARE(pane.highlightConfig().fontSize, 20.0);
        QCOMPARE(pane.textView()->font().pointSizeF(), 15.0);
        QCOMPARE(pane.textView()->textCursor().position(), cursor.position());
        QCOMPARE(bar->value(), 100);
        QVERIFY(pane.textView()->document()->isUndoAvailable());

        Preferences::shared().setBoolean(PreferenceKeys::useSystemFont, false);
        const QFont font = pane.highlightConfig().baseFont;
        const bool hasMenlo = QFontDatabase::families().contains(QStringLiteral("Menlo"));
        QCOMPARE(font.families().first(),
                 hasMenlo ? QStringLiteral("Menlo") : QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(font.pointSizeF(), 15.0);
        Preferences::shared().setBoolean(PreferenceKeys::useSystemFont, true);
        QVERIFY(QFontInfo(pane.highlightConfig().baseFont).fixedPitch());

        // Sizes that cannot be drawn fall back to the default.
        for (double bad : {0.0, -3.0, std::numeric_limits<double>::infinity()})
            QCOMPARE(EditorView::editorFont(bad, true).pointSizeF(), 10.5);
    }

    void coloursFollowTheAppearanceLive() {
        EditorView pane;
        QVERIFY(TestSupport::showExposed(&pane, {300, 200}));
        for (const char* appearance : {"light", "dark"}) {
            Preferences::shared().setString(PreferenceKeys::appearancePreference,
                                            QString::fromLatin1(appearance));
            const DesignSystem& ds = AppearanceService::shared().designSystem();
            QCOMPARE(pane.highlightConfig().theme, EditorTheme::from(ds));
            QCOMPARE(pane.grab().toImage().pixelColor(2, 2).rgba(),
                     ds.colors.editorSurface.toQColor().rgba());
        }
        QVERIFY(isDarkTheme(*pane.textView()->editorTheme()));
    }

    void forwardsTheEditorsSignals() {
        qRegisterMetaType<QAbstractScrollArea*>();
        EditorView pane;
        QSignalSpy edited(&pane, &EditorView::textEdited);
        QSignalSpy ready(&pane, &EditorView::scrollViewReady);
        QSignalSpy find(&pane, &EditorView::findRequested);
        QSignalSpy session(&pane, &EditorView::findSessionStarted);
        pane.setText(QStringLiteral("abc"));
        pane.setDocumentDirectory(QStringLiteral("/docs"));
        QCOMPARE(pane.textView()->documentDirectory(), QStringLiteral("/docs"));
        QTest::keyClick(pane.textView(), Qt::Key_X);
        pane.textView()->contextMenuFind();
        pane.textView()->selectAll();
        pane.setFindActive(true);
        pane.setFindSessionId(7);
        pane.setSearchState({QStringLiteral("b"), 0, {{2, 1}}});
        QCOMPARE(edited.first(), (QList<QVariant>{0, 0, QStringLiteral("x")}));
        QCOMPARE(find.count(), 1);
        QCOMPARE(session.first().at(0).toString(), QStringLiteral("xabc"));
        QCOMPARE(pane.editor()->paintedMatches().size(), 1);
        QTRY_COMPARE(ready.count(), 1);
        QCOMPARE(ready.first().at(0).value<QAbstractScrollArea*>(), pane.scrollView());
    }
};

QTEST_MAIN(TestEditorView)
#include "tst_editorview.moc"
