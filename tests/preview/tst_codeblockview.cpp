#include "core/AppearanceService.h"
#include "core/Preferences.h"
#include "preview/CodeBlockView.h"
#include "preview/CodeHighlightService.h"
#include "preview/CodeHighlighter.h"
#include "preview/CodeLinesView.h"
#include "preview/CodeTheme.h"
#include "preview/HorizontalPassThroughScrollView.h"
#include "preview/MarkdownBlockView.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewSelectionReader.h"
#include "preview/PreviewView.h"
#include "preview/SelectableTextView.h"
#include "support/AnimationClock.h"
#include "support/BackgroundWork.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

DesignSystem light() {
    return DesignSystem::make(DesignSystem::Colors::light(), FontDesign::Serif, false);
}

QString colourAt(const StyledText& styled, const QString& word, qsizetype from = 0) {
    return styled.formatAt(styled.text.indexOf(word, from)).foreground().color().name();
}

void wheel(QWidget* target, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

// The chunks of a long code view put back together.
QString joinedChunks(const CodeLinesView& view) {
    QString code;
    for (int i = 0; i < view.chunkCount(); ++i) {
        code += view.chunkText(i);
        if (view.endsLine(i) && i + 1 < view.chunkCount())
            code += u'\n';
    }
    return code;
}

// A card in a page that scrolls, shown.
struct Page {
    QScrollArea area;
    QWidget* content = new QWidget;
    CodeBlockView* card;
    Page(const QString& code, const QString& language, QSize size, int spaceBelow = 0) {
        auto* column = new QVBoxLayout(content);
        card = new CodeBlockView(code, language, light());
        column->addWidget(card);
        column->addSpacing(spaceBelow);
        area.setWidget(content);
        area.setWidgetResizable(true);
        if (!TestSupport::showExposed(&area, size))
            qFatal("page not shown");
    }
    QScrollBar* bar() { return area.verticalScrollBar(); }
};

QString numberedLines(int count) {
    QString code;
    for (int i = 0; i < count; ++i)
        code += QStringLiteral("let value%1 = compute(%1)\n").arg(i);
    return code;
}

// The formats a card shows, in whichever view it draws its code.
QList<QTextLayout::FormatRange> shownFormats(const CodeBlockView* card) {
    return card->codeView() ? card->codeView()->content().formats
                            : card->linesView()->content().formats;
}

// A preview pane, shown, whose first row is a fence of the code (a
// paragraph for none).
struct Preview {
    std::unique_ptr<PreviewView> view = std::make_unique<PreviewView>();
    explicit Preview(const QString& code) {
        if (!TestSupport::showExposed(view.get(), {600, 400}))
            qFatal("preview not shown");
        render(code);
    }
    void render(const QString& code) const {
        view->setMarkdown(code.isEmpty() ? QStringLiteral("text\n")
                                         : QStringLiteral("```\n%1```\n").arg(code));
        view->updateNow();
        if (!QTest::qWaitFor([&] { return !view->isUpdating(); }, 30000))
            qFatal("preview not rendered");
    }
    CodeBlockView* card() const {
        MarkdownBlockView* row = view->content()->rowView(0);
        return row ? row->findChild<CodeBlockView*>() : nullptr;
    }
    // The formats the card shows once it has its colours.
    QList<QTextLayout::FormatRange> colours() const {
        if (!QTest::qWaitFor([&] { return card() && !card()->isWaitingForColours(); }, 120000))
            return {};
        return shownFormats(card());
    }
};

} // namespace

class TestCodeBlockView : public QObject {
    Q_OBJECT
    // Colouring at once, as the colouring thread does it.
    CodeHighlighter direct;

private Q_SLOTS:
    void initTestCase() { QVERIFY(direct.isAvailable()); }
    void init() { TestSupport::resetPreferences(); }
    void cleanup() { QTRY_VERIFY_WITH_TIMEOUT(TestSupport::backgroundWorkIsOver(), 120'000); }

    void pythonDefInBothThemes_data() {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("string");
        QTest::newRow("light") << QStringLiteral("atom-one-light") << QStringLiteral("#a626a4")
                               << QStringLiteral("#4078f2") << QStringLiteral("#50a14f");
        QTest::newRow("dark") << QStringLiteral("atom-one-dark") << QStringLiteral("#c678dd")
                              << QStringLiteral("#61aeee") << QStringLiteral("#98c379");
    }
    void pythonDefInBothThemes() {
        QFETCH(QString, theme);
        QFETCH(QString, keyword);
        QFETCH(QString, title);
        QFETCH(QString, string);
        const QString code = QStringLiteral("def greet(name):\n    # hi\n    return 'a' < \"b\"\n");
        const HighlightedCode result = direct.highlight(code, QStringLiteral("python"), theme);
        QCOMPARE(result.language, QStringLiteral("python"));
        // Entities come back as the characters they stand for.
        QCOMPARE(result.styled.text, code);
        QCOMPARE(colourAt(result.styled, QStringLiteral("def")), keyword);
        QCOMPARE(colourAt(result.styled, QStringLiteral("greet")), title);
        QCOMPARE(colourAt(result.styled, QStringLiteral("'a'")), string);
        QCOMPARE(colourAt(result.styled, QStringLiteral(" < ")),
                 CodeTheme::load(theme).foreground().name());
        QVERIFY(result.styled.formatAt(code.indexOf(QStringLiteral("# hi"))).fontItalic());
    }

    // Code shows plain at once and takes its colours when the colouring
    // thread has them, at the height it had, keeping what the reader
    // selected meanwhile; they are what colouring at once gives. Known then,
    // a new view of the same code is coloured at once.
    void detectionDoesNotHoldUpThePage_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("language");
        QTest::newRow("tagged") << QStringLiteral("def first(x):\n    return x + 1  # one\n")
                                << QStringLiteral("python");
        QTest::newRow("untagged") << QStringLiteral("def second(y):\n    return y * 2  # two\n")
                                  << QString();
        QTest::newRow("in chunks")
            << numberedLines(CodeBlockView::chunkedLines) << QStringLiteral("swift");
    }
    void detectionDoesNotHoldUpThePage() {
        QFETCH(QString, code);
        QFETCH(QString, language);
        CodeBlockView card(code, language, light());
        QVERIFY(card.isWaitingForColours());
        QVERIFY(shownFormats(&card).isEmpty());
        card.codeView() ? card.codeView()->selectAll() : card.linesView()->selectAll();
        QVERIFY(TestSupport::showExposed(&card, {500, 300}));
        card.grab();
        const int height = card.sizeHint().height();
        QTRY_VERIFY_WITH_TIMEOUT(!card.isWaitingForColours(), 120000);
        card.grab();
        const auto expected = direct.highlight(code, language, light().codeTheme).styled.formats;
        QVERIFY(!expected.isEmpty());
        QCOMPARE(shownFormats(&card), expected);
        QCOMPARE(card.sizeHint().height(), height);
        QCOMPARE(card.codeView() ? card.codeView()->selectedText()
                                 : card.linesView()->selectedText(),
                 code);

        CodeBlockView again(code, language, light());
        QVERIFY(!again.isWaitingForColours());
        QCOMPARE(shownFormats(&again), expected);
    }

    // A block edited while its colours are on their way shows the colours of
    // its new code, and a new colour scheme recolours it; one removed, or a
    // preview closed, takes none and leaves no work behind.
    void editedRecolouredOrRemovedWhileColouring() {
        const QString code = QStringLiteral("<ul>\n  <li class=\"a\">one</li>\n</ul>\n");
        const auto coloursIn = [&](const char* appearance) {
            Preferences::shared().setString(PreferenceKeys::appearancePreference,
                                            QString::fromLatin1(appearance));
            const QString theme = AppearanceService::shared().designSystem().codeTheme;
            return direct.highlight(code, {}, theme).styled.formats;
        };
        const auto lightColours = coloursIn("light");
        Preview preview(QStringLiteral("SELECT name FROM users WHERE id = 1;\n"));
        preview.render(code);
        QCOMPARE(preview.colours(), lightColours);
        QCOMPARE(preview.card()->code(), code);
        const auto darkColours = coloursIn("dark");
        QVERIFY(darkColours != lightColours);
        QTRY_VERIFY_WITH_TIMEOUT(preview.colours() == darkColours, 120000);

        preview.render(QStringLiteral("removed = 1\n"));
        preview.render({});
        QVERIFY(!preview.card());
        Preview closed(QStringLiteral("closed = [x for x in range(3)]\n").repeated(300));
        closed.view.reset();
        QTRY_COMPARE_WITH_TIMEOUT(CodeHighlightService::shared().jobCount(), 0, 120000);
    }

    void detectionReadsABoundedPrefixAndIsCached() {
        CodeHighlighter& h = direct;
        const QString plain = QStringLiteral("some <text> & more\n");
        const auto unknown =
            h.highlight(plain, QStringLiteral("no-such-language"), QStringLiteral("atom-one-dark"));
        QCOMPARE(unknown.styled.text, plain);
        QVERIFY(unknown.styled.formats.isEmpty());
        QVERIFY(unknown.language.isEmpty());

        QString longCode;
        while (longCode.size() < 50 * CodeHighlighter::detectionPrefix)
            longCode += QStringLiteral("import os\ndef f(x):\n    return os.path.join(x, 'a')\n");
        const QString sample = CodeHighlighter::detectionSample(longCode);
        QVERIFY(sample.size() <= CodeHighlighter::detectionPrefix);
        QVERIFY(sample.endsWith(u'\n') && longCode.startsWith(sample));
        QCOMPARE(h.detectLanguage(longCode), QStringLiteral("python"));
        // A block with the same opening reuses the detection.
        QCOMPARE(h.detectLanguage(sample + QStringLiteral("{ \"json\": [1, 2] }\n").repeated(500)),
                 QStringLiteral("python"));

        const auto coloured = h.highlight(longCode, QString(), QStringLiteral("atom-one-light"));
        QCOMPARE(coloured.language, QStringLiteral("python"));
        // The whole block is coloured, not just the prefix.
        QCOMPARE(colourAt(coloured.styled, QStringLiteral("def"), longCode.size() - 100),
                 QStringLiteral("#a626a4"));
    }

    void headerAndColouredCodeInTheCodeFont() {
        CodeBlockView tagged(QStringLiteral("def f():\n    pass\n"), QStringLiteral("python"),
                             light());
        QCOMPARE(tagged.languageLabel()->text(), QStringLiteral("PYTHON"));
        QVERIFY(tagged.copyButton());
        QCOMPARE(tagged.codeView()->document()->defaultFont().families(),
                 DesignSystem::Typography::families(FontDesign::Monospaced));

        CodeBlockView untagged(QStringLiteral("x = 1\n"), QString(), light());
        QVERIFY(!untagged.languageLabel() && !untagged.copyButton());
    }

    void minimumHeightCountsLinesFromTheCode() {
        const QFontMetricsF m(DesignSystem::Typography::font(FontDesign::Monospaced, 13));
        const int line = int(std::ceil(m.ascent() + m.descent() + m.leading()));
        QCOMPARE(CodeBlockView::minimumBodyHeight(QStringLiteral("one line")), line + 16);
        QCOMPARE(CodeBlockView::minimumBodyHeight(QString()), line + 16);

        CodeBlockView card(QStringLiteral("a\nb\n"), QStringLiteral("c"), light());
        card.resize(500, card.sizeHint().height());
        card.layout()->activate();
        QCOMPARE(card.scrollView()->minHeight(), 3 * line + 16);
        QVERIFY(card.scrollView()->height() >= 3 * line + 16);
    }

    void longLinesScrollSidewaysAndVerticalTurnsGoToThePage() {
        using Route = HorizontalPassThroughScrollView::WheelRoute;
        QCOMPARE(HorizontalPassThroughScrollView::route({10, -40}, {}), Route::Parent);
        QCOMPARE(HorizontalPassThroughScrollView::route({30, 30}, {}), Route::Horizontal);

        Page page(QStringLiteral("y").repeated(300), QStringLiteral("text"), {300, 400}, 3000);
        HorizontalPassThroughScrollView* scroll = page.card->scrollView();
        QCOMPARE(page.card->codeView()->lineCount(), 1);
        wheel(scroll->viewport(), QPoint(0, -120));
        QVERIFY(page.bar()->value() > 0);
        QCOMPARE(scroll->horizontalScrollBar()->value(), 0);

        // Horizontal and Shift+wheel turns scroll the card.
        wheel(scroll->viewport(), QPoint(-120, 0));
        const int afterHorizontal = scroll->horizontalScrollBar()->value();
        QVERIFY(afterHorizontal > 0);
        wheel(scroll->viewport(), QPoint(0, -120), Qt::ShiftModifier);
        QVERIFY(scroll->horizontalScrollBar()->value() > afterHorizontal);
    }

    void longCodeIsCutIntoChunksThatMakeItUpAgain_data() {
        QTest::addColumn<QString>("code");
        const int lines = CodeLinesView::chunkLines;
        const qsizetype width = CodeLinesView::chunkCharacters;
        QTest::newRow("empty") << QString();
        QTest::newRow("one chunk, final break") << numberedLines(3);
        QTest::newRow("chunks of whole lines") << numberedLines(2 * lines);
        QTest::newRow("a break after the last full chunk") << numberedLines(lines) + u'\n';
        QTest::newRow("a line of three chunks and more")
            << QStringLiteral("start\n") + QString(3 * width + 5, u'x') + QStringLiteral("\nend");
        QTest::newRow("a line of exactly one chunk") << QString(width, u'y') + u'\n';
        QTest::newRow("lines of breaks") << QString(lines + 3, u'\n');
        QTest::newRow("lines that fill chunks unevenly")
            << QStringLiteral("%1\n").arg(QString(width / 3, u'z')).repeated(10);
        QTest::newRow("one line of many chunks")
            << QString(40 * width + 7, u'm') + u'\n' + numberedLines(lines + 1);
        // A cut at a chunk's length would fall inside a character.
        QTest::newRow("a line of characters outside the BMP")
            << u'x' + QStringLiteral("\U0001F600").repeated(width) + u'\n';
    }
    void longCodeIsCutIntoChunksThatMakeItUpAgain() {
        QFETCH(QString, code);
        CodeLinesView view;
        view.setContent({code, {}}, light().typography.code, Qt::black);
        QCOMPARE(joinedChunks(view), code);
        for (int i = 0; i < view.chunkCount(); ++i) {
            QVERIFY(view.chunkText(i).size() <= CodeLinesView::chunkCharacters);
            QVERIFY(view.chunkText(i).count(u'\n') < CodeLinesView::chunkLines);
            // Only a line longer than a chunk is cut, and never inside a character.
            QVERIFY(view.endsLine(i) ||
                    view.chunkText(i).size() >= CodeLinesView::chunkCharacters - 1);
            QVERIFY(view.chunkText(i).isEmpty() || !view.chunkText(i).front().isLowSurrogate());
        }
        QCOMPARE(view.laidOutChunkCount(), 0);
    }

    // Megabytes of code neither reach highlight.js nor are laid out at once:
    // what shows is laid out, what went out of sight is let go, and the
    // reader selects in it as anywhere else.
    void hugeCodeStaysPlainAndDrawsWhatShows() {
        CodeHighlighter& h = direct;
        QString code = QStringLiteral("let a = 1\n").repeated(CodeBlockView::chunkedLines);
        QVERIFY(code.size() <= CodeHighlighter::highlightLimit);
        QCOMPARE(h.highlight(code, QStringLiteral("swift"), light().codeTheme).language,
                 QStringLiteral("swift"));
        QVERIFY(CodeBlockView::drawsInChunks(code));
        while (code.size() <= 4 * CodeHighlighter::highlightLimit)
            code += numberedLines(1000);
        const auto plain = h.highlight(code, QStringLiteral("swift"), light().codeTheme);
        QVERIFY(plain.language.isEmpty() && plain.styled.formats.isEmpty());
        QCOMPARE(plain.styled.text, code);

        Page page(code, QString(), {500, 400});
        CodeBlockView* card = page.card;
        QVERIFY(!card->isWaitingForColours());
        CodeLinesView* lines = card->linesView();
        QVERIFY(lines && !card->codeView());
        QVERIFY(lines->chunkCount() > 2 * CodeLinesView::keptChunks);
        QTRY_VERIFY(lines->laidOutChunkCount() > 0);
        QVERIFY(lines->laidOutChunkCount() <= 2);
        QVERIFY(card->height() >= lines->chunkCount() * lines->chunkRect(0).height() / 2);

        for (int value = 0; value < page.bar()->maximum(); value += 4000) {
            page.bar()->setValue(value);
            QCoreApplication::processEvents();
        }
        page.bar()->setValue(page.bar()->maximum());
        QCoreApplication::processEvents();
        QVERIFY(lines->laidOutChunkCount() <= CodeLinesView::keptChunks + 3);

        // A drag from one chunk into the next selects the code as it
        // stands, the line feed between them included; Ctrl+A all of it.
        const int last = lines->chunkCount() - 2;
        page.area.ensureVisible(0, lines->mapTo(page.content, lines->chunkRect(last).topLeft()).y(),
                                0, 200);
        QCoreApplication::processEvents();
        const QPoint start = lines->chunkRect(last - 1).bottomLeft() + QPoint(1, -4);
        const QPoint end = lines->chunkRect(last).topLeft() + QPoint(60, 4);
        QTest::mousePress(lines, Qt::LeftButton, {}, start);
        QTest::mouseMove(lines, end);
        QTest::mouseRelease(lines, Qt::LeftButton, {}, end);
        const QString selected = lines->selectedText();
        const QString lastLine = lines->chunkText(last - 1).section(u'\n', -1);
        QVERIFY(selected.startsWith(lastLine + u'\n'));
        QVERIFY(lines->chunkText(last).startsWith(selected.mid(lastLine.size() + 1)));
        QVERIFY(selected.size() > lastLine.size() + 4);
        QVERIFY(code.contains(selected));
        QCOMPARE(PreviewSelectionReader::selectedTextIn(&page.area), selected);
        QTest::keyClick(lines, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(lines, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), code);

        // Out of sight, the view keeps no layout.
        page.area.hide();
        QCOMPARE(lines->laidOutChunkCount(), 0);
    }

    // Copy puts the code on the clipboard and shows "Copied" for a second.
    // The word and the symbol crossfade both ways; the button keeps the
    // word's width until the word has gone, so it is never cut off.
    void copyShowsCopiedAndFadesInAndOutWhole() {
        const QString code = QStringLiteral("print('hi')\n");
        CodeBlockView card(code, QStringLiteral("python"), light());
        QVERIFY(TestSupport::showExposed(&card, {400, card.sizeHint().height()}));
        CodeCopyButton* button = card.copyButton();
        const int symbolWidth = button->width();

        AnimationClock clock;
        QApplication::clipboard()->clear();
        button->click();
        QCOMPARE(QApplication::clipboard()->text(), code);
        QVERIFY(button->isShowingCopied());
        QList<double> shown;
        while (button->shownCopied() < 1 && shown.size() < 200) {
            shown.append(button->shownCopied());
            clock.step(10);
        }
        QVERIFY(std::is_sorted(shown.begin(), shown.end()));
        QVERIFY(std::any_of(shown.begin(), shown.end(), [](double s) { return s > 0 && s < 1; }));
        const int wordWidth = button->width();
        QVERIFY(wordWidth > symbolWidth);

        // The second of "Copied" is the button's own timer.
        QTRY_VERIFY_WITH_TIMEOUT(!button->isShowingCopied(), 10000);
        bool cut = false;
        for (int frame = 0; button->shownCopied() > 0 && frame < 200; ++frame) {
            cut = cut || button->width() < wordWidth;
            clock.step(10);
        }
        QCOMPARE(button->shownCopied(), 0.0);
        QVERIFY(!cut);
        QVERIFY(clock.finish());
        QCOMPARE(button->width(), symbolWidth);
    }

    // With QUON_SCREENSHOTS=DIR: the copy button's change in frames.
    void screenshots() {
        const QString folder = TestSupport::screenshotFolder();
        if (folder.isEmpty())
            QSKIP("QUON_SCREENSHOTS not set");
        CodeBlockView card(QStringLiteral("print('hi')\n"), QStringLiteral("python"), light());
        QVERIFY(TestSupport::showExposed(&card, {300, card.sizeHint().height()}));
        AnimationClock clock; // the way back waits for the second sheet
        QVERIFY(TestSupport::saveFrames(
            &card, folder, QStringLiteral("copy-to-copied.png"),
            [&] { card.copyButton()->click(); }, 6, 30));
        QTRY_VERIFY_WITH_TIMEOUT(!card.copyButton()->isShowingCopied(), 10000);
        QVERIFY(TestSupport::saveFrames(
            &card, folder, QStringLiteral("copied-to-copy.png"), [] {}, 6, 30));
    }
};

QTEST_MAIN(TestCodeBlockView)
#include "tst_codeblockview.moc"
