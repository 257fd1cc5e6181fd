#include "core/MarkdownParser.h"
#include "core/Preferences.h"
#include "preview/CodeBlockView.h"
#include "preview/HorizontalPassThroughScrollView.h"
#include "preview/InlineMarkupView.h"
#include "preview/MarkdownBlockView.h"
#include "preview/MarkdownTableView.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewContextMenuBuilder.h"
#include "preview/PreviewScrollHost.h"
#include "preview/PreviewSelectionReader.h"
#include "preview/PreviewView.h"
#include "preview/ScrollSyncEngine.h"
#include "preview/SelectableTextView.h"
#include "support/BackgroundWork.h"
#include "support/MarkdownDump.h"
#include "support/NestedMarkdown.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QVBoxLayout>
#include <memory>

namespace {

QString paragraphs(int count, const QString& word = QStringLiteral("para")) {
    QStringList blocks;
    for (int i = 0; i < count; ++i)
        blocks << QStringLiteral("%1 %2 with a few words").arg(word).arg(i);
    return blocks.join(QStringLiteral("\n\n")) + u'\n';
}

struct Pane {
    std::unique_ptr<PreviewView> view = std::make_unique<PreviewView>();
    explicit Pane(const QString& text, QSize size = {600, 400}) {
        view->setMarkdown(text);
        if (!TestSupport::showExposed(view.get(), size))
            qFatal("preview not shown");
        // A large text is parsed on the parsing thread.
        if (!QTest::qWaitFor([&] { return !view->isUpdating(); }, 30000))
            qFatal("preview not rendered");
        QCoreApplication::processEvents();
    }
    PreviewContentView* content() const { return view->content(); }
    QScrollBar* bar() const { return view->scrollArea()->verticalScrollBar(); }
    double ratio() const { return ScrollSyncEngine::scrollRatio(bar()); }
    QList<MarkdownBlockView*> views() const {
        QList<MarkdownBlockView*> out;
        for (int i = 0; i < content()->rowCount(); ++i)
            out << content()->rowView(i);
        return out;
    }
    // Sets the text and waits for its debounced parse and its rows.
    void render(const QString& text) const {
        view->setMarkdown(text);
        QTRY_VERIFY(!view->isUpdating());
        QCoreApplication::processEvents();
    }
    // Scrolls a screen at a time until the end, views released as it goes.
    void scrollToEnd() const {
        while (bar()->value() < bar()->maximum()) {
            bar()->setValue(bar()->value() + bar()->pageStep());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    // Every text of the rows, each row brought into view to be made.
    QString allText() const {
        QString text;
        for (int row = 0; row < content()->rowCount(); ++row) {
            bar()->setValue(content()->rowRect(row).top());
            if (MarkdownBlockView* view = content()->rowView(row))
                for (SelectableTextView* part : view->findChildren<SelectableTextView*>())
                    text += part->document()->toPlainText() + u'\n';
        }
        return text;
    }
    QTextDocument* rowDocument(int row) const {
        auto* inline_ = qobject_cast<InlineMarkupView*>(content()->rowView(row)->content());
        return inline_ && inline_->textView() ? inline_->textView()->document() : nullptr;
    }
    QString rowText(int row) const {
        return rowDocument(row) ? rowDocument(row)->toPlainText() : QString();
    }
    // The texts a row's view shows, whatever kind of block it is; null without a view.
    QString rowTexts(int row) const {
        MarkdownBlockView* view = content()->rowView(row);
        if (!view)
            return {};
        QString text = QStringLiteral("");
        for (SelectableTextView* part : view->findChildren<SelectableTextView*>())
            text += part->document()->toPlainText() + u'\n';
        return text;
    }
    // Rows near `row` (scrolled to the top of the view) as they read.
    QStringList rowsNear(int row) const {
        bar()->setValue(content()->rowRect(row).top());
        QCoreApplication::processEvents();
        QStringList texts;
        for (int i = row; i < qMin(row + 8, content()->rowCount()); ++i)
            texts << rowTexts(i);
        return texts;
    }
};

// One paragraph of `groups` pictures, each among runs of text: four
// children a group.
QString picturesLine(int groups, const QString& lead = QString()) {
    QString line = lead;
    for (int i = 0; i < groups; ++i)
        line += QStringLiteral("w%1 *e%1* ![p%1](missing-%1.png) ").arg(i);
    return line + QStringLiteral("\n\nend\n");
}

// Where each child of a heading or paragraph stands, from the top of the
// first: one row, or the rows of its pieces.
QList<QRect> entryPlaces(const QList<std::pair<MarkdownBlockView*, int>>& rows) {
    QList<QRect> places;
    for (const auto& [view, top] : rows) {
        auto* inline_ = qobject_cast<InlineMarkupView*>(view->content());
        for (int i = 0; i < inline_->layout()->count(); ++i) {
            const QRect entry = inline_->layout()->itemAt(i)->widget()->geometry();
            places << entry.translated(0, top + inline_->y());
        }
    }
    const int first = places.front().top();
    for (QRect& place : places)
        place.translate(0, -first);
    return places;
}

// Paragraphs, every `every`th with other words.
QString editedParagraphs(int count, int every) {
    QStringList blocks;
    for (int i = 0; i < count; ++i)
        blocks
            << QStringLiteral("%1 %2 with a few words").arg(i % every ? "para" : "edited").arg(i);
    return blocks.join(QStringLiteral("\n\n")) + u'\n';
}

} // namespace

class TestPreviewView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }
    void cleanup() { QTRY_VERIFY_WITH_TIMEOUT(TestSupport::backgroundWorkIsOver(), 120'000); }

    void aNewPaneShowsTheWholeParseAtOnce() {
        const QString text = QStringLiteral("# Title\n\npara\n\n- a\n- b\n\n> quote\n\n---\n");
        Pane pane(text);
        QCOMPARE(pane.view->parseCache().document()->text, text);
        QCOMPARE(pane.content()->rowCount(), 5);
        for (MarkdownBlockView* row : pane.views())
            QVERIFY(row && row->isVisible());

        Pane empty{QString()};
        QCOMPARE(empty.content()->contentHeight(), 16);
        QCOMPARE(empty.view->scrollHost()->reportedHeight(), 16);
    }

    // A new font size restyles without parsing. A hidden pane parses and
    // restyles nothing; shown again it catches up once.
    void aHiddenPaneCatchesUpOnceShown() {
        Pane pane(QStringLiteral("first\n"));
        QSignalSpy parses(&pane.view->parseCache(), &MarkdownParseCache::changed);
        Preferences::shared().setNumber(PreferenceKeys::previewFontSize, 18);
        QCOMPARE(parses.count(), 0);
        QCOMPARE(pane.rowDocument(0)->defaultFont().pointSizeF() * 96 / 72, 18.0);

        pane.view->hide();
        const int built = pane.content()->buildCount();
        pane.view->setMarkdown(QStringLiteral("two\n"));
        Preferences::shared().setNumber(PreferenceKeys::previewFontSize, 20);
        pane.view->setDocumentDirectory(QStringLiteral("/tmp"));
        QVERIFY(!pane.view->parseCache().isPending());
        QCOMPARE(pane.content()->buildCount(), built);
        QCOMPARE(pane.content()->rendererContext().previewFontSize, 18.0);
        pane.view->show();
        QCOMPARE(pane.rowText(0), QStringLiteral("two"));
        QCOMPARE(parses.count(), 1);
        QCOMPARE(pane.content()->rendererContext().previewFontSize, 20.0);
        QCOMPARE(pane.content()->rendererContext().documentDirectory, QStringLiteral("/tmp"));
    }

    // Fed by a source, the pane reads the text once per pause in typing, and
    // not at all while hidden.
    void aSourceIsReadOncePerPause() {
        Pane pane(QStringLiteral("first\n"));
        int reads = 0;
        QString text = QStringLiteral("first\n");
        pane.view->setMarkdownSource([&] {
            ++reads;
            return text;
        });
        for (int i = 0; i < 50; ++i) {
            text = QStringLiteral("edit %1\n").arg(i);
            pane.view->markdownSourceChanged();
        }
        QCOMPARE(reads, 0);
        QTRY_COMPARE(pane.rowText(0), QStringLiteral("edit 49"));
        QCOMPARE(reads, 1);

        pane.view->hide();
        text = QStringLiteral("hidden\n");
        pane.view->markdownSourceChanged();
        QVERIFY(TestSupport::runPastTimers(MarkdownParseCache::debounceMs));
        QCOMPARE(reads, 1);
        pane.view->show();
        QCOMPARE(reads, 2);
        QCOMPARE(pane.rowText(0), QStringLiteral("hidden"));
    }

    // However small the text, an edit is parsed on the parsing thread: the
    // tree never comes in the turn that read the text, and it is the tree
    // of a parse here. Only a pane shown anew parses a small text at once.
    void editsAreParsedOnTheParsingThread() {
        QString text = QStringLiteral("# Heading *x*\n\n| a |\n|---|\n| `b` |\n\n- [ ] c\n");
        bool inRead = false;
        int parsedInRead = 0;
        Pane pane(QStringLiteral("first\n"));
        // Takes along what is still posted when the test ends.
        QObject context;
        pane.view->setMarkdownSource([&] {
            inRead = true;
            // Posted before the parse can post its tree.
            QMetaObject::invokeMethod(
                &context, [&] { inRead = false; }, Qt::QueuedConnection);
            return text;
        });
        connect(&pane.view->parseCache(), &MarkdownParseCache::changed, &context,
                [&] { parsedInRead += inRead; });
        QTRY_VERIFY(!pane.view->isUpdating());
        QCOMPARE(parsedInRead, 0);
        QCOMPARE(MarkdownDump::dump(pane.content()->document()->document, true),
                 MarkdownDump::dump(MarkdownParser::parse(text)->document, true));

        pane.view->hide();
        text = QStringLiteral("shown anew\n");
        pane.view->markdownSourceChanged();
        pane.view->show();
        QCOMPARE(parsedInRead, 1);
        QCOMPARE(pane.rowText(0), text.trimmed());
    }

    void unchangedBlocksKeepTheirViews() {
        Pane pane(paragraphs(6));
        const QList<MarkdownBlockView*> before = pane.views();
        const int built = pane.content()->buildCount();

        // A block inserted at the top moves every other block down a position.
        QString text = QStringLiteral("# New\n\n") + paragraphs(6);
        pane.render(text);
        QCOMPARE(pane.views().mid(1), before);
        QCOMPARE(pane.content()->buildCount(), built + 1);

        // Same lines, other tree: an edited reference definition rebuilds the link.
        pane.render(QStringLiteral("see [x]\n\n[x]: https://a.example\n"));
        MarkdownBlockView* link = pane.content()->rowView(0);
        pane.render(QStringLiteral("see [x]\n\n[x]: https://b.example\n"));
        QVERIFY(pane.content()->rowView(0) != link);
    }

    // An edit keeps the rows above and below it without comparing them:
    // those below move down with the line it added, their boxes edit their
    // own lines, and a later parse from scratch still recognises them.
    void anEditKeepsTheRowsAroundIt() {
        const QString tasks = QStringLiteral("- [ ] far task\n- [ ] last task\n");
        QString text = paragraphs(80) + tasks;
        Pane pane(text, {500, 300});
        PreviewContentView* content = pane.content();
        pane.bar()->setValue(content->rowRect(40).top());
        QCoreApplication::processEvents();
        const QList<MarkdownBlockView*> before = pane.views();
        const int built = content->buildCount();

        // The edited row alone is rebuilt, its old view let go.
        const QPointer<MarkdownBlockView> edited = before[40];
        text.replace(QStringLiteral("para 40 with"), QStringLiteral("para 40\nsplit with"));
        pane.render(text);
        QCOMPARE(content->buildCount(), built + 1);
        QTRY_VERIFY(!edited);
        QCOMPARE(pane.rowText(40), QStringLiteral("para 40 split with a few words"));
        for (int row : {30, 39, 41, 50})
            QVERIFY(before[row] && pane.views()[row] == before[row]);

        // The list far below is made only now, from the block the edit moved.
        QSignalSpy changes(pane.view.get(), &PreviewView::sourceChanged);
        pane.scrollToEnd();
        QCoreApplication::processEvents();
        content->rowView(80)->findChildren<TaskCheckboxButton*>()[1]->click();
        QCOMPARE(changes.count(), 1);
        text.replace(QStringLiteral("- [ ] last"), QStringLiteral("- [x] last"));
        QCOMPARE(changes[0][0].toString(), text);

        // A new reference definition has the text parsed whole, and the
        // rows it changes nothing in stay.
        pane.render(text);
        const QList<MarkdownBlockView*> atEnd = pane.views();
        const int builtAtEnd = content->buildCount();
        text.prepend(QStringLiteral("[ref]: /x\n\n"));
        pane.render(text);
        QCOMPARE(content->buildCount(), builtAtEnd);
        QCOMPARE(pane.views()[79], atEnd[79]);
        Pane fresh(text, {500, 300});
        QCOMPARE(pane.allText(), fresh.allText());
    }

    // With link reference definitions in the text, an edit rebuilds the row
    // it touched and keeps the rest without comparing them, as in any text;
    // an edited definition rebuilds only the rows whose links it changed.
    void definitionsRebuildOnlyTheRowsThatUseThem() {
        QStringList blocks;
        for (int i = 0; i < 12; ++i)
            blocks << QStringLiteral("para %1 links to [%2]").arg(i).arg(i % 3 ? "b" : "a");
        QString text =
            blocks.join(QStringLiteral("\n\n")) + QStringLiteral("\n\n[a]: /one\n[b]: /two\n");
        Pane pane(text, {500, 2000});
        PreviewContentView* content = pane.content();
        const QList<MarkdownBlockView*> before = pane.views();
        int built = content->buildCount();

        text.replace(QStringLiteral("para 4 "), QStringLiteral("para 4 edited "));
        pane.render(text);
        QCOMPARE(content->buildCount(), built + 1);
        QVERIFY(content->document()->reuse.keptAbove > 0 &&
                content->document()->reuse.keptBelow > 0);
        for (int row = 0; row < 12; ++row)
            QVERIFY((pane.views()[row] == before[row]) == (row != 4));

        const QList<MarkdownBlockView*> edited = pane.views();
        built = content->buildCount();
        text.replace(QStringLiteral("[a]: /one"), QStringLiteral("[a]: /uno"));
        pane.render(text);
        QCOMPARE(content->buildCount(), built + 4);
        for (int row = 0; row < 12; ++row)
            QVERIFY((pane.views()[row] == edited[row]) == (row % 3 != 0));
        QCOMPARE(content->document()->document.child(3).child(1).destination,
                 QStringLiteral("/uno"));
    }

    void farRowsAreMadeOnlyWhenNeeded() {
        Pane pane(paragraphs(2000), {500, 300});
        PreviewContentView* content = pane.content();
        QVERIFY(content->builtRowCount() < 100);
        QVERIFY(!content->rowView(1999));
        QVERIFY(content->contentHeight() > 2000 * 20);

        pane.bar()->setValue(pane.bar()->maximum());
        QCoreApplication::processEvents();
        QVERIFY(content->rowView(1999) && content->rowView(1999)->isVisible());
        QVERIFY(content->builtRowCount() < 200);
        // The last row sits at the bottom of the view, measured.
        QVERIFY(content->isRowMeasured(1999));
        QCOMPARE(content->rowRect(1999).bottom() + 1 + 8, content->contentHeight());
        QCOMPARE(pane.bar()->value(), pane.bar()->maximum());
        QVERIFY(!content->rowView(0)->isVisible());
    }

    void rowsOutOfReachWaitThenGo() {
        const QString code =
            QStringLiteral("```\n") + QString(300, u'x') + QStringLiteral("\n```\n\n");
        Pane pane(code + paragraphs(3000), {500, 300});
        PreviewContentView* content = pane.content();
        const QPointer<MarkdownBlockView> first = content->rowView(0);
        const int firstHeight = content->rowRect(0).height();
        auto* card = qobject_cast<CodeBlockView*>(first->content());
        card->scrollView()->horizontalScrollBar()->setValue(40);

        // Out of reach and back: the same view, as the reader left it.
        pane.bar()->setValue(1500);
        QVERIFY(!first->isVisible());
        pane.bar()->setValue(0);
        QCOMPARE(content->rowView(0), first.data());
        QVERIFY(first->isVisible());
        QCOMPARE(card->scrollView()->horizontalScrollBar()->value(), 40);

        // Far away the views go; what is made stays bounded however far.
        pane.scrollToEnd();
        QVERIFY(!first);
        QVERIFY(content->builtRowCount() <= 2 * PreviewContentView::keptViews);
        QVERIFY(content->rowView(3000) && content->rowView(3000)->isVisible());

        // Back at the top the row is made again at the height it had.
        pane.bar()->setValue(0);
        QVERIFY(content->rowView(0));
        QCOMPARE(content->rowRect(0).height(), firstHeight);
        QCOMPARE(content->rowView(0)->height(), firstHeight);
    }

    void longTablesComeInPieces() {
        QString table = QStringLiteral("| a | b |\n|---|---|\n");
        for (int i = 0; i < 450; ++i)
            table += QStringLiteral("| r%1 | v%1 |\n").arg(i);
        const QString text = QStringLiteral("intro\n\n") + table + QStringLiteral("\nend\n");
        Pane pane(text, {600, 400});
        PreviewContentView* content = pane.content();
        QCOMPARE(content->rowCount(), 1 + 5 + 1);
        QVERIFY(content->rowSlice(1).header && !content->rowSlice(1).openTop);
        QVERIFY(content->rowSlice(5).openTop && !content->rowSlice(5).openBottom);
        QCOMPARE(content->rowSlice(5).bodyRowCount, 50);
        // Pieces stand together; the rest keeps its spacing.
        QCOMPARE(content->rowRect(2).top(), content->rowRect(1).bottom() + 1);
        QVERIFY(!content->rowView(5));
        auto* piece = qobject_cast<MarkdownTableView*>(content->rowView(1)->content());
        QCOMPARE(piece->rowCount(), 101);
        QVERIFY(piece->findChildren<QWidget*>().isEmpty());

        // An edit in one piece rebuilds that piece only.
        const int built = content->buildCount();
        MarkdownBlockView* second = content->rowView(2);
        pane.render(QString(text).replace(QStringLiteral("| r5 |"), QStringLiteral("| r5x |")));
        QCOMPARE(content->buildCount(), built + 1);
        QCOMPARE(content->rowView(2), second);

        // A row added in the first piece moves every row below it down a
        // piece's edge: the pieces after it show their new rows, and removed
        // again, their old ones.
        const auto firstCell = [&](int row, int index) {
            pane.bar()->setValue(content->rowRect(row).top());
            QCoreApplication::processEvents();
            MarkdownBlockView* view = content->rowView(row);
            auto* shown = view ? qobject_cast<MarkdownTableView*>(view->content()) : nullptr;
            return shown ? shown->cellText(index, 0).content().text : QString();
        };
        QString added = text;
        added.insert(added.indexOf(QStringLiteral("| r5 |")), QStringLiteral("| new | row |\n"));
        pane.render(added);
        QCOMPARE(content->rowCount(), 1 + 5 + 1);
        QCOMPARE(content->document()->reuse.table, size_t(1));
        QCOMPARE(content->rowSlice(5).bodyRowCount, 51);
        QCOMPARE(firstCell(1, 6), QStringLiteral("new"));
        QCOMPARE(firstCell(2, 0), QStringLiteral("r99"));
        QCOMPARE(firstCell(5, 0), QStringLiteral("r399"));
        pane.bar()->setValue(0);
        pane.render(text);
        QCOMPARE(content->rowSlice(5).bodyRowCount, 50);
        QCOMPARE(firstCell(2, 0), QStringLiteral("r100"));
        QCOMPARE(firstCell(1, 6), QStringLiteral("r5"));
        pane.bar()->setValue(0);
        QCoreApplication::processEvents();

        // At the end, only the last pieces have views.
        pane.bar()->setValue(pane.bar()->maximum());
        QVERIFY(content->rowView(5) && content->rowView(5)->isVisible());
        QVERIFY(!content->rowView(1) || !content->rowView(1)->isVisible());
    }

    // A paragraph of many pictures comes in pieces, each a row of its own,
    // that stand as the whole paragraph would. An edit rebuilds the piece it
    // touched; one that moves children between pieces ends with the rows of
    // a fresh pane.
    void aParagraphOfManyPicturesComesInPieces() {
        const QString text = picturesLine(20);
        Pane pane(text, {600, 8000});
        PreviewContentView* content = pane.content();
        QCOMPARE(content->rowCount(), 3 + 1); // the pieces, and "end"
        MarkdownRendererContext context = content->rendererContext();
        context.markdown = text;
        MarkdownBlockView whole(content->document()->document.child(0), context);
        QVERIFY(TestSupport::showExposed(&whole, content->rowRect(0).size()));
        whole.resize(content->rowRect(0).width(),
                     whole.heightForWidth(content->rowRect(0).width()));
        QCoreApplication::processEvents();
        QList<std::pair<MarkdownBlockView*, int>> pieces;
        for (int row = 0; row < 3; ++row)
            pieces.append({content->rowView(row), content->rowRect(row).top()});
        QCOMPARE(entryPlaces(pieces), entryPlaces({{&whole, 0}}));
        QCOMPARE(content->rowRect(2).bottom() + 1 - content->rowRect(0).top(), whole.height());

        const QList<MarkdownBlockView*> before = pane.views();
        const int built = content->buildCount();
        pane.render(QString(text).replace(QStringLiteral("w9 "), QStringLiteral("w9 typed ")));
        QCOMPARE(content->buildCount(), built + 1);
        QVERIFY(pane.views()[0] == before[0] && pane.views()[1] != before[1] &&
                pane.views()[2] == before[2]);

        const QString moved = picturesLine(20, QStringLiteral("*lead* "));
        pane.render(moved);
        Pane fresh(moved, {600, 8000});
        QCOMPARE(content->rowCount(), fresh.content()->rowCount());
        for (int row = 0; row < content->rowCount(); ++row)
            QVERIFY(content->rowInlines(row) == fresh.content()->rowInlines(row));
        QCOMPARE(pane.allText(), fresh.allText());
    }

    // A slice makes a view or lays one out: a long paragraph is made in one
    // turn and laid out in another. A parse handed over while the pieces of
    // another are made supersedes it and ends as a fresh pane shows it.
    void aSliceMakesOrLaysOutAView() {
        Pane pane(QStringLiteral("short\n"), {600, 3000});
        PreviewContentView* content = pane.content();
        content->setSliceMs(0);
        const QString paragraph =
            QStringLiteral("some *words* `of` a long paragraph ").repeated(200);
        content->showDocument(MarkdownParser::parse(paragraph), nullptr);
        QVERIFY(content->rowView(0) && !content->isRowMeasured(0) &&
                !content->rowView(0)->isVisible());
        QTRY_VERIFY(!content->isApplying());
        QVERIFY(content->isRowMeasured(0) && content->rowView(0)->isVisible());

        const QString last = picturesLine(40, QStringLiteral("*last* "));
        content->showDocument(MarkdownParser::parse(picturesLine(40)), nullptr);
        QCoreApplication::processEvents();
        QVERIFY(content->isApplying());
        content->showDocument(MarkdownParser::parse(last), nullptr);
        QTRY_VERIFY(!content->isApplying());
        QCOMPARE(content->document()->text, last);
        content->setSliceMs(PreviewContentView::sliceMs);
        Pane fresh(last, {600, 3000});
        QCOMPARE(pane.rowsNear(0), fresh.rowsNear(0));
    }

    void deepNestingKeepsEveryWord_data() { TestSupport::addNestedMarkdownRows(); }
    // Nesting deeper than the preview draws is laid flat; deeper than the
    // tree keeps, it is shown as source text.
    void deepNestingKeepsEveryWord() {
        QFETCH(QString, marker);
        QFETCH(int, depth);
        const TestSupport::NestedMarkdown nested = TestSupport::nestedMarkdown(marker, depth);
        Pane pane(nested.text, {700, 500});
        const QString text = pane.allText();
        for (const QString& word : nested.words)
            QVERIFY2(text.contains(word), qPrintable(word));
        int deepest = 0;
        for (QWidget* widget : pane.content()->findChildren<QWidget*>()) {
            int level = 0;
            for (QWidget* up = widget; up != pane.content(); up = up->parentWidget())
                ++level;
            deepest = qMax(deepest, level);
        }
        QVERIFY2(deepest < 12 * MarkdownBlockView::maxNesting,
                 qPrintable(QString::number(deepest)));
    }

    void aWidthChangeMeasuresTheVisibleRowsAgain() {
        Pane pane(paragraphs(50, QStringLiteral("a long paragraph that has to wrap when narrow")),
                  {900, 300});
        const int wide = pane.content()->rowRect(0).height();
        pane.view->resize(300, 300);
        QCoreApplication::processEvents();
        QVERIFY(pane.content()->rowRect(0).height() > wide);
        QCOMPARE(pane.content()->rowView(0)->height(), pane.content()->rowRect(0).height());
        pane.view->resize(900, 300);
        QCoreApplication::processEvents();
        QCOMPARE(pane.content()->rowRect(0).height(), wide);
        pane.view->resize(1, 300);
        QCoreApplication::processEvents();
        QVERIFY(pane.content()->rowRect(0).width() >= 1);
    }

    // A row laid out once keeps its height at the last four widths, out of
    // reach; a fifth width forgets the oldest.
    void heightsStayKnownForFourWidths() {
        Pane pane(paragraphs(120, QStringLiteral("a long paragraph that has to wrap when narrow")),
                  {900, 300});
        const int last = pane.content()->rowCount() - 1;
        const auto measureLastAt = [&](int width) {
            pane.view->resize(width, 300);
            QCoreApplication::processEvents();
            pane.scrollToEnd();
            QVERIFY(pane.content()->isRowMeasured(last));
            pane.bar()->setValue(0);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        };
        const auto knownAt = [&](int width) {
            pane.view->resize(width, 300);
            QCoreApplication::processEvents();
            return pane.content()->isRowMeasured(last);
        };
        for (int width : {900, 300, 400, 500})
            measureLastAt(width);
        for (int width : {300, 900, 500, 400})
            QVERIFY2(knownAt(width), qPrintable(QString::number(width)));
        measureLastAt(600);
        QVERIFY(!knownAt(900));
        for (int width : {300, 400, 500, 600})
            QVERIFY2(knownAt(width), qPrintable(QString::number(width)));
    }

    void aTaskBoxEditsTheLineItStandsOnNow() {
        const QString list = QStringLiteral("- [ ] a\n- [ ] b\n");
        Pane pane(QStringLiteral("intro\n\n") + list);
        QSignalSpy changes(pane.view.get(), &PreviewView::sourceChanged);
        MarkdownBlockView* row = pane.content()->rowView(1);

        // Lines added above: the list keeps its views, and its boxes their lines.
        pane.render(QStringLiteral("intro\n\nmore\n\nand more\n\n") + list);
        QCOMPARE(pane.content()->rowView(3), row);
        auto boxes = row->findChildren<TaskCheckboxButton*>();
        boxes[1]->click();
        const QString toggled = QStringLiteral("intro\n\nmore\n\nand more\n\n- [ ] a\n- [x] b\n");
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes[0][0].toString(), toggled);
        QCOMPARE(pane.view->markdown(), toggled);

        // A second click before the new text is rendered is refused as stale
        // and the pane catches up at once.
        boxes[0]->click();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(pane.view->parseCache().document()->text, toggled);
        QVERIFY(pane.content()->rowView(3)->findChildren<TaskCheckboxButton*>()[1]->isDone());
    }

    // A parse handed over to be shown comes in slices: the rows of the parse
    // before stay until the new rows are made, the unchanged rows keep their
    // views, and the end is what a parse shown at once gives. A parse given
    // meanwhile waits its turn; one shown at once drops both.
    void aParseComesInSlices() {
        Pane pane(paragraphs(300), {500, 300});
        PreviewContentView* content = pane.content();
        content->setSliceMs(0);
        const std::shared_ptr<const ParsedMarkdown> old = content->document();
        const QList<MarkdownBlockView*> before = pane.views();
        const QString text = editedParagraphs(300, 2);
        const std::shared_ptr<const ParsedMarkdown> parsed = MarkdownParser::parse(text);
        content->showDocument(parsed, nullptr);
        QVERIFY(content->isApplying());
        // Until the new rows are made the rows are those of the parse before.
        int turns = 0;
        for (; content->document() == old && turns < 100000; ++turns) {
            QCOMPARE(pane.views(), before);
            QCoreApplication::processEvents();
        }
        QCOMPARE(content->document(), parsed);
        QVERIFY2(turns > 2, qPrintable(QString::number(turns)));
        QTRY_VERIFY(!content->isApplying());
        for (int row = 1; row < 10; row += 2)
            QCOMPARE(pane.views()[row], before[row]);
        QVERIFY(pane.views()[0] != before[0]);
        Pane fresh(text, {500, 300});
        QCOMPARE(pane.rowsNear(0), fresh.rowsNear(0));

        const auto first = MarkdownParser::parse(paragraphs(300, QStringLiteral("first")));
        const auto second = MarkdownParser::parse(paragraphs(200, QStringLiteral("second")));
        content->showDocument(first, nullptr);
        content->showDocument(second, nullptr);
        QVERIFY(QTest::qWaitFor([&] { return content->document() == first; }));
        QTRY_VERIFY(!content->isApplying());
        QCOMPARE(content->document(), second);
        QCOMPARE(content->rowCount(), 200);
        content->showDocument(first, nullptr);
        content->showDocument(parsed, nullptr);
        content->setDocument(second);
        QVERIFY(!content->isApplying());
        QCoreApplication::processEvents();
        QCOMPARE(content->document(), second);
    }

    // Edits of every kind in a burst on a text parsed on the parsing thread,
    // some asked for at once so that they supersede the parse before: the
    // pane ends showing the tree and the rows of a full parse of the last text.
    void aBurstOfEditsEndsWithTheRowsOfAFullParse() {
        QString text = paragraphs(6000);
        QVERIFY(text.size() > MarkdownParseCache::parsedAtOnce);
        Pane pane(text, {500, 300});
        pane.content()->setSliceMs(1);
        const QStringList inserts = {QStringLiteral("# Heading\n\n"), QStringLiteral("```\n"),
                                     QStringLiteral("[para]: /defined\n\n"),
                                     QStringLiteral("- item\n"),
                                     QStringLiteral("| a | b |\n|---|---|\n| 1 | 2 |\n\n")};
        int superseded = 0;
        for (int i = 0; i < 40; ++i) {
            const qsizetype at = text.indexOf(QStringLiteral("para %1 ").arg((i * 877) % 6000));
            if (i % 3 == 2)
                text.remove(at, 12);
            else
                text.insert(at, inserts[i % inserts.size()]);
            pane.view->setMarkdown(text);
            if (i % 3 == 0) {
                superseded += pane.view->parseCache().isParsing();
                pane.view->updateNow();
            }
            if (i % 4 == 0)
                QCoreApplication::processEvents();
        }
        QVERIFY(superseded > 0);
        QTRY_VERIFY_WITH_TIMEOUT(!pane.view->isUpdating(), 30000);

        const std::shared_ptr<const ParsedMarkdown> shown = pane.content()->document();
        QCOMPARE(shown->text, text);
        // The rows worked out on the parsing thread are not kept once taken.
        QVERIFY(!pane.view->parseCache().followup().has_value());
        QCOMPARE(MarkdownDump::dump(shown->document, true),
                 MarkdownDump::dump(MarkdownParser::parse(text)->document, true));
        Pane fresh(text, {500, 300});
        QCOMPARE(pane.content()->rowCount(), fresh.content()->rowCount());
        for (int row = 0; row < pane.content()->rowCount(); ++row)
            QVERIFY(pane.content()->rowSlice(row) == fresh.content()->rowSlice(row));
        for (int row : {0, pane.content()->rowCount() / 2, pane.content()->rowCount() - 8})
            QCOMPARE(pane.rowsNear(row), fresh.rowsNear(row));
    }

    // A box in rows drawn from an older text than the one the pane holds
    // now never edits: the click is refused and the pane parses the text at
    // once. Shown again, the box edits the line it stands on.
    void aStaleTreeNeverTogglesTheWrongTask() {
        const QString body = paragraphs(6000);
        QString current = QStringLiteral("- [ ] first\n- [ ] second\n\n") + body;
        Pane pane(current, {500, 300});
        pane.view->setMarkdownSource([&] { return current; });
        QTRY_VERIFY(!pane.view->isUpdating());
        QSignalSpy changes(pane.view.get(), &PreviewView::sourceChanged);
        MarkdownBlockView* list = pane.content()->rowView(0);

        current.prepend(QStringLiteral("intro\n\nmore\n\n"));
        pane.view->markdownSourceChanged();
        list->findChildren<TaskCheckboxButton*>()[1]->click();
        QCOMPARE(changes.count(), 0);
        QVERIFY(pane.view->parseCache().isParsing());
        QTRY_VERIFY_WITH_TIMEOUT(!pane.view->isUpdating(), 30000);
        QCOMPARE(pane.content()->document()->text, current);

        pane.content()->rowView(2)->findChildren<TaskCheckboxButton*>()[1]->click();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes[0][0].toString(),
                 QStringLiteral("intro\n\nmore\n\n- [ ] first\n- [x] second\n\n") + body);
    }

    void scrollViewIsReportedOnceOnTheNextTurn() {
        auto view = std::make_unique<PreviewView>();
        QSignalSpy ready(view.get(), &PreviewView::scrollViewReady);
        QCOMPARE(ready.count(), 0);
        QTRY_COMPARE(ready.count(), 1);
        QCOMPARE(ready[0][0].value<QAbstractScrollArea*>(), view->scrollArea());
        QCoreApplication::processEvents();
        QCOMPARE(ready.count(), 1);
    }

    void tinyHeightReportsAreIgnored() {
        Pane pane(paragraphs(30));
        const int height = pane.view->scrollHost()->reportedHeight();
        const int range = pane.bar()->maximum();
        Q_EMIT pane.content()->contentHeightChanged(1);
        QCOMPARE(pane.view->scrollHost()->reportedHeight(), height);
        QCOMPARE(pane.bar()->maximum(), range);
    }

    void theTopStaysTheTop() {
        auto view = std::make_unique<PreviewView>();
        view->resize(500, 300);
        // Scrolled before any content arrived (the synchroniser may do this).
        view->scrollArea()->verticalScrollBar()->setValue(40);
        view->setMarkdown(paragraphs(60));
        QVERIFY(TestSupport::showExposed(view.get()));
        QCOMPARE(view->scrollArea()->verticalScrollBar()->value(), 0);

        Pane pane(paragraphs(60), {500, 300});
        pane.render(QStringLiteral("# Added above\n\n") + paragraphs(60));
        QCOMPARE(pane.bar()->value(), 0);
    }

    // Short enough that every row is made: no estimate plays a part.
    void aRatioOfHalfIsKeptAcrossARerenderWithoutMirroring() {
        Pane pane(paragraphs(12), {500, 300});
        QAbstractScrollArea editor;
        editor.verticalScrollBar()->setRange(0, 100);
        ScrollSyncEngine sync;
        pane.view->setScrollSync(&sync);
        sync.setEnabled(true);
        sync.linkEditor(&editor);
        sync.linkPreview(pane.view->scrollArea());
        TestSupport::processPendingEvents();
        editor.verticalScrollBar()->setValue(50);
        QVERIFY(std::abs(pane.ratio() - 0.5) < 0.01);
        QCoreApplication::processEvents();

        // Content added at the end: a longer range, the same ratio, and the
        // preview's own adjustment leaves the editor alone.
        const int before = pane.bar()->maximum();
        pane.render(paragraphs(12) + u'\n' + paragraphs(6, QStringLiteral("more")));
        QCOMPARE(pane.content()->builtRowCount(), 18);
        QVERIFY(pane.bar()->maximum() > before);
        QVERIFY(std::abs(pane.ratio() - 0.5) < 0.01);
        QCOMPARE(editor.verticalScrollBar()->value(), 50);
        // The reader's own scrolling still reaches the editor.
        pane.bar()->setValue(0);
        QCOMPARE(editor.verticalScrollBar()->value(), 0);
    }

    void itemsNeedASelectionWithText_data() {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("none") << QString() << false;
        QTest::newRow("blank") << QStringLiteral("  \n\t ") << false;
        QTest::newRow("word") << QStringLiteral("  word \n") << true;
    }
    void itemsNeedASelectionWithText() {
        QFETCH(QString, selection);
        QFETCH(bool, enabled);
        QString found;
        std::unique_ptr<QMenu> menu(PreviewContextMenuBuilder::makeMenu(
            selection, std::nullopt, {}, [&](const QString& t) { found = t; }));
        const QList<QAction*> actions = menu->actions(); // Copy, a separator, Find in Editor
        QCOMPARE(actions[0]->isEnabled(), enabled);
        QCOMPARE(actions[2]->isEnabled(), enabled);
        if (enabled) {
            actions[2]->trigger();
            QCOMPARE(found, selection); // untrimmed
        }
    }

    void theFocusedTextViewComesFirst() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* preview = new SelectableTextView(&window);
        StyledText styled;
        styled.append(QStringLiteral("preview text"), {});
        preview->setContent(styled, QFont(), Qt::black, 0, true);
        auto* editor = new QPlainTextEdit(QStringLiteral("first line\nsecond line"), &window);
        layout->addWidget(preview);
        layout->addWidget(editor);
        QVERIFY(TestSupport::showExposed(&window));
        preview->selectAll();

        // Nothing focused: the first selection met in the window.
        QCOMPARE(PreviewSelectionReader::selectedTextIn(&window), QStringLiteral("preview text"));

        // The focused editor's selection wins, its line breaks as LF.
        editor->setFocus();
        editor->selectAll();
        QCOMPARE(PreviewSelectionReader::selectedTextFrom(window.focusWidget()),
                 QStringLiteral("first line\nsecond line"));

        // A focused text view without a selection gives nothing, and no
        // other view is asked.
        QTextCursor cursor = editor->textCursor();
        cursor.clearSelection();
        editor->setTextCursor(cursor);
        QVERIFY(PreviewSelectionReader::selectedTextFrom(window.focusWidget()).isNull());

        // Hidden views are not read.
        preview->selectAll();
        QCOMPARE(PreviewSelectionReader::selectedTextIn(&window), QStringLiteral("preview text"));
        preview->hide();
        QVERIFY(PreviewSelectionReader::selectedTextIn(&window).isNull());
    }

    void copyPutsTheFoundSelectionOnTheClipboard() {
        Pane pane(QStringLiteral("alpha beta\n\ngamma\n"));
        PreviewView& view = *pane.view;
        view.content()->rowView(1)->findChild<SelectableTextView*>()->selectAll();
        QApplication::clipboard()->clear();

        PreviewScrollHost* host = view.scrollHost();
        const QString selection = host->menuSelection();
        QCOMPARE(selection, QStringLiteral("gamma"));
        QSignalSpy found(&view, &PreviewView::findInEditor);
        std::unique_ptr<QMenu> menu(host->makeContextMenu(selection));
        menu->actions()[0]->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("gamma"));
        menu->actions()[2]->trigger();
        QCOMPARE(found.count(), 1);
        QCOMPARE(found[0][0].toString(), QStringLiteral("gamma"));
    }
};

QTEST_MAIN(TestPreviewView)
#include "tst_previewview.moc"
