#include "preview/ScrollSyncEngine.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

// A scroll area whose bar is set by hand: the editor counts lines, the preview pixels.
struct Area {
    std::unique_ptr<QAbstractScrollArea> area = std::make_unique<QAbstractScrollArea>();
    Area(int maximum, int value = 0) {
        bar()->setRange(0, maximum);
        bar()->setValue(value);
    }
    QScrollBar* bar() const { return area->verticalScrollBar(); }
    int value() const { return bar()->value(); }
    operator QAbstractScrollArea*() const { return area.get(); }
};

void nextTurn() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

struct Linked {
    Area editor{100, 30};
    Area preview{2000, 700};
    ScrollSyncEngine engine;

    Linked() {
        engine.setEnabled(true);
        link();
        nextTurn(); // both panes go to the top
        nextTurn(); // and the echo guard of that ends
    }
    void link() {
        engine.linkEditor(editor);
        engine.linkPreview(preview);
    }
};

} // namespace

class TestScrollSyncEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ratiosOnScrollBarValues() {
        Area a(200, 50);
        QCOMPARE(ScrollSyncEngine::scrollRatio(a), 0.25);
        QCOMPARE(ScrollSyncEngine::scrollRatio(Area(0)), 0.0);

        Area b(1000);
        ScrollSyncEngine::setScrollRatio(0.5, b);
        QCOMPARE(b.value(), 500);
        // Already within tolerance of the target: left alone, nothing signalled.
        QSignalSpy moved(b.bar(), &QScrollBar::valueChanged);
        ScrollSyncEngine::setScrollRatio(0.5004, b);
        QCOMPARE(moved.count(), 0);
        // A range of one unit or less goes to the top whatever the ratio.
        Area tiny(1, 1);
        ScrollSyncEngine::setScrollRatio(1.0, tiny);
        QCOMPARE(tiny.value(), 0);
    }

    void mirrorsBothWaysWithoutEcho() {
        Linked w;
        QCOMPARE(w.editor.value(), 0);
        QCOMPARE(w.preview.value(), 0);

        w.editor.bar()->setValue(50);
        QCOMPARE(w.preview.value(), 1000);
        // Until the next turn the pane it moved is not mirrored back, while
        // the pane the reader moves goes on being followed.
        w.preview.bar()->setValue(2000);
        QCOMPARE(w.editor.value(), 50);
        w.editor.bar()->setValue(60);
        QCOMPARE(w.preview.value(), 1200);
        nextTurn();

        w.preview.bar()->setValue(500);
        QCOMPARE(w.editor.value(), 25);
        nextTurn();
        // Text added below the visible part changes the range, not the value.
        w.editor.bar()->setMaximum(400);
        QCOMPARE(w.preview.value(), 500);
    }

    void nothingIsMirroredWhileDisabled() {
        Linked w;
        w.engine.setEnabled(false);
        QVERIFY(!w.engine.editorScrollArea() && !w.engine.previewScrollArea());
        w.editor.bar()->setValue(80);
        QCOMPARE(w.preview.value(), 0);

        // Enabling again without new links mirrors nothing either.
        w.engine.setEnabled(true);
        nextTurn();
        w.editor.bar()->setValue(20);
        QCOMPARE(w.preview.value(), 0);

        // Linked again, both start at the top on the next turn, then follow each other.
        w.link();
        QCOMPARE(w.editor.value(), 20);
        nextTurn();
        QCOMPARE(w.editor.value(), 0);
        nextTurn();
        w.editor.bar()->setValue(10);
        QCOMPARE(w.preview.value(), 200);
    }

    void goneAreasAndEnginesAreHarmless() {
        auto engine = std::make_unique<ScrollSyncEngine>();
        Area editor(100);
        {
            Area preview(1000);
            engine->setEnabled(true);
            engine->linkEditor(editor);
            engine->linkPreview(preview);
        }
        nextTurn();
        QVERIFY(!engine->previewScrollArea());
        editor.bar()->setValue(50);
        // A pending task of a destroyed engine does nothing.
        engine->performWithoutSync([] {});
        engine.reset();
        nextTurn();
        QCOMPARE(editor.value(), 50);
    }
};

QTEST_MAIN(TestScrollSyncEngine)
#include "tst_scrollsyncengine.moc"
