#include "preview/ScrollSyncEngine.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

// A scroll area whose bar is set by hand: the editor counts lines, the preview pixels.
std::unique_ptr<QAbstractScrollArea> area(int maximum, int value = 0) {
    auto a = std::make_unique<QAbstractScrollArea>();
    a->verticalScrollBar()->setRange(0, maximum);
    a->verticalScrollBar()->setValue(value);
    return a;
}

int value(const std::unique_ptr<QAbstractScrollArea>& a) {
    return a->verticalScrollBar()->value();
}

void nextTurn() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

struct Linked {
    std::unique_ptr<QAbstractScrollArea> editor = area(100, 30);
    std::unique_ptr<QAbstractScrollArea> preview = area(2000, 700);
    ScrollSyncEngine engine;

    Linked() {
        engine.setEnabled(true);
        engine.linkEditor(editor.get());
        engine.linkPreview(preview.get());
        nextTurn(); // both panes go to the top
        nextTurn(); // and the echo guard of that ends
    }
};

} // namespace

class TestScrollSyncEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ratioIsTheFractionOfTheBarsRange() {
        auto a = area(200, 50);
        QCOMPARE(ScrollSyncEngine::scrollRatio(a.get()), 0.25);
        a->verticalScrollBar()->setRange(100, 300);
        a->verticalScrollBar()->setValue(300);
        QCOMPARE(ScrollSyncEngine::scrollRatio(a.get()), 1.0);
        // Nothing to scroll: 0.
        auto flat = area(0);
        QCOMPARE(ScrollSyncEngine::scrollRatio(flat.get()), 0.0);
        QCOMPARE(ScrollSyncEngine::scrollRatio(static_cast<QAbstractScrollArea*>(nullptr)), 0.0);
    }

    void settingARatioRespectsRangeAndTolerance() {
        auto a = area(1000, 0);
        ScrollSyncEngine::setScrollRatio(1.0, a.get());
        QCOMPARE(value(a), 1000);
        ScrollSyncEngine::setScrollRatio(0.5, a.get());
        QCOMPARE(value(a), 500);

        // Already at the target: left alone, so no further change is signalled.
        QSignalSpy moved(a->verticalScrollBar(), &QScrollBar::valueChanged);
        ScrollSyncEngine::setScrollRatio(0.5004, a.get());
        QCOMPARE(moved.count(), 0);

        // A range of one unit or less goes to the top whatever the ratio.
        auto tiny = area(1, 1);
        ScrollSyncEngine::setScrollRatio(1.0, tiny.get());
        QCOMPARE(value(tiny), 0);
    }

    void mirrorsBothWaysWithoutEcho() {
        Linked w;
        QCOMPARE(value(w.editor), 0);
        QCOMPARE(value(w.preview), 0);

        w.editor->verticalScrollBar()->setValue(50);
        QCOMPARE(value(w.preview), 1000);
        QVERIFY(w.engine.isEchoSuppressed());
        // Until the next turn nothing is mirrored, in either direction.
        w.preview->verticalScrollBar()->setValue(2000);
        QCOMPARE(value(w.editor), 50);
        nextTurn();
        QVERIFY(!w.engine.isEchoSuppressed());

        w.preview->verticalScrollBar()->setValue(500);
        QCOMPARE(value(w.editor), 25);
        nextTurn();
        w.editor->verticalScrollBar()->setValue(100);
        QCOMPARE(value(w.preview), 2000);
        nextTurn();
        w.editor->verticalScrollBar()->setValue(0);
        QCOMPARE(value(w.preview), 0);
    }

    void onlyValueChangesAreMirrored() {
        Linked w;
        w.editor->verticalScrollBar()->setValue(50);
        nextTurn();
        // Text added below the visible part changes the range, not the value.
        w.editor->verticalScrollBar()->setMaximum(400);
        QCOMPARE(value(w.preview), 1000);
    }

    void nothingIsMirroredWhileDisabled() {
        Linked w;
        w.engine.setEnabled(false);
        QVERIFY(!w.engine.editorScrollArea());
        QVERIFY(!w.engine.isEditorReady() && !w.engine.isPreviewReady());
        w.editor->verticalScrollBar()->setValue(80);
        QCOMPARE(value(w.preview), 0);

        // Enabling again without new links mirrors nothing either.
        w.engine.setEnabled(true);
        nextTurn();
        w.editor->verticalScrollBar()->setValue(20);
        QCOMPARE(value(w.preview), 0);
        QCOMPARE(value(w.editor), 20);

        // Linked again, both start at the top, then follow each other.
        w.engine.linkEditor(w.editor.get());
        w.engine.linkPreview(w.preview.get());
        QCOMPARE(value(w.editor), 20); // aligning waits for the next turn
        nextTurn();
        QCOMPARE(value(w.editor), 0);
        nextTurn();
        w.editor->verticalScrollBar()->setValue(10);
        QCOMPARE(value(w.preview), 200);
    }

    void aligningWaitsForBothSidesAndTheNextTurn() {
        auto editor = area(100, 40);
        auto preview = area(1000, 400);
        ScrollSyncEngine engine;
        engine.setEnabled(true);
        engine.linkEditor(editor.get());
        nextTurn();
        QCOMPARE(value(editor), 40);
        engine.linkPreview(preview.get());
        QCOMPARE(value(preview), 400);
        nextTurn();
        QCOMPARE(value(editor), 0);
        QCOMPARE(value(preview), 0);

        // A relink of the same area while on aligns again.
        nextTurn();
        editor->verticalScrollBar()->setValue(60);
        nextTurn();
        engine.linkPreview(preview.get());
        nextTurn();
        QCOMPARE(value(editor), 0);
        QCOMPARE(value(preview), 0);
    }

    void linksWhileDisabledAreKeptButIgnored() {
        auto editor = area(100);
        auto preview = area(1000);
        ScrollSyncEngine engine;
        engine.linkEditor(editor.get());
        engine.linkPreview(preview.get());
        QVERIFY(engine.isEditorReady() && engine.isPreviewReady());
        editor->verticalScrollBar()->setValue(50);
        QCOMPARE(value(preview), 0);
    }

    void withoutSyncNothingIsMirroredUntilTheNextTurn() {
        Linked w;
        bool ran = false;
        w.engine.performWithoutSync([&] {
            ran = true;
            w.preview->verticalScrollBar()->setValue(1000);
        });
        QVERIFY(ran);
        QCOMPARE(value(w.editor), 0);
        nextTurn();
        w.preview->verticalScrollBar()->setValue(2000);
        QCOMPARE(value(w.editor), 100);
    }

    void goneAreasAndEnginesAreHarmless() {
        auto engine = std::make_unique<ScrollSyncEngine>();
        auto editor = area(100);
        {
            auto preview = area(1000);
            engine->setEnabled(true);
            engine->linkEditor(editor.get());
            engine->linkPreview(preview.get());
        }
        nextTurn();
        QVERIFY(!engine->previewScrollArea());
        editor->verticalScrollBar()->setValue(50);
        // A pending task of a destroyed engine does nothing.
        engine->performWithoutSync([] {});
        engine.reset();
        nextTurn();
        QCOMPARE(value(editor), 50);
    }
};

QTEST_MAIN(TestScrollSyncEngine)
#include "tst_scrollsyncengine.moc"
