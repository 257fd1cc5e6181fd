#include "core/DesignSystem.h"
#include "editor/AccentScroller.h"
#include "editor/EditorText.h"
#include "editor/FindIndicator.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "support/AnimationClock.h"
#include "support/EditorFixture.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QVBoxLayout>
#include <cmath>

using namespace EditorFixture;
using Painted = EditorSearchHighlighter::PaintedMatch;

namespace {

// An editor on screen, with its text set the way a window first sets it.
struct Editor {
    MarkdownTextEditor editor{config()};
    MarkdownTextView* view = editor.textView();
    QSignalSpy edits{&editor, &MarkdownTextEditor::textEdited};

    explicit Editor(const QString& text) {
        if (!TestSupport::showExposed(&editor, {500, 300}))
            qFatal("editor not exposed");
        editor.setText(text);
        view->setFocus();
    }
    // Shows the find state of a query over the current text, every occurrence.
    void search(const QString& query, int current = 0) {
        DocumentSearchState state{query, current, {}};
        const QString text = editor.text();
        for (qsizetype at = text.indexOf(query); at >= 0; at = text.indexOf(query, at + 1))
            state.matches.append({int(at), int(query.size())});
        editor.setSearchState(state);
    }
    QList<QColor> paintedColours() const {
        QList<QColor> colours;
        for (const QTextEdit::ExtraSelection& s : view->extraSelections())
            colours << s.format.background().color();
        return colours;
    }
    QScrollBar* bar() const { return view->verticalScrollBar(); }
};

// WCAG 2 contrast ratio of two opaque colours, from their relative luminance.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Empty when text in `text` reads on `behind` (laid over `under`) at 4.5:1.
QString unreadable(const QColor& text, const QColor& behind, const QColor& under) {
    const QColor shown = composited(behind, under);
    const double ratio = contrast(text, shown);
    return ratio >= 4.5 ? QString()
                        : QStringLiteral("%1 on %2: %3").arg(text.name(), shown.name()).arg(ratio);
}

bool nearlyEqual(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 1 && std::abs(a.green() - b.green()) <= 1 &&
           std::abs(a.blue() - b.blue()) <= 1;
}

// Laying a block out gives its layout the document's text option again, so
// a different option set beforehand tells whether the block was laid out
// since.
void markLayout(const QTextBlock& block) {
    QTextOption marked = block.document()->defaultTextOption();
    marked.setTabStopDistance(marked.tabStopDistance() + 1);
    block.layout()->setTextOption(marked);
}
bool laidOutSinceMarked(const QTextBlock& block) {
    return block.layout()->textOption().tabStopDistance() ==
           block.document()->defaultTextOption().tabStopDistance();
}

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
    void textSurvivesExactly_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("nbsp and line separator") << u8("a\u00A0b\u2028c\n\u00A0\u2028\n");
        QTest::newRow("emoji and CJK") << u8("😀 👩‍👩‍👧 漢字かな한글\n\n");
    }
    void textSurvivesExactly() {
        QFETCH(QString, text);
        MarkdownTextEditor fresh(config());
        fresh.setText(text);
        QCOMPARE(EditorText::text(fresh.textView()->document()), text);
        // Through the minimal replacement too.
        Editor e(u8("seed"));
        e.editor.setText(text);
        QCOMPARE(e.editor.text(), text);
        QCOMPARE(EditorText::text(e.view->document()), text);
        QCOMPARE(e.edits.count(), 0);
    }

    // A window sets its text before it shows: the text goes in at the width
    // it is shown with, so showing lays out no line again (an unseen line
    // keeps the line count it had), and it opens as the file is, caret at the
    // start, nothing to undo.
    void firstTextGoesInAtTheShownWidth_data() {
        QTest::addColumn<bool>("split");
        QTest::newRow("in a window's layout") << false;
        QTest::newRow("beside another pane") << true;
    }
    void firstTextGoesInAtTheShownWidth() {
        QFETCH(bool, split);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        QWidget* pane = &window;
        if (split) {
            auto* splitter = new QSplitter(&window);
            layout->addWidget(splitter);
            new QWidget(splitter);
            pane = splitter;
        }
        auto* editor = new MarkdownTextEditor(config(), pane);
        if (split)
            static_cast<QSplitter*>(pane)->insertWidget(0, editor);
        else
            layout->addWidget(editor);
        window.resize(600, 400);
        const QString text = lines(3000, "line %1 with *some* words") + u8("\nlast\u00A0line");
        editor->setText(text);
        QTextBlock far = editor->textView()->document()->findBlockByNumber(2500);
        far.setLineCount(7);
        QVERIFY(TestSupport::showExposed(&window, {}));
        QCOMPARE(far.lineCount(), 7);
        QCOMPARE(editor->text(), text);
        QCOMPARE(editor->textView()->textCursor().position(), 0);
        QCOMPARE(editor->textView()->verticalScrollBar()->value(), 0);
        QVERIFY(!editor->textView()->document()->isUndoAvailable());
        QVERIFY(!editor->textView()->document()->isModified());
    }

    // Neither recolouring, find painting nor text from outside echo.
    void onlyTheUsersEditsAreReported() {
        Editor e(u8("one"));
        QVERIFY(!e.view->document()->isUndoAvailable());
        e.editor.setHighlightConfig(config(true, 18));
        e.editor.setFindActive(true);
        e.search(QStringLiteral("o"));
        e.editor.setText(QStringLiteral("replaced"));
        e.editor.replaceText(0, 3, QStringLiteral("RE"));
        QCOMPARE(e.editor.text(), QStringLiteral("RElaced"));
        QCOMPARE(e.edits.count(), 0);
    }

    // Each edit is reported once, with what it changed: after random typing,
    // key equivalents, deleting, pasting and undoing anywhere, at the end
    // included, the reports replayed always give the editor's text.
    void reportedEditsReplayToTheText() {
        QRandomGenerator rng(7);
        Editor e(lines(40, "line %1 with *words*"));
        QString replayed = e.editor.text();
        for (int step = 0; step < 300; ++step) {
            QTextCursor cursor = e.view->textCursor();
            const int length = EditorText::length(e.view->document());
            cursor.setPosition(rng.bounded(length + 1));
            if (rng.bounded(3) == 0)
                cursor.setPosition(rng.bounded(length + 1), QTextCursor::KeepAnchor);
            e.view->setTextCursor(cursor);
            switch (rng.bounded(7)) {
            case 0:
                QTest::keyClick(e.view, Qt::Key_Q);
                break;
            case 1:
                QTest::keyClick(e.view, Qt::Key_Return);
                break;
            case 2:
                QTest::keyClick(e.view, Qt::Key_Backspace);
                break;
            case 3:
                QTest::keyClick(e.view, Qt::Key_Delete);
                break;
            case 4:
                QApplication::clipboard()->setText(QStringLiteral("p\u2029q\r\nr"));
                e.view->paste();
                break;
            case 5:
                QTest::keyClick(e.view, Qt::Key_B, Qt::ControlModifier);
                break;
            default:
                e.view->undo();
                break;
            }
        }
        for (const QList<QVariant>& edit : std::as_const(e.edits))
            replayed.replace(edit.at(0).toInt(), edit.at(1).toInt(), edit.at(2).toString());
        QCOMPARE(replayed, e.editor.text());
    }

    void outsideTextIsOneMinimalUndoableEdit() {
        Editor e(u8("alpha beta gamma"));
        setMarked(*e.view, u8("alpha beta gam«ma»"));
        e.edits.clear();
        QTest::keyClick(e.view, Qt::Key_A);
        e.editor.setText(QStringLiteral("alpha BETA!! gama"));
        QCOMPARE(marked(*e.view), u8("alpha BETA!! gama‸"));
        QCOMPARE(e.edits.count(), 1);
        // Undo takes back the outside change, then the user's own edit.
        e.view->undo();
        QCOMPARE(e.editor.text(), u8("alpha beta gama"));
        e.view->undo();
        QCOMPARE(e.editor.text(), u8("alpha beta gamma"));

        // A shorter text keeps the selection inside it.
        setMarked(*e.view, u8("alpha «beta gamma»"));
        e.editor.setText(QStringLiteral("alpha"));
        QCOMPARE(marked(*e.view), u8("alpha‸"));

        // The scroll position stays where it was.
        e.editor.setText(lines(400, "line %1"));
        e.bar()->setValue(200);
        e.editor.setText(QStringLiteral("X") + lines(400, "line %1") + QStringLiteral("\nmore"));
        QCOMPARE(e.bar()->value(), 200);
    }

    void matchesPaintedInTheirColours() {
        Editor e(u8("one two one two one"));
        e.search(QStringLiteral("one"), 2);
        QVERIFY(e.view->extraSelections().isEmpty()); // find bar not shown
        e.editor.setFindActive(true);
        const QList<Painted> expected{{{0, 3}, false}, {{8, 3}, false}, {{16, 3}, true}};
        QCOMPARE(e.editor.paintedMatches(), expected);
        using namespace EditorSearchHighlighter;
        QCOMPARE(e.paintedColours(), QList<QColor>({lightMatch(), lightMatch(), lightCurrent()}));
        // A new theme repaints them and reaches the caret, scroller and menus.
        const HighlightConfig dark = config(true, 18);
        e.editor.setHighlightConfig(dark);
        QCOMPARE(e.paintedColours(), QList<QColor>({darkMatch(), darkMatch(), darkCurrent()}));
        QCOMPARE(e.view->font(), dark.baseFont);
        QCOMPARE(e.view->caretColour(), dark.theme.accent);
        QCOMPARE(AccentScroller::of(e.view)->accentColor(), dark.theme.accent);
        QCOMPARE(e.view->editorTheme(), std::optional<EditorTheme>(dark.theme));

        e.search(QStringLiteral("  \n")); // a blank query paints nothing
        QVERIFY(e.view->extraSelections().isEmpty());
        // Ranges outside the text are skipped, the others still drawn.
        e.editor.setSearchState({QStringLiteral("one"), 0, {{-1, 3}, {0, 3}, {17, 3}, {19, 0}}});
        QCOMPARE(e.editor.paintedMatches(), (QList<Painted>{{{0, 3}, false}}));
        e.editor.setText(QStringLiteral("on"));
        QVERIFY(e.editor.paintedMatches().isEmpty());
        e.editor.setSearchState({QStringLiteral("o"), 0, {{0, 1}}});
        e.editor.setFindActive(false);
        QVERIFY(e.view->extraSelections().isEmpty());
    }

    // The selection comes in the theme's own colours with the focus in the
    // editor and with it in the find field, opaque and readable at 4.5:1 or
    // better in all six themes; so do the matches, and the current match
    // keeps its own under the selection.
    void selectionAndMatchesReadInEveryTheme() {
        using Colors = DesignSystem::Colors;
        const std::pair<const Colors&, bool> themes[] = {
            {Colors::light(), false}, {Colors::porcelain(), false}, {Colors::sage(), false},
            {Colors::dark(), true},   {Colors::depth(), true},      {Colors::ember(), true}};
        QWidget window;
        auto* field = new QLineEdit(&window);
        auto* editor = new MarkdownTextEditor(config(), &window);
        auto* column = new QVBoxLayout(&window);
        column->addWidget(field);
        column->addWidget(editor);
        QVERIFY(TestSupport::showExposed(&window, {500, 300}));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        MarkdownTextView* view = editor->textView();
        editor->setText(QStringLiteral("ab xx cd\n"));
        QTextCursor selected(view->document());
        selected.setPosition(3);
        selected.setPosition(5, QTextCursor::KeepAnchor);
        view->setTextCursor(selected);
        // Over the first "x", above its ink.
        QTextCursor start(view->document());
        start.setPosition(3);
        const QPoint inside = view->cursorRect(start).topLeft() + QPoint(2, 1);

        for (const auto& [colors, dark] : themes) {
            const EditorTheme theme =
                EditorTheme::from(DesignSystem::make(colors, FontDesign::Serif, dark));
            editor->setHighlightConfig({14, theme, config().baseFont});
            for (const bool focused : {true, false}) {
                (focused ? static_cast<QWidget*>(view) : field)->setFocus();
                QTRY_COMPARE(view->hasFocus(), focused);
                const QColor behind = focused ? theme.selection : theme.inactiveSelection;
                const QPalette::ColorGroup group = focused ? QPalette::Active : QPalette::Inactive;
                QCOMPARE(view->palette().color(group, QPalette::Highlight), behind);
                QCOMPARE(view->palette().color(group, QPalette::HighlightedText), theme.text);
                QCOMPARE(behind.alpha(), 255);
                QVERIFY2(unreadable(theme.text, behind, theme.surface).isEmpty(),
                         qPrintable(unreadable(theme.text, behind, theme.surface)));
                const QColor drawn = view->viewport()->grab().toImage().pixelColor(inside);
                QVERIFY2(nearlyEqual(drawn, behind),
                         qPrintable(drawn.name() + QStringLiteral(" drawn, not ") + behind.name()));
            }
        }

        editor->setFindActive(true);
        editor->setSearchState({QStringLiteral("ab"), 1, {{0, 2}, {6, 2}}});
        editor->setText(QStringLiteral("ab xx ab\n"));
        editor->setSearchState({QStringLiteral("ab"), 0, {{0, 2}, {6, 2}}});
        editor->setSearchState({QStringLiteral("ab"), 1, {{0, 2}, {6, 2}}}); // selects "ab" at 6
        for (const auto& [colors, dark] : themes) {
            const EditorTheme theme =
                EditorTheme::from(DesignSystem::make(colors, FontDesign::Serif, dark));
            editor->setHighlightConfig({14, theme, config().baseFont});
            QCOMPARE(view->extraSelections().size(), 2);
            for (const QTextEdit::ExtraSelection& match : view->extraSelections()) {
                const QTextCharFormat& format = match.format;
                const QColor text = format.hasProperty(QTextFormat::ForegroundBrush)
                                        ? format.foreground().color()
                                        : theme.text;
                const QString problem =
                    unreadable(text, format.background().color(), theme.surface);
                QVERIFY2(problem.isEmpty(), qPrintable(problem));
            }
            // The selection over the current match keeps the match's own
            // colours, at least 3:1 off the other match, focused or not.
            const QColor other = composited(
                view->extraSelections().first().format.background().color(), theme.surface);
            for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
                const QColor current =
                    composited(view->palette().color(group, QPalette::Highlight), theme.surface);
                QVERIFY2(contrast(current, other) >= 3,
                         qPrintable(current.name() + " on " + other.name()));
                const QString problem =
                    unreadable(view->palette().color(group, QPalette::HighlightedText), current,
                               theme.surface);
                QVERIFY2(problem.isEmpty(), qPrintable(problem));
            }
        }
    }

    void onlyMatchesInViewArePainted() {
        Editor e(lines(3000, "row %1 has a match"));
        e.editor.setFindActive(true);
        e.search(QStringLiteral("match"));
        const QList<Painted> top = e.editor.paintedMatches();
        QVERIFY(!top.isEmpty() && top.size() < 60);
        QCOMPARE(top.first().range.location, e.editor.text().indexOf(QStringLiteral("match")));
        e.bar()->setValue(e.bar()->maximum());
        const QList<Painted> bottom = e.editor.paintedMatches();
        QCOMPARE(bottom.last().range.location,
                 e.editor.text().lastIndexOf(QStringLiteral("match")));
        e.editor.resize(500, 600);
        QTRY_VERIFY(e.editor.paintedMatches().size() > bottom.size());
    }

    void findSessionSeeds() {
        const QString zs(250, QLatin1Char('z'));
        Editor e(u8("abc ") + zs);
        QSignalSpy sessions(&e.editor, &MarkdownTextEditor::findSessionStarted);
        auto seedFor = [&](int from, int to, int id) {
            QTextCursor cursor(e.view->document());
            cursor.setPosition(from);
            cursor.setPosition(to, QTextCursor::KeepAnchor);
            e.view->setTextCursor(cursor);
            e.editor.setFindSessionId(id);
            return sessions.last().at(0).toString();
        };
        QCOMPARE(seedFor(0, 3, 1), QStringLiteral("abc"));
        QCOMPARE(seedFor(4, 4 + 199, 2), QString(199, QLatin1Char('z')));
        QCOMPARE(seedFor(4, 4 + 200, 3), QString());
        QCOMPARE(seedFor(4, 4, 4), QString());
        e.editor.setFindSessionId(4); // the same session starts nothing
        QCOMPARE(sessions.count(), 4);
    }

    void onlyFindActionsMoveTheCaret() {
        Editor e(u8("cat dog cat dog cat"));
        e.search(QStringLiteral("cat"));
        setMarked(*e.view, u8("cat dog‸ cat dog cat"));
        // Showing the find bar alone selects nothing; a new session does.
        e.editor.setFindActive(true);
        QCOMPARE(marked(*e.view), u8("cat dog‸ cat dog cat"));
        e.editor.setFindSessionId(1);
        QCOMPARE(marked(*e.view), u8("«cat» dog cat dog cat"));
        e.search(QStringLiteral("cat"), 1); // next
        QCOMPARE(marked(*e.view), u8("cat dog «cat» dog cat"));

        // Typing that adds or removes matches leaves the caret alone, even
        // when the find bar moves its current index.
        setMarked(*e.view, u8("cat dog cat dog cat ‸"));
        QTest::keyClicks(e.view, QStringLiteral("cat"));
        e.search(QStringLiteral("cat"), 1);
        QTest::keyClick(e.view, Qt::Key_Backspace);
        e.search(QStringLiteral("cat"), 2);
        QCOMPARE(marked(*e.view), u8("cat dog cat dog cat ca‸"));
        // Also when as many matches moved and the index follows its range.
        e.editor.setText(u8("..cat..cat"));
        e.search(QStringLiteral("cat"));
        e.search(QStringLiteral("cat"), 1);
        QCOMPARE(marked(*e.view), u8("..cat..«cat»"));
        setMarked(*e.view, u8("‸..cat..cat"));
        QTest::keyClicks(e.view, QStringLiteral("12345"));
        e.search(QStringLiteral("cat"), 0); // the match at 7 is the current one still
        QCOMPARE(marked(*e.view), u8("12345‸..cat..cat"));

        // A new query selects its current match, scrolled into view.
        e.editor.setText(lines(500, "line %1") + QStringLiteral("\nneedle"));
        e.bar()->setValue(0);
        e.search(QStringLiteral("needle"));
        QVERIFY(e.bar()->value() > 0);
        QCOMPARE(e.view->textCursor().selectedText(), QStringLiteral("needle"));
        QVERIFY(e.view->viewport()->rect().contains(e.view->cursorRect().center()));
    }

    // A find action pulses a marker over the match, briefly, that follows
    // it as it scrolls; typing ends it at once, as does closing the find bar.
    // A view that loses height keeps the match it revealed in sight.
    void keyLaysTheLineOutOnce_data() {
        QTest::addColumn<QString>("line");
        QString dense;
        for (int i = 0; dense.size() < 9000; ++i)
            dense += QStringLiteral("w%1 *em* **strong** `code` [link](https://x.y/%1) ").arg(i);
        QTest::newRow("plain, too long to colour") << QStringLiteral("plain words ").repeated(2000);
        QTest::newRow("dense with markup") << dense;
        QTest::newRow("in a fence") << QStringLiteral("```\n%1\n```").arg(dense.repeated(3));
    }
    // A key in a long line lays the line out once: the edit's layout is the
    // one painted, or the line is laid out when painted, never both.
    void keyLaysTheLineOutOnce() {
        QFETCH(QString, line);
        Editor e(QStringLiteral("# Title\n") + line + QStringLiteral("\nlast line\n"));
        QTextCursor cursor(e.view->document()->findBlockByNumber(line.startsWith(u'`') ? 2 : 1));
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, 40);
        e.view->setTextCursor(cursor);
        e.view->viewport()->repaint();
        for (const auto& [key, text] :
             {std::pair{Qt::Key_A, QStringLiteral("a")}, std::pair{Qt::Key_Backspace, QString()},
              std::pair{Qt::Key_Space, QStringLiteral(" ")}}) {
            const QTextBlock block = e.view->textCursor().block();
            markLayout(block);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QApplication::sendEvent(e.view, &press);
            const bool byEdit = laidOutSinceMarked(block);
            markLayout(block);
            QApplication::processEvents();
            e.view->viewport()->repaint();
            QVERIFY(block.layout()->lineCount() > 1);
            QCOMPARE(int(byEdit) + int(laidOutSinceMarked(block)), 1);
        }
    }

    void findActionsPulseOverTheMatch() {
        Editor e(lines(60, "line %1") + QStringLiteral("\nthe needle here"));
        e.editor.setFindActive(true);
        FindIndicator* pulse = e.editor.findIndicator();
        QVERIFY(!pulse->isPulsing());
        // The pulse lasts only as long as the test lets it.
        AnimationClock clock;
        e.search(QStringLiteral("needle"));
        QVERIFY(pulse->isPulsing());
        QCOMPARE(pulse->markerRects().size(), 1);
        QVERIFY(pulse->markerRects().first().contains(e.view->cursorRect().center()));
        e.editor.resize(500, 200);
        QTRY_VERIFY(e.view->viewport()->rect().contains(e.view->cursorRect()));
        QVERIFY(pulse->markerRects().first().contains(e.view->cursorRect().center()));
        QVERIFY(clock.finish());
        QVERIFY(!pulse->isPulsing());

        e.search(QStringLiteral("line 1"));
        e.bar()->setValue(e.bar()->value() + 1);
        QVERIFY(pulse->markerRects().first().contains(e.view->cursorRect().center()));
        e.search(QStringLiteral("line 2"));
        QTest::keyClick(e.view, Qt::Key_Right);
        QVERIFY(pulse->isPulsing()); // moving the caret leaves it
        QTest::keyClick(e.view, Qt::Key_X);
        QVERIFY(!pulse->isPulsing());
        e.search(QStringLiteral("line 3"));
        e.editor.setFindActive(false);
        QVERIFY(!pulse->isPulsing());
    }
};

QTEST_MAIN(TestMarkdownTextEditor)
#include "tst_markdowntexteditor.moc"
