#include "preview/PreviewContentView.h"
#include "preview/PreviewScrollHost.h"
#include "preview/PreviewView.h"
#include "preview/ScrollSyncEngine.h"

#include <QScrollBar>
#include <QTest>
#include <memory>

namespace {

QString paragraphs(int count, int from = 0) {
    QStringList blocks;
    for (int i = from; i < from + count; ++i)
        blocks << QStringLiteral("Paragraph %1 with some words in it").arg(i);
    return blocks.join(QStringLiteral("\n\n")) + u'\n';
}

struct Host {
    std::unique_ptr<PreviewView> view = std::make_unique<PreviewView>();
    Host(const QString& text) {
        view->resize(500, 300);
        view->setMarkdown(text);
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            qFatal("preview not shown");
        QCoreApplication::processEvents();
    }
    PreviewScrollHost* host() const { return view->scrollHost(); }
    QScrollBar* bar() const { return host()->verticalScrollBar(); }
    double ratio() const { return ScrollSyncEngine::scrollRatio(host()); }
    void render(const QString& text) const {
        view->setMarkdown(text);
        QTRY_VERIFY(!view->parseCache().isPending());
        QCoreApplication::processEvents();
    }
};

} // namespace

class TestPreviewScrollHost : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tinyHeightReportsAreIgnored() {
        Host h(paragraphs(3));
        const int height = h.host()->reportedHeight();
        QVERIFY(height > 16);
        Q_EMIT h.view->content()->contentHeightChanged(1);
        QCOMPARE(h.host()->reportedHeight(), height);
        QCOMPARE(h.view->content()->height(), height);
        h.render(paragraphs(4));
        QVERIFY(h.host()->reportedHeight() > height);
        QCOMPARE(h.view->content()->height(), h.host()->reportedHeight());
    }

    // Short enough that every row is made: no estimate plays a part.
    void aRatioOfHalfIsKeptAcrossARerender() {
        Host h(paragraphs(12));
        QCOMPARE(h.view->content()->builtRowCount(), 12);
        h.bar()->setValue(h.bar()->maximum() / 2);
        QCoreApplication::processEvents();
        const int before = h.bar()->maximum();
        QVERIFY(std::abs(h.ratio() - 0.5) < 0.01);

        // Content added at the end makes the range longer.
        h.render(paragraphs(12) + u'\n' + paragraphs(6, 100));
        QCOMPARE(h.view->content()->builtRowCount(), 18);
        QVERIFY(h.bar()->maximum() > before);
        QVERIFY(std::abs(h.ratio() - 0.5) < 0.01);
    }

    void theTopStaysTheTop() {
        Host h(paragraphs(60));
        QCOMPARE(h.bar()->value(), 0);
        h.render(QStringLiteral("# Added above\n\n") + paragraphs(60));
        QCOMPARE(h.bar()->value(), 0);
    }

    void aShortDocumentDoesNotScroll() {
        Host h(QStringLiteral("short\n"));
        QCOMPARE(h.bar()->maximum(), 0);
        QCOMPARE(h.view->content()->pos(), QPoint(0, 0));
    }

    void theFirstLayoutShowsTheTop() {
        auto view = std::make_unique<PreviewView>();
        view->resize(500, 300);
        // Scrolled before any content arrived (the synchroniser may do this).
        view->scrollArea()->verticalScrollBar()->setValue(40);
        view->setMarkdown(paragraphs(60));
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QCOMPARE(view->scrollArea()->verticalScrollBar()->value(), 0);
    }

    void itsOwnAdjustmentsAreNotMirrored() {
        Host h(paragraphs(12));
        QAbstractScrollArea editor;
        editor.verticalScrollBar()->setRange(0, 100);
        ScrollSyncEngine sync;
        h.view->setScrollSync(&sync);
        sync.setEnabled(true);
        sync.linkEditor(&editor);
        sync.linkPreview(h.view->scrollArea());
        QTest::qWait(1);
        QCoreApplication::processEvents();

        editor.verticalScrollBar()->setValue(50);
        QVERIFY(std::abs(h.ratio() - 0.5) < 0.01);
        QCoreApplication::processEvents();
        // A re-render that moves the preview's value leaves the editor alone.
        const int value = h.bar()->value();
        h.render(paragraphs(12) + u'\n' + paragraphs(6, 100));
        QVERIFY(h.bar()->value() != value);
        QCOMPARE(editor.verticalScrollBar()->value(), 50);
        // The reader's own scrolling still reaches the editor.
        h.bar()->setValue(0);
        QCOMPARE(editor.verticalScrollBar()->value(), 0);
    }

    void aNarrowPaneStillLaysOut() {
        Host h(paragraphs(3));
        h.view->resize(1, 300);
        QCoreApplication::processEvents();
        QVERIFY(h.view->content()->width() >= 1);
        QVERIFY(h.view->content()->rowRect(0).width() >= 1);
    }
};

QTEST_MAIN(TestPreviewScrollHost)
#include "tst_previewscrollhost.moc"
