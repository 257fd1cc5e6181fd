#include "core/Preferences.h"
#include "preview/InlineMarkupView.h"
#include "preview/MarkdownBlockView.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewScrollHost.h"
#include "preview/PreviewView.h"
#include "preview/SelectableTextView.h"
#include "support/TestSupport.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
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
    Pane(const QString& text, QSize size = {600, 400}) {
        view->resize(size);
        view->setMarkdown(text);
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            qFatal("preview not shown");
        QCoreApplication::processEvents();
    }
    PreviewContentView* content() const { return view->content(); }
    QScrollBar* bar() const { return view->scrollArea()->verticalScrollBar(); }
    QList<MarkdownBlockView*> views() const {
        QList<MarkdownBlockView*> out;
        for (int i = 0; i < content()->rowCount(); ++i)
            out << content()->rowView(i);
        return out;
    }
    // Waits for the debounced parse of the text last set.
    void waitForParse() const {
        QTRY_VERIFY(!view->parseCache().isPending());
        QCoreApplication::processEvents();
    }
};

QString rowText(MarkdownBlockView* row) {
    auto* inline_ = qobject_cast<InlineMarkupView*>(row->content());
    return inline_ && inline_->textView() ? inline_->textView()->document()->toPlainText()
                                          : QString();
}

} // namespace

class TestPreviewView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    void aNewPaneShowsTheWholeParseAtOnce() {
        const QString text = QStringLiteral("# Title\n\npara\n\n- a\n- b\n\n> quote\n\n---\n");
        Pane pane(text);
        QCOMPARE(pane.view->parseCache().document()->text, text);
        QVERIFY(!pane.view->parseCache().isPending());
        QCOMPARE(pane.content()->rowCount(), 5);
        QCOMPARE(pane.content()->builtRowCount(), 5);
        for (MarkdownBlockView* row : pane.views())
            QVERIFY(row && row->isVisible());
        // Stacked 16 apart inside 24 at the sides and 8 above.
        QCOMPARE(pane.content()->rowRect(0).topLeft(), QPoint(24, 8));
        QCOMPARE(pane.content()->rowRect(1).top(), pane.content()->rowRect(0).bottom() + 1 + 16);
        QCOMPARE(pane.content()->rowRect(0).width(), pane.content()->width() - 48);
    }

    void emptyTextIsOnlyThePaddings() {
        Pane pane{QString()};
        QCOMPARE(pane.content()->rowCount(), 0);
        QCOMPARE(pane.content()->contentHeight(), 16);
        QCOMPARE(pane.view->scrollHost()->reportedHeight(), 16);
    }

    void aBurstOfEditsGivesOneParseOfTheLastText() {
        Pane pane(QStringLiteral("first\n"));
        QSignalSpy parses(&pane.view->parseCache(), &MarkdownParseCache::changed);
        for (int i = 0; i < 5; ++i)
            pane.view->setMarkdown(QStringLiteral("edit %1\n").arg(i));
        QVERIFY(pane.view->parseCache().isPending());
        QCOMPARE(MarkdownParseCache::debounceMs, 150);
        QCOMPARE(rowText(pane.content()->rowView(0)), QStringLiteral("first"));
        pane.waitForParse();
        QCOMPARE(parses.count(), 1);
        QCOMPARE(rowText(pane.content()->rowView(0)), QStringLiteral("edit 4"));
        // The same text again parses nothing.
        pane.view->setMarkdown(QStringLiteral("edit 4\n"));
        QVERIFY(!pane.view->parseCache().isPending());
    }

    void aPaneShownAgainParsesAtOnce() {
        Pane pane(QStringLiteral("one\n"));
        pane.view->hide();
        pane.view->setMarkdown(QStringLiteral("two\n"));
        QVERIFY(!pane.view->parseCache().isPending());
        pane.view->show();
        QCOMPARE(pane.view->parseCache().document()->text, QStringLiteral("two\n"));
        QCOMPARE(rowText(pane.content()->rowView(0)), QStringLiteral("two"));
    }

    void unchangedBlocksKeepTheirViews() {
        Pane pane(paragraphs(6));
        const QList<MarkdownBlockView*> before = pane.views();
        const int built = pane.content()->buildCount();

        // A block inserted at the top moves every other block down a position.
        pane.view->setMarkdown(QStringLiteral("# New\n\n") + paragraphs(6));
        pane.waitForParse();
        QList<MarkdownBlockView*> after = pane.views();
        QCOMPARE(after.size(), 7);
        QCOMPARE(after.mid(1), before);
        QCOMPARE(pane.content()->buildCount(), built + 1);

        // Editing one paragraph rebuilds that one only.
        QString text = QStringLiteral("# New\n\n") + paragraphs(6);
        text.replace(QStringLiteral("para 3"), QStringLiteral("para three"));
        const QPointer<MarkdownBlockView> edited = before[3];
        pane.view->setMarkdown(text);
        pane.waitForParse();
        after = pane.views();
        QCOMPARE(pane.content()->buildCount(), built + 2);
        QCOMPARE(rowText(after[4]), QStringLiteral("para three with a few words"));
        QCOMPARE(after[5], before[4]);
        // The view that went away is deleted once control returns.
        QTRY_VERIFY(!edited);
    }

    void aChangedReferenceDefinitionRebuildsTheLinkBlock() {
        const QString text = QStringLiteral("see [x]\n\n[x]: https://a.example\n");
        Pane pane(text);
        MarkdownBlockView* link = pane.content()->rowView(0);
        pane.view->setMarkdown(QStringLiteral("see [x]\n\n[x]: https://b.example\n"));
        pane.waitForParse();
        QVERIFY(pane.content()->rowView(0) != link);
    }

    void fontSizeRestylesWithoutParsing() {
        Pane pane(QStringLiteral("body text\n"));
        QSignalSpy parses(&pane.view->parseCache(), &MarkdownParseCache::changed);
        auto* before = qobject_cast<InlineMarkupView*>(pane.content()->rowView(0)->content());
        QCOMPARE(before->textView()->document()->defaultFont().pointSizeF() * 96 / 72, 15.0);
        Preferences::shared().setNumber(PreferenceKeys::previewFontSize, 20);
        QCOMPARE(parses.count(), 0);
        auto* after = qobject_cast<InlineMarkupView*>(pane.content()->rowView(0)->content());
        QCOMPARE(after->textView()->document()->defaultFont().pointSizeF() * 96 / 72, 20.0);
    }

    void farRowsAreMadeOnlyWhenNeeded() {
        Pane pane(paragraphs(2000), {500, 300});
        PreviewContentView* content = pane.content();
        QCOMPARE(content->rowCount(), 2000);
        QVERIFY(content->builtRowCount() < 100);
        QVERIFY(!content->rowView(1999));
        QVERIFY(content->contentHeight() > 2000 * 20);

        pane.bar()->setValue(pane.bar()->maximum());
        QCoreApplication::processEvents();
        QVERIFY(content->rowView(1999));
        QVERIFY(content->rowView(1999)->isVisible());
        QVERIFY(content->builtRowCount() < 200);
        // The last row sits at the bottom of the view, measured.
        QVERIFY(content->isRowMeasured(1999));
        QCOMPARE(content->rowRect(1999).bottom() + 1 + 8, content->contentHeight());
        QCOMPARE(pane.bar()->value(), pane.bar()->maximum());
        // Views far from the visible part are hidden.
        QVERIFY(!content->rowView(0)->isVisible());
    }

    void aWidthChangeMeasuresTheVisibleRowsAgain() {
        Pane pane(
            paragraphs(50, QStringLiteral("a fairly long paragraph that has to wrap when narrow")),
            {900, 300});
        const int wide = pane.content()->rowRect(0).height();
        pane.view->resize(300, 300);
        QCoreApplication::processEvents();
        QCOMPARE(pane.content()->rowRect(0).width(), pane.content()->width() - 48);
        QVERIFY(pane.content()->rowRect(0).height() > wide);
        QCOMPARE(pane.content()->rowView(0)->height(), pane.content()->rowRect(0).height());
        pane.view->resize(900, 300);
        QCoreApplication::processEvents();
        QCOMPARE(pane.content()->rowRect(0).height(), wide);
    }

    void aTaskBoxEditsTheLineItStandsOnNow() {
        const QString list = QStringLiteral("- [ ] a\n- [ ] b\n");
        Pane pane(QStringLiteral("intro\n\n") + list);
        QSignalSpy changes(pane.view.get(), &PreviewView::sourceChanged);
        MarkdownBlockView* row = pane.content()->rowView(1);

        // Lines added above: the list keeps its views, and its boxes their lines.
        const QString moved = QStringLiteral("intro\n\nmore\n\nand more\n\n") + list;
        pane.view->setMarkdown(moved);
        pane.waitForParse();
        QCOMPARE(pane.content()->rowView(3), row);
        auto boxes = row->findChildren<TaskCheckboxButton*>();
        QCOMPARE(boxes.size(), 2);
        boxes[1]->click();
        QCOMPARE(changes.count(), 1);
        const QString toggled = QStringLiteral("intro\n\nmore\n\nand more\n\n- [ ] a\n- [x] b\n");
        QCOMPARE(changes[0][0].toString(), toggled);
        QCOMPARE(pane.view->markdown(), toggled);

        // A second click before the new text is rendered is refused as stale
        // and the pane catches up at once.
        boxes[0]->click();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(pane.view->parseCache().document()->text, toggled);
        QCOMPARE(pane.content()->rowView(3)->findChildren<TaskCheckboxButton*>()[1]->isDone(),
                 true);
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
};

QTEST_MAIN(TestPreviewView)
#include "tst_previewview.moc"
