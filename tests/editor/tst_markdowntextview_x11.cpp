#include "editor/EditorView.h"
#include "editor/MarkdownTextView.h"
#include "support/EditorFixture.h"

#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>

using namespace EditorFixture;

// Under X11 Qt binds Ctrl+K to deleting the rest of the line; the editor's
// Markdown keys must win over that and over window shortcuts.
class TestMarkdownTextViewX11 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void onX11() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

    void markdownKeysWin() {
        QMainWindow window;
        auto* pane = new EditorView;
        window.setCentralWidget(pane);
        QAction bold;
        bold.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
        window.addAction(&bold);
        QSignalSpy stolen(&bold, &QAction::triggered);
        window.resize(600, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        MarkdownTextView* view = pane->textView();
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());

        setMarked(*view, u8("«site» and more"));
        QTest::keyClick(view, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(marked(*view), u8("[site](url)‸ and more"));
        QTest::keyClick(view, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(marked(*view), u8("[site](url)[«text»](url) and more"));

        setMarked(*view, u8("a‸ b"));
        QTest::keyClick(view, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(marked(*view), u8("a**‸** b"));
        QCOMPARE(stolen.count(), 0);
        QTest::keyClick(view, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(marked(*view), u8("a**_‸_** b"));

        QTest::keyClick(view, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(marked(*view), u8("a**_\n\n‸_** b"));
        QVERIFY(!view->document()->toRawText().contains(QChar::LineSeparator));
    }
};

QTEST_MAIN(TestMarkdownTextViewX11)
#include "tst_markdowntextview_x11.moc"
