#include "editor/EditorText.h"
#include "editor/MarkdownTextView.h"
#include "support/EditorFixture.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using EditorFixture::marked;
using EditorFixture::setMarked;

namespace {

QString m(const char* text) {
    return QString::fromUtf8(text);
}

const QByteArray pngBytes =
    QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000000010000000108060000001f15c489");

// What a drag-and-drop onto the view does: whether the drag was accepted
// and whether the drop was.
struct DropResult {
    bool entered = false;
    bool dropped = false;
};

DropResult drop(MarkdownTextView& view, QMimeData* data) {
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &dropped);
    return {enter.isAccepted(), dropped.isAccepted()};
}

QMimeData* fileDrag(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

} // namespace

class TestMarkdownTextView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keyEquivalentsAlwaysWrap_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("after");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("bold, nothing selected")
            << m("a‸b") << int(Qt::Key_B) << ctrl << m("a**‸**b");
        QTest::newRow("bold around word")
            << m("«word»") << int(Qt::Key_B) << ctrl << m("**word**‸");
        QTest::newRow("bold never unwraps")
            << m("«**word**»") << int(Qt::Key_B) << ctrl << m("****word****‸");
        QTest::newRow("bold with shift too")
            << m("«w»") << int(Qt::Key_B) << int(Qt::ControlModifier | Qt::ShiftModifier)
            << m("**w**‸");
        QTest::newRow("italic, nothing selected") << m("‸") << int(Qt::Key_I) << ctrl << m("_‸_");
        QTest::newRow("italic around word") << m("«it»") << int(Qt::Key_I) << ctrl << m("_it_‸");
        QTest::newRow("link around word")
            << m("«site»") << int(Qt::Key_K) << ctrl << m("[site](url)‸");
        QTest::newRow("link placeholder")
            << m("x ‸") << int(Qt::Key_K) << ctrl << m("x [«text»](url)");
    }
    void keyEquivalentsAlwaysWrap() {
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, after);
        // A window shortcut on the same key must not take it from the editor.
        QMainWindow window;
        auto* view = new MarkdownTextView;
        window.setCentralWidget(view);
        QAction stolen;
        stolen.setShortcut(QKeySequence(Qt::CTRL | Qt::Key(key)));
        window.addAction(&stolen);
        QSignalSpy stolenSpy(&stolen, &QAction::triggered);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        view->setFocus();
        setMarked(*view, before);
        const QString text = EditorText::text(view->document());
        QTest::keyClick(view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(marked(*view), after);
        QCOMPARE(stolenSpy.count(), 0);
        view->undo();
        QCOMPARE(EditorText::text(view->document()), text);
    }

    void returnInsertsLineFeeds_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("after");
        const int ret = Qt::Key_Return, enter = Qt::Key_Enter;
        QTest::newRow("plain") << m("ab‸cd") << ret << 0 << m("ab\n‸cd");
        QTest::newRow("shift") << m("ab‸cd") << ret << int(Qt::ShiftModifier) << m("ab\n‸cd");
        QTest::newRow("keypad enter") << m("ab‸") << enter << int(Qt::KeypadModifier) << m("ab\n‸");
        QTest::newRow("shift keypad enter")
            << m("ab‸") << enter << int(Qt::ShiftModifier | Qt::KeypadModifier) << m("ab\n‸");
        QTest::newRow("replaces the selection") << m("a«bc»d") << ret << 0 << m("a\n‸d");
        QTest::newRow("continues a list") << m("- item‸") << ret << 0 << m("- item\n- ‸");
        QTest::newRow("numbered, with shift")
            << m("  3. x‸") << ret << int(Qt::ShiftModifier) << m("  3. x\n  4. ‸");
        QTest::newRow("quote not continued") << m("> q‸") << ret << 0 << m("> q\n‸");
    }
    void returnInsertsLineFeeds() {
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, after);
        MarkdownTextView view;
        setMarked(view, before);
        int undoSteps = 0;
        connect(view.document(), &QTextDocument::undoCommandAdded, [&] { ++undoSteps; });
        QTest::keyClick(&view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(marked(view), after);
        QVERIFY(!view.document()->toRawText().contains(QChar::LineSeparator));
        QCOMPARE(undoSteps, 1);
    }

    void pairsForTypingAndSingleCharacterPastes() {
        MarkdownTextView view;
        setMarked(view, m("«abc»"));
        QTest::keyClick(&view, Qt::Key_ParenLeft, Qt::ShiftModifier);
        QCOMPARE(marked(view), m("(‸)"));
        // A typed closer is inserted, never skipped over.
        QTest::keyClicks(&view, QStringLiteral(")"));
        QCOMPARE(marked(view), m("()‸)"));

        setMarked(view, m("x‸"));
        QApplication::clipboard()->setText(QStringLiteral("["));
        view.paste();
        QCOMPARE(marked(view), m("x[‸]"));
        QApplication::clipboard()->setText(QStringLiteral("[a]"));
        view.paste();
        QCOMPARE(marked(view), m("x[[a]‸]"));

        setMarked(view, m("‸"));
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("`"));
        QApplication::sendEvent(&view, &commit);
        QCOMPARE(marked(view), m("`‸`"));

        // Shortcuts are no typing.
        setMarked(view, m("‸"));
        QTest::keyClick(&view, Qt::Key_QuoteDbl, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(marked(view), m("‸"));
    }

    void contextActions_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("after");
        auto row = [](const char* name, const char* before, const char* action, const char* after) {
            QTest::newRow(name) << m(before) << m(action) << m(after);
        };
        row("bold placeholder", "‸", "contextMenuBold", "**«text»**");
        row("bold adds", "«word»", "contextMenuBold", "«**word**»");
        row("bold removes", "«**word**»", "contextMenuBold", "«word»");
        row("strike adds", "«x»", "contextMenuStrikethrough", "«~~x~~»");
        row("code placeholder", "‸", "contextMenuInlineCode", "`«code»`");
        row("code removes", "«`x`»", "contextMenuInlineCode", "«x»");
        row("link never toggles", "«[a](url)»", "contextMenuLink", "[[a](url)](url)‸");
        row("tasks", "‸t", "contextMenuTaskList", "«- [ ] t»");
        row("blockquote", "‸quote", "contextMenuBlockquote", "> quote‸");
        row("code block before selection", "«abc»", "contextMenuCodeBlock", "```\n‸\n```abc");
        row("divider", "x‸y", "contextMenuDivider", "x---\n‸y");
    }
    void contextActions() {
        QFETCH(QString, before);
        QFETCH(QString, action);
        QFETCH(QString, after);
        MarkdownTextView view;
        setMarked(view, before);
        const QString text = EditorText::text(view.document());
        int undoSteps = 0;
        connect(view.document(), &QTextDocument::undoCommandAdded, [&] { ++undoSteps; });
        QVERIFY(QMetaObject::invokeMethod(&view, action.toLatin1().constData()));
        QCOMPARE(marked(view), after);
        QCOMPARE(undoSteps, 1);
        view.undo();
        QCOMPARE(EditorText::text(view.document()), text);
    }

    void headingActions() {
        MarkdownTextView view;
        setMarked(view, m("# Ti‸tle"));
        view.contextMenuHeading(2);
        QCOMPARE(marked(view), m("«## Title»"));
        view.contextMenuHeading(2);
        QCOMPARE(marked(view), m("«Title»"));
        // Normal Text removes whatever level the first line has...
        setMarked(view, m("### a‸\n### b"));
        view.contextMenuHeading(0);
        QCOMPARE(marked(view), m("«a\n»### b"));
        // ...from every selected line, adding no heading to any of them.
        setMarked(view, m("«## a\nb\n# c»"));
        view.contextMenuHeading(0);
        QCOMPARE(marked(view), m("«a\nb\nc»"));
        // ...and does nothing on a plain line.
        setMarked(view, m("pl‸ain"));
        view.contextMenuHeading(0);
        QCOMPARE(marked(view), m("pl‸ain"));
        QVERIFY(!view.document()->isUndoAvailable());

        QSignalSpy find(&view, &MarkdownTextView::findRequested);
        view.contextMenuFind();
        QCOMPARE(find.count(), 1);
    }

    void imageDrops() {
        QTemporaryDir dir;
        const QString docs = dir.filePath(QStringLiteral("notes"));
        QVERIFY(QDir().mkpath(docs + QStringLiteral("/img")));
        const QString photo =
            TestSupport::writeFile(dir, QStringLiteral("notes/img/photo.JPG"), "not decodable");
        const QString disguised =
            TestSupport::writeFile(dir, QStringLiteral("notes/x.dat"), pngBytes);
        const QString text = TestSupport::writeFile(dir, QStringLiteral("notes/a.txt"), "hello");
        const QString pdf =
            TestSupport::writeFile(dir, QStringLiteral("notes/a.pdf"), "%PDF-1.4\n%\xe2\xe3\n");
        const QString outside = TestSupport::writeFile(dir, QStringLiteral("b.png"), pngBytes);

        MarkdownTextView view;
        view.setDocumentDirectory(docs);
        setMarked(view, m("x«sel»y"));

        // Text and PDF files and plain text are refused, and nothing changes.
        for (QMimeData* data : {fileDrag({text}), fileDrag({pdf}), new QMimeData}) {
            if (!data->hasUrls())
                data->setText(QStringLiteral("dragged words"));
            const DropResult r = drop(view, data);
            QVERIFY(!r.entered);
            QVERIFY(!r.dropped);
            delete data;
        }
        QCOMPARE(marked(view), m("x«sel»y"));

        // Two images, a text file between them: two lines in place of the
        // selection, not at the drop point; one undo step.
        std::unique_ptr<QMimeData> data(fileDrag({photo, text, disguised, outside}));
        const DropResult r = drop(view, data.get());
        QVERIFY(r.entered);
        QVERIFY(r.dropped);
        QCOMPARE(marked(view), QStringLiteral("x![photo](img/photo.JPG)\n![x](x.dat)\n![b](") +
                                   outside + QStringLiteral(")\n‸y"));
        view.undo();
        QCOMPARE(marked(view), m("xsel‸y"));

        // Untitled: absolute paths.
        view.setDocumentDirectory(QString());
        setMarked(view, m("‸"));
        std::unique_ptr<QMimeData> one(fileDrag({disguised}));
        QVERIFY(drop(view, one.get()).dropped);
        QCOMPARE(marked(view), QStringLiteral("![x](") + disguised + QStringLiteral(")\n‸"));
    }

    void caretDrawnInItsColour() {
        MarkdownTextView view;
        view.setPlainText(QStringLiteral("abc"));
        view.resize(300, 100);
        view.show();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        view.setFocus();
        QTRY_VERIFY(view.hasFocus());
        const QColor accent(200, 30, 40);
        view.setCaretColour(accent);
        QTextCursor cursor(view.document());
        cursor.setPosition(1);
        view.setTextCursor(cursor);
        const QRect caret = view.caretRect();
        QVERIFY(caret.width() > 0 && caret.height() > 0);
        const QImage drawn = view.viewport()->grab().toImage();
        QCOMPARE(drawn.pixelColor(caret.center()).rgb(), accent.rgb());
        // Qt's own inverting caret is off.
        QCOMPARE(view.cursorWidth(), 0);
    }

    void rightClickSelection() {
        MarkdownTextView view;
        view.resize(500, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        setMarked(view, m("one «two» three"));
        auto pointAt = [&](int position) {
            QTextCursor c(view.document());
            c.setPosition(position);
            return view.cursorRect(c).center() + QPoint(2, 0);
        };
        view.selectForContextMenu(pointAt(5));
        QCOMPARE(marked(view), m("one «two» three"));
        view.selectForContextMenu(pointAt(10));
        QCOMPARE(marked(view), m("one two «three»"));
    }
};

QTEST_MAIN(TestMarkdownTextView)
#include "tst_markdowntextview.moc"
