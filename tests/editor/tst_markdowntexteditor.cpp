#include "core/DesignSystem.h"
#include "editor/AccentScroller.h"
#include "editor/EditorText.h"
#include "editor/MarkdownSyntaxHighlighter.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "support/EditorFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using EditorFixture::marked;
using EditorFixture::setMarked;
using Painted = EditorSearchHighlighter::PaintedMatch;

namespace {

QString m(const char* text) {
    return QString::fromUtf8(text);
}

HighlightConfig config(bool dark = false, double size = 14) {
    const DesignSystem ds =
        DesignSystem::make(dark ? DesignSystem::Colors::dark() : DesignSystem::Colors::light(),
                           FontDesign::Serif, dark);
    return {size, EditorTheme::from(ds),
            DesignSystem::Typography::font(FontDesign::Monospaced, size)};
}

// An editor on screen, with its text set the way a window first sets it.
struct Editor {
    MarkdownTextEditor editor{config()};
    MarkdownTextView* view = editor.textView();
    QSignalSpy edits{&editor, &MarkdownTextEditor::textEdited};

    explicit Editor(const QString& text = {}) {
        editor.resize(500, 300);
        editor.show();
        if (!QTest::qWaitForWindowExposed(&editor))
            qFatal("editor not exposed");
        editor.setText(text);
        view->setFocus();
    }
    // The find state of a query over the current text, every occurrence.
    DocumentSearchState search(const QString& query, int current = 0) const {
        DocumentSearchState state{query, current, {}};
        const QString text = editor.text();
        for (qsizetype at = text.indexOf(query); at >= 0 && !query.isEmpty();
             at = text.indexOf(query, at + query.size()))
            state.matches.append({int(at), int(query.size())});
        return state;
    }
    QList<QColor> paintedColours() const {
        QList<QColor> colours;
        for (const QTextEdit::ExtraSelection& s : view->extraSelections())
            colours << s.format.background().color();
        return colours;
    }
};

QString lines(int count, const char* pattern) {
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QString::fromUtf8(pattern).arg(i);
    return out.join(QLatin1Char('\n'));
}

} // namespace

class TestMarkdownTextEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QAbstractScrollArea*>(); }

    void textSurvivesExactly_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("nbsp and line separator") << m("a\u00A0b\u2028c\n\u00A0\u2028\n");
        QTest::newRow("emoji and CJK") << m("😀 👩‍👩‍👧 漢字かな한글\n\n");
        QTest::newRow("trailing blank lines") << m("x\n\n\n");
    }
    void textSurvivesExactly() {
        QFETCH(QString, text);
        Editor e(m("seed"));
        MarkdownTextEditor fresh(config());
        fresh.setText(text);
        QCOMPARE(fresh.text(), text);
        QCOMPARE(EditorText::text(fresh.textView()->document()), text);
        // Through the minimal replacement too.
        e.editor.setText(text);
        QCOMPARE(e.editor.text(), text);
        QCOMPARE(EditorText::text(e.view->document()), text);
        QCOMPARE(e.edits.count(), 0);
    }

    void textEditedOncePerEdit() {
        Editor e(m("one"));
        QCOMPARE(e.edits.count(), 0);
        QVERIFY(!e.view->document()->isUndoAvailable());
        QTextCursor end(e.view->document());
        end.movePosition(QTextCursor::End);
        e.view->setTextCursor(end);

        int expected = 0;
        auto check = [&](const char* what) {
            ++expected;
            QVERIFY2(e.edits.count() == expected, what);
            QCOMPARE(e.edits.last().at(0).toString(), e.editor.text());
        };
        QTest::keyClick(e.view, Qt::Key_X);
        check("typed");
        QTest::keyClicks(e.view, QStringLiteral("("));
        check("pair");
        QTest::keyClick(e.view, Qt::Key_B, Qt::ControlModifier);
        check("key equivalent");
        QTest::keyClick(e.view, Qt::Key_Return);
        check("return");
        e.view->contextMenuDivider();
        check("menu action");
        QApplication::clipboard()->setText(QStringLiteral("two\nlines"));
        e.view->paste();
        check("paste");
        e.view->undo();
        check("undo");
        e.view->redo();
        check("redo");
        QCOMPARE(e.editor.text(), m("onex(**\n---\ntwo\nlines**)"));

        // Neither recolouring, find painting nor text from outside echo.
        e.editor.setHighlightConfig(config(true, 18));
        e.editor.setFindActive(true);
        e.editor.setSearchState(e.search(QStringLiteral("o")));
        e.editor.setText(QStringLiteral("replaced"));
        e.editor.setText(QStringLiteral("replaced"));
        QCOMPARE(e.edits.count(), expected);
    }

    void outsideTextIsOneMinimalUndoableEdit() {
        Editor e(m("alpha beta gamma"));
        setMarked(*e.view, m("alpha beta gam«ma»"));
        e.edits.clear();
        QTest::keyClick(e.view, Qt::Key_A);
        QCOMPARE(marked(*e.view), m("alpha beta gama‸"));

        e.editor.setText(QStringLiteral("alpha BETA!! gama"));
        QCOMPARE(marked(*e.view), m("alpha BETA!! gama‸"));
        QCOMPARE(e.edits.count(), 1);
        // Undo takes back the outside change, then the user's own edit.
        e.view->undo();
        QCOMPARE(e.editor.text(), m("alpha beta gama"));
        e.view->undo();
        QCOMPARE(e.editor.text(), m("alpha beta gamma"));

        // A shorter text keeps the selection inside it.
        setMarked(*e.view, m("alpha «beta gamma»"));
        e.editor.setText(QStringLiteral("alpha"));
        QCOMPARE(marked(*e.view), m("alpha‸"));

        // The scroll position stays where it was.
        e.editor.setText(lines(400, "line %1"));
        e.view->verticalScrollBar()->setValue(200);
        const QString changed = lines(400, "line %1") + QStringLiteral("\nmore");
        e.editor.setText(changed.mid(0, 20) + QStringLiteral("X") + changed.mid(20));
        QCOMPARE(e.view->verticalScrollBar()->value(), 200);
    }

    void matchesPaintedInTheirColours() {
        Editor e(m("one two one two one"));
        e.editor.setSearchState(e.search(QStringLiteral("one"), 2));
        QVERIFY(e.view->extraSelections().isEmpty()); // find bar not shown
        e.editor.setFindActive(true);
        const QList<Painted> expected{{{0, 3}, false}, {{8, 3}, false}, {{16, 3}, true}};
        QCOMPARE(e.editor.paintedMatches(), expected);
        QCOMPARE(e.paintedColours(), (QList<QColor>{EditorSearchHighlighter::lightMatch(),
                                                    EditorSearchHighlighter::lightMatch(),
                                                    EditorSearchHighlighter::lightCurrent()}));

        e.editor.setHighlightConfig(config(true));
        QCOMPARE(e.paintedColours(), (QList<QColor>{EditorSearchHighlighter::darkMatch(),
                                                    EditorSearchHighlighter::darkMatch(),
                                                    EditorSearchHighlighter::darkCurrent()}));

        // A blank query paints nothing.
        DocumentSearchState blank = e.search(QStringLiteral("one"));
        blank.query = QStringLiteral("  \n");
        e.editor.setSearchState(blank);
        QVERIFY(e.view->extraSelections().isEmpty());

        // Ranges outside the text are skipped, the others still drawn.
        DocumentSearchState odd{QStringLiteral("one"), 0, {{-1, 3}, {0, 3}, {17, 3}, {19, 0}}};
        e.editor.setSearchState(odd);
        QCOMPARE(e.editor.paintedMatches(), (QList<Painted>{{{0, 3}, false}}));
        e.editor.setText(QStringLiteral("on"));
        QVERIFY(e.editor.paintedMatches().isEmpty());

        e.editor.setFindActive(false);
        QVERIFY(e.view->extraSelections().isEmpty());
    }

    void onlyMatchesInViewArePainted() {
        Editor e(lines(3000, "row %1 has a match"));
        e.editor.setFindActive(true);
        e.editor.setSearchState(e.search(QStringLiteral("match")));
        const QList<Painted> top = e.editor.paintedMatches();
        QVERIFY(!top.isEmpty());
        QVERIFY(top.size() < 60);
        QCOMPARE(top.first().range.location, e.editor.text().indexOf(QStringLiteral("match")));

        e.view->verticalScrollBar()->setValue(e.view->verticalScrollBar()->maximum());
        const QList<Painted> bottom = e.editor.paintedMatches();
        QVERIFY(!bottom.isEmpty());
        QCOMPARE(bottom.last().range.location,
                 e.editor.text().lastIndexOf(QStringLiteral("match")));

        e.editor.resize(500, 600);
        QTRY_VERIFY(e.editor.paintedMatches().size() > bottom.size());
    }

    void findSessionSeeds() {
        Editor e(m("abc ") + QString(250, QLatin1Char('z')));
        QSignalSpy sessions(&e.editor, &MarkdownTextEditor::findSessionStarted);
        setMarked(*e.view, m("«abc» ") + QString(250, QLatin1Char('z')));
        e.editor.setFindSessionId(1);
        QCOMPARE(sessions.count(), 1);
        QCOMPARE(sessions.last().at(0).toString(), QStringLiteral("abc"));
        e.editor.setFindSessionId(1);
        QCOMPARE(sessions.count(), 1);

        QTextCursor cursor(e.view->document());
        cursor.setPosition(4);
        cursor.setPosition(4 + 199, QTextCursor::KeepAnchor);
        e.view->setTextCursor(cursor);
        e.editor.setFindSessionId(2);
        QCOMPARE(sessions.last().at(0).toString(), QString(199, QLatin1Char('z')));
        cursor.setPosition(4 + 200, QTextCursor::KeepAnchor);
        e.view->setTextCursor(cursor);
        e.editor.setFindSessionId(3);
        QCOMPARE(sessions.last().at(0).toString(), QString());
        cursor.clearSelection();
        e.view->setTextCursor(cursor);
        e.editor.setFindSessionId(4);
        QCOMPARE(sessions.last().at(0).toString(), QString());
    }

    void onlyFindActionsMoveTheCaret() {
        Editor e(m("cat dog cat dog cat"));
        e.editor.setSearchState(e.search(QStringLiteral("cat")));
        setMarked(*e.view, m("cat dog‸ cat dog cat"));
        // Showing the find bar alone selects nothing...
        e.editor.setFindActive(true);
        QCOMPARE(marked(*e.view), m("cat dog‸ cat dog cat"));
        // ...a new session does.
        e.editor.setFindSessionId(1);
        QCOMPARE(marked(*e.view), m("«cat» dog cat dog cat"));
        // Next.
        e.editor.setSearchState(e.search(QStringLiteral("cat"), 1));
        QCOMPARE(marked(*e.view), m("cat dog «cat» dog cat"));

        // Typing that adds or removes matches leaves the caret alone, even
        // when the find bar moves its current index.
        setMarked(*e.view, m("cat dog cat dog cat ‸"));
        QTest::keyClicks(e.view, QStringLiteral("cat"));
        e.editor.setSearchState(e.search(QStringLiteral("cat"), 1));
        QCOMPARE(marked(*e.view), m("cat dog cat dog cat cat‸"));
        QTest::keyClick(e.view, Qt::Key_Backspace);
        e.editor.setSearchState(e.search(QStringLiteral("cat"), 2));
        QCOMPARE(marked(*e.view), m("cat dog cat dog cat ca‸"));

        // A new query selects its current match.
        e.editor.setSearchState(e.search(QStringLiteral("dog"), 1));
        QCOMPARE(marked(*e.view), m("cat dog cat «dog» cat ca"));

        // Re-opening with the same state selects the current match again.
        setMarked(*e.view, m("‸cat dog cat dog cat ca"));
        e.editor.setFindActive(false);
        e.editor.setFindActive(true);
        e.editor.setFindSessionId(2);
        QCOMPARE(marked(*e.view), m("cat dog cat «dog» cat ca"));

        // The current match is scrolled into view.
        e.editor.setText(lines(500, "line %1") + QStringLiteral("\nneedle"));
        e.view->verticalScrollBar()->setValue(0);
        e.editor.setSearchState(e.search(QStringLiteral("needle")));
        QVERIFY(e.view->verticalScrollBar()->value() > 0);
        QVERIFY(e.view->viewport()->rect().contains(e.view->cursorRect().center()));
    }

    void configChangesKeepCaretScrollAndUndo() {
        Editor e(lines(300, "- item **%1**"));
        QTest::keyClick(e.view, Qt::Key_Z);
        QTextCursor cursor(e.view->document()->findBlockByNumber(150));
        e.view->setTextCursor(cursor);
        e.view->verticalScrollBar()->setValue(140);
        const int caret = e.view->textCursor().position();
        const QString text = e.editor.text();

        const HighlightConfig dark = config(true, 18);
        e.editor.setHighlightConfig(dark);
        QCOMPARE(e.editor.highlighter()->config(), dark);
        QCOMPARE(e.view->font(), dark.baseFont);
        QCOMPARE(e.view->caretColour(), dark.theme.accent);
        QCOMPARE(AccentScroller::of(e.view)->accentColor(), dark.theme.accent);
        QCOMPARE(e.view->editorTheme(), std::optional<EditorTheme>(dark.theme));
        QCOMPARE(e.view->textCursor().position(), caret);
        QCOMPARE(e.view->verticalScrollBar()->value(), 140);
        QCOMPARE(e.editor.text(), text);
        QCOMPARE(e.view->document()->availableUndoSteps() > 0, true);
        e.view->undo();
        QCOMPARE(e.editor.text(), lines(300, "- item **%1**"));
    }

    void scrollViewReadyOnce() {
        MarkdownTextEditor editor(config());
        QSignalSpy ready(&editor, &MarkdownTextEditor::scrollViewReady);
        QTRY_COMPARE(ready.count(), 1);
        QCOMPARE(ready.first().at(0).value<QAbstractScrollArea*>(), editor.scrollView());
        QCOMPARE(editor.scrollView(), static_cast<QAbstractScrollArea*>(editor.textView()));
        QTest::qWait(20);
        QCOMPARE(ready.count(), 1);

        QSignalSpy find(&editor, &MarkdownTextEditor::findRequested);
        editor.textView()->contextMenuFind();
        QCOMPARE(find.count(), 1);
    }
};

QTEST_MAIN(TestMarkdownTextEditor)
#include "tst_markdowntexteditor.moc"
