#include "editor/MarkdownTextView.h"
#include "support/EditorFixture.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <memory>

using namespace EditorFixture;

namespace {

// Drags files (or, asText, their paths as text) onto the view and drops
// them: whether the drag and the drop were accepted.
std::pair<bool, bool> drop(MarkdownTextView& view, const QStringList& paths, bool asText = false) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    asText ? data.setText(paths.join(QLatin1Char('\n'))) : data.setUrls(urls);
    QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    QDropEvent dropped({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &dropped);
    return {enter.isAccepted(), dropped.isAccepted()};
}

// Where each line of a block starts, and the block's height.
QList<int> lineStarts(QPlainTextEdit& view, const QTextBlock& block) {
    QList<int> starts{int(view.document()->documentLayout()->blockBoundingRect(block).height())};
    QTextLayout* layout = block.layout();
    for (int i = 0; i < layout->lineCount(); ++i)
        starts << layout->lineAt(i).textStart();
    return starts;
}

QList<int> lineStarts(QPlainTextEdit* view, int blockNumber) {
    return lineStarts(*view, view->document()->findBlockByNumber(blockNumber));
}

// The view's text laid out from scratch by Qt's own plain text layout at the
// same width.
std::unique_ptr<QPlainTextEdit> freshCopy(const QPlainTextEdit& view) {
    auto copy = std::make_unique<QPlainTextEdit>();
    QTextDocument* text = view.document()->clone(copy.get());
    text->setDocumentLayout(new QPlainTextDocumentLayout(text));
    copy->setFont(view.font());
    copy->setDocument(text);
    text->setDefaultFont(view.document()->defaultFont());
    text->setDocumentMargin(view.document()->documentMargin());
    copy->setFrameStyle(QFrame::NoFrame);
    copy->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    copy->resize(view.viewport()->width(), 100);
    copy->show();
    return copy;
}

} // namespace

class TestMarkdownTextView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each key is one undo step, wins over a window shortcut on the same
    // key, and inserts line feeds only.
    void keys_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("after");
        const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
        const int ret = Qt::Key_Return, enter = Qt::Key_Enter;
        auto row = [](const char* name, const char* before, int key, int mods, const char* after) {
            QTest::newRow(name) << u8(before) << key << mods << u8(after);
        };
        row("bold, nothing selected", "a‸b", Qt::Key_B, ctrl, "a**‸**b");
        row("bold never unwraps", "«**word**»", Qt::Key_B, ctrl, "****word****‸");
        row("bold with shift too", "«w»", Qt::Key_B, ctrl | shift, "**w**‸");
        row("italic", "«it»", Qt::Key_I, ctrl, "_it_‸");
        row("link around word", "«site»", Qt::Key_K, ctrl, "[site](url)‸");
        row("link placeholder", "x ‸", Qt::Key_K, ctrl, "x [«text»](url)");
        row("return", "ab‸cd", ret, 0, "ab\n‸cd");
        row("shift return", "ab‸cd", ret, shift, "ab\n‸cd");
        row("keypad enter", "ab‸", enter, Qt::KeypadModifier, "ab\n‸");
        row("return continues a list", "- item‸", ret, 0, "- item\n- ‸");
        row("shift return numbers", "  3. x‸", ret, shift, "  3. x\n  4. ‸");
        row("quote not continued", "> q‸", ret, 0, "> q\n‸");
    }
    void keys() {
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, after);
        QMainWindow window;
        auto* view = new MarkdownTextView;
        window.setCentralWidget(view);
        QAction stolen;
        stolen.setShortcut(QKeySequence(Qt::CTRL | Qt::Key(key)));
        window.addAction(&stolen);
        QSignalSpy stolenSpy(&stolen, &QAction::triggered);
        QVERIFY(TestSupport::showExposed(&window));
        view->setFocus();
        const Outcome out = run(*view, before, [&](QPlainTextEdit* e) {
            QTest::keyClick(e, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            return !e->document()->toRawText().contains(QChar::LineSeparator);
        });
        QCOMPARE(out.state, after);
        QVERIFY(out.result);
        QCOMPARE(stolenSpy.count(), 0);
        QCOMPARE(out.undoSteps, 1);
        QVERIFY(out.undoRestores);
    }

    // Typing, an input-method commit and a one-character paste pair; a
    // longer paste, a typed closer and a shortcut do not.
    void pairsForTypingAndSingleCharacterPastes() {
        MarkdownTextView view;
        setMarked(view, u8("«abc»"));
        QTest::keyClick(&view, Qt::Key_ParenLeft, Qt::ShiftModifier);
        QTest::keyClicks(&view, QStringLiteral(")"));
        QApplication::clipboard()->setText(QStringLiteral("["));
        view.paste();
        QApplication::clipboard()->setText(QStringLiteral("[a]"));
        view.paste();
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("`"));
        QApplication::sendEvent(&view, &commit);
        QTest::keyClick(&view, Qt::Key_QuoteDbl, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(marked(view), u8("()[[a]`‸`])"));
    }

    void contextActions_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("after");
        auto row = [](const char* name, const char* before, const char* action, const char* after,
                      int level = 0) {
            QTest::newRow(name) << u8(before) << u8(action) << level << u8(after);
        };
        row("bold placeholder", "‸", "contextMenuBold", "**«text»**");
        row("bold removes", "«**word**»", "contextMenuBold", "«word»");
        row("strike adds", "«x»", "contextMenuStrikethrough", "«~~x~~»");
        row("code placeholder", "‸", "contextMenuInlineCode", "`«code»`");
        row("code removes", "«`x`»", "contextMenuInlineCode", "«x»");
        row("link never toggles", "«[a](url)»", "contextMenuLink", "[[a](url)](url)‸");
        row("tasks", "‸t", "contextMenuTaskList", "«- [ ] t»");
        row("blockquote", "‸quote", "contextMenuBlockquote", "> quote‸");
        row("code block before selection", "«abc»", "contextMenuCodeBlock", "```\n‸\n```abc");
        row("divider", "x‸y", "contextMenuDivider", "x---\n‸y");
        row("heading replaces", "# Ti‸tle", "contextMenuHeading", "«## Title»", 2);
        row("normal text, first line", "### a‸\n### b", "contextMenuHeading", "«a\n»### b");
    }
    void contextActions() {
        QFETCH(QString, before);
        QFETCH(QString, action);
        QFETCH(int, level);
        QFETCH(QString, after);
        MarkdownTextView view;
        const Outcome out = run(view, before, [&](QPlainTextEdit*) {
            const QByteArray name = action.toLatin1();
            return action.endsWith(QLatin1String("Heading"))
                       ? QMetaObject::invokeMethod(&view, name.constData(), Q_ARG(int, level))
                       : QMetaObject::invokeMethod(&view, name.constData());
        });
        QCOMPARE(out.state, after);
        QCOMPARE(out.undoSteps, out.textChanged ? 1 : 0);
        QVERIFY(out.undoRestores);
    }

    void imageDrops() {
        QTemporaryDir dir;
        const QString docs = dir.filePath(QStringLiteral("notes"));
        QVERIFY(QDir().mkpath(docs + QStringLiteral("/img")));
        auto write = [&](const char* name, const QByteArray& bytes) {
            return TestSupport::writeFile(dir, u8(name), bytes);
        };
        const QString photo = write("notes/img/photo.JPG", "not decodable");
        const QString disguised = write("notes/x.dat", pngBytes());
        const QString text = write("notes/a.txt", "hello");
        const QString pdf = write("notes/a.pdf", "%PDF-1.4\n%\xe2\xe3\n");
        const QString outside = write("b.png", pngBytes());

        MarkdownTextView view;
        view.setDocumentDirectory(docs);
        setMarked(view, u8("x«sel»y"));
        // Text and PDF files and dragged words are refused; nothing changes.
        QCOMPARE(drop(view, {text, pdf}), std::pair(false, false));
        QCOMPARE(drop(view, {outside}, true), std::pair(false, false));
        QCOMPARE(marked(view), u8("x«sel»y"));

        // The images among the files, one line each, in place of the
        // selection (not at the drop point); one undo step.
        QCOMPARE(drop(view, {photo, text, disguised, outside}), std::pair(true, true));
        QCOMPARE(marked(view),
                 u8("x![photo](img/photo.JPG)\n![x](x.dat)\n![b](") + outside + u8(")\n‸y"));
        view.undo();
        QCOMPARE(marked(view), u8("xsel‸y"));

        // Untitled: absolute paths.
        view.setDocumentDirectory(QString());
        setMarked(view, u8("‸"));
        QVERIFY(drop(view, {disguised}).second);
        QCOMPARE(marked(view), u8("![x](") + disguised + u8(")\n‸"));
    }

    void caretDrawnInItsColour() {
        MarkdownTextView view;
        view.setPlainText(QStringLiteral("abc"));
        view.show();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTRY_VERIFY(view.hasFocus());
        const QColor accent(200, 30, 40);
        view.setCaretColour(accent);
        const QImage drawn = view.viewport()->grab().toImage();
        QCOMPARE(drawn.pixelColor(view.caretRect().center()).rgb(), accent.rgb());
        QCOMPARE(view.cursorWidth(), 0); // Qt's own inverting caret is off
    }

    // The caret is drawn where the text is, in a short line and deep in a
    // long wrapped paragraph, whatever moved it or the text around it.
    void caretDrawnWhereTheTextIs_data() {
        QTest::addColumn<QString>("steps");
        QTest::newRow("short line") << "short";
        QTest::newRow("deep in a long paragraph") << "deep";
        QTest::newRow("after typing") << "deep type";
        QTest::newRow("after backspace") << "deep backspace backspace";
        QTest::newRow("after arrow keys") << "deep down right right";
        QTest::newRow("after Return") << "deep return";
        QTest::newRow("after undo") << "deep return undo";
        QTest::newRow("into another paragraph") << "deep short type";
        QTest::newRow("after a resize") << "deep narrower";
        QTest::newRow("after scrolling") << "deep scroll";
        QTest::newRow("after a zoom") << "deep zoom";
        QTest::newRow("text above grew") << "deep above";
        QTest::newRow("text before it taller") << "deep taller";
        QTest::newRow("composing") << "deep compose";
        QTest::newRow("read-only: none") << "deep readonly";
        QTest::newRow("focus elsewhere: none") << "deep unfocus";
    }

    void caretDrawnWhereTheTextIs() {
        QFETCH(QString, steps);
        // No blinking: the caret stays on for the picture.
        const int flash = QGuiApplication::styleHints()->cursorFlashTime();
        QGuiApplication::styleHints()->setCursorFlashTime(0);
        QWidget window;
        auto* view = new MarkdownTextView(&window);
        auto* other = new QLineEdit(&window);
        view->resize(400, 300);
        other->move(0, 310);
        QString paragraph;
        for (int i = 0; paragraph.size() < 80000; ++i)
            paragraph += QStringLiteral("word%1 and more ").arg(i);
        view->setPlainText(QStringLiteral("short line\n") + paragraph + QStringLiteral("\nend"));
        const QColor colour(255, 0, 255);
        view->setCaretColour(colour);
        QVERIFY(TestSupport::showExposed(&window, {400, 340}));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        const auto caretAt = [&](int position) {
            QTextCursor cursor(view->document());
            cursor.setPosition(position);
            view->setTextCursor(cursor);
            view->centerCursor();
        };
        for (const QString& step : steps.split(u' ')) {
            if (step == "short")
                caretAt(5);
            else if (step == "deep")
                caretAt(60000);
            else if (step == "type")
                QTest::keyClicks(view, QStringLiteral("xyz"));
            else if (step == "backspace")
                QTest::keyClick(view, Qt::Key_Backspace);
            else if (step == "down")
                QTest::keyClick(view, Qt::Key_Down);
            else if (step == "right")
                QTest::keyClick(view, Qt::Key_Right);
            else if (step == "return")
                QTest::keyClick(view, Qt::Key_Return);
            else if (step == "undo")
                QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
            else if (step == "narrower")
                view->resize(260, 300);
            else if (step == "scroll")
                view->verticalScrollBar()->setValue(view->verticalScrollBar()->value() + 2);
            else if (step == "zoom")
                view->zoomIn(4);
            else if (step == "above")
                QTextCursor(view->document()).insertText(QString(300, u'w') + u' ');
            else if (step == "taller") {
                // The paragraph's start laid out anew, the caret's position unchanged.
                QTextCursor start(view->document());
                start.setPosition(20);
                start.setPosition(2000, QTextCursor::KeepAnchor);
                QTextCharFormat large;
                large.setFontPointSize(30);
                start.mergeCharFormat(large);
            } else if (step == "compose") {
                QInputMethodEvent compose(QStringLiteral("abc"),
                                          {{QInputMethodEvent::Cursor, 2, 1, {}}});
                QApplication::sendEvent(view, &compose);
            } else if (step == "readonly")
                view->setReadOnly(true);
            else if (step == "unfocus")
                other->setFocus();
            TestSupport::processPendingEvents();
        }
        QGuiApplication::styleHints()->setCursorFlashTime(flash);
        // The caret's paragraph wraps as Qt lays out the same text from scratch.
        if (const QTextBlock block = view->textCursor().block();
            block.layout()->preeditAreaText().isEmpty())
            QCOMPARE(lineStarts(*view, block),
                     lineStarts(freshCopy(*view).get(), block.blockNumber()));

        const QImage drawn = view->viewport()->grab().toImage();
        QRect found;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (drawn.pixelColor(x, y) == colour)
                    found |= QRect(x, y, 1, 1);
        // Where Qt itself places the text position, measured now.
        const QRect line = view->cursorRect(view->textCursor());
        QRect expected = QRect(line.left(), line.top(), 2, line.height()) & drawn.rect();
        if (view->isReadOnly() || !view->hasFocus())
            expected = {};
        QCOMPARE(found, expected);
    }

    void rightClickSelection() {
        MarkdownTextView view;
        QVERIFY(TestSupport::showExposed(&view, {500, 200}));
        setMarked(view, u8("one «two» three"));
        auto pointAt = [&](int position) {
            QTextCursor c(view.document());
            c.setPosition(position);
            return view.cursorRect(c).center() + QPoint(2, 0);
        };
        view.selectForContextMenu(pointAt(5));
        QCOMPARE(marked(view), u8("one «two» three"));
        view.selectForContextMenu(pointAt(10));
        QCOMPARE(marked(view), u8("one two «three»"));
    }
};

QTEST_MAIN(TestMarkdownTextView)
#include "tst_markdowntextview.moc"
