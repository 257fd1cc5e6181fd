#include "core/RecentFilesStore.h"
#include "support/AnimationClock.h"
#include "support/TestSupport.h"
#include "widgets/PlainButton.h"
#include "widgets/ThemedLabel.h"
#include "windows/RecentFileItem.h"
#include "windows/RecentFilesPresentation.h"
#include "windows/RecentFilesSection.h"
#include "windows/WelcomeView.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QSignalSpy>
#include <QTest>

namespace {

// A store of files on disk; urls lists them newest first.
struct RecentFiles {
    QTemporaryDir dir;
    RecentFilesStore store;
    QList<QUrl> urls;

    explicit RecentFiles(int count = 0) { add(count); }
    void add(int count) {
        for (int i = 0; i < count; ++i)
            record(QStringLiteral("file%1.md").arg(urls.size()));
    }
    QUrl record(const QString& name) {
        const QUrl url = QUrl::fromLocalFile(TestSupport::writeFile(dir, name, "# x\n"));
        store.record(url);
        urls.prepend(url);
        return url;
    }
};

void hover(QWidget* widget) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(widget, &enter);
}

} // namespace

class TestRecentFilesSection : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    void namesOfAFile() {
        using namespace RecentFilesPresentation;
        const QUrl report = QUrl::fromLocalFile(QStringLiteral("/home/x/Docs/report.final.md"));
        QCOMPARE(displayName(report), QStringLiteral("report.final"));
        QCOMPARE(folderPath(report), QStringLiteral("/home/x/Docs"));
        QCOMPARE(folderName(report), QStringLiteral("Docs"));
        QCOMPARE(folderName(QUrl::fromLocalFile(QStringLiteral("/top.md"))), QStringLiteral("/"));
    }

    // A name or folder with line breaks shows on one line: its row and its
    // cell are as tall as any other.
    void lineBreaksKeepTheHeight() {
        RecentFiles files;
        QVERIFY(QDir(files.dir.path()).mkdir(QStringLiteral("two\nlines")));
        files.record(QStringLiteral("two\nlines/a\nb\u2028c.md"));
        files.record(QStringLiteral("plain.md"));
        RecentFilesSection section(files.store);
        section.show();
        const QList<RecentFileRow*> rows = section.rows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1]->sizeHint().height(), rows[0]->sizeHint().height());
        for (int i = 0; i < 4; ++i)
            files.record(QStringLiteral("more%1.md").arg(i));
        section.expandButton()->click();
        const QList<RecentFileCell*> cells = section.cells();
        QCOMPARE(cells.size(), 6);
        QCOMPARE(cells[5]->sizeHint().height(), cells[0]->sizeHint().height());
    }

    // Empty, the section says so; up to five files are rows with dividers
    // and no "Show more"; a sixth brings the link, which swaps rows for the
    // grid and back. Removing down to five in the grid keeps it, linkless.
    void theListFollowsTheStore() {
        RecentFiles files;
        RecentFilesStore& store = files.store;
        RecentFilesSection section(store);
        section.show();
        QVERIFY(!section.clearButton()->isVisible());
        QCOMPARE(section.emptyText()->text(), QStringLiteral("No recent files yet"));

        files.add(5);
        QVERIFY(!section.emptyText());
        QVERIFY(section.clearButton()->isVisible());
        QVERIFY(!section.expandButton()->isVisible());
        QCOMPARE(section.rows().size(), 5);
        QCOMPARE(section.dividerCount(), 4);
        QCOMPARE(section.rows().first()->file().url, files.urls.first());

        const QUrl sixth = files.record(QStringLiteral("sixth.md"));
        QCOMPARE(section.rows().size(), 5);
        QCOMPARE(section.expandButton()->text(), QStringLiteral("Show more"));
        section.expandButton()->click();
        QVERIFY(section.showsAll());
        QCOMPARE(section.rows().size(), 0);
        QCOMPARE(section.cells().size(), 6);
        QCOMPARE(section.expandButton()->text(), QStringLiteral("Show less"));
        store.remove(sixth);
        QCOMPARE(section.cells().size(), 5);
        QVERIFY(!section.expandButton()->isVisible());
        store.record(sixth);
        section.expandButton()->click();
        QCOMPARE(section.rows().size(), 5);
        QCOMPARE(section.cells().size(), 0);

        section.clearButton()->click();
        QVERIFY(store.files().isEmpty());
        QVERIFY(section.emptyText());
    }

    // Expanding and collapsing move the block's height from the old body's to
    // the new one's; the new body takes clicks at once, a reversal mid-way
    // sets off from where the height stands, and the end is the body's own.
    void expandingMovesTheHeight() {
        RecentFiles files(14);
        RecentFilesSection section(files.store);
        section.resize(600, 300);
        section.show();
        QVERIFY(QTest::qWaitForWindowExposed(&section));
        QWidget* slot = section.bodySlot();
        const int listHeight = slot->height();
        QSignalSpy chosen(&section, &RecentFilesSection::fileChosen);
        AnimationClock clock;

        section.expandButton()->click();
        clock.step(30);
        const int early = slot->height();
        QVERIFY2(early > listHeight, qPrintable(QString::number(early)));
        QTest::mouseClick(section.cells()[3], Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toUrl(), files.urls[3]);
        int last = early;
        for (int t = 30; t < RecentFilesSection::expandMs; t += 10) {
            clock.step(10);
            QVERIFY(slot->height() >= last);
            last = slot->height();
        }
        QVERIFY(clock.finish());
        QCOMPARE(slot->height(), section.cells().first()->parentWidget()->height());
        const int gridHeight = slot->height();
        QVERIFY(gridHeight > last / 2 && gridHeight > listHeight);

        section.expandButton()->click();
        clock.step(40);
        const int midway = slot->height();
        QVERIFY(midway < gridHeight && midway > listHeight);
        section.expandButton()->click();
        QVERIFY(qAbs(slot->height() - midway) <= 1);
        // A change of the list ends the move where the new body stands.
        files.store.remove(files.urls[13]);
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(slot->height(), section.cells().first()->parentWidget()->height());
    }

    void twentyFilesFillTenGridRowsNewestFirst() {
        RecentFiles files(20);
        RecentFilesSection section(files.store);
        section.setShowsAll(true);
        section.resize(600, 800);
        section.show();
        const QList<RecentFileCell*> cells = section.cells();
        QCOMPARE(cells.size(), 20);
        auto* grid = qobject_cast<QGridLayout*>(cells.first()->parentWidget()->layout());
        QVERIFY(grid);
        for (int i = 0; i < 20; ++i) {
            int row, column, rowSpan, columnSpan;
            grid->getItemPosition(grid->indexOf(cells[i]), &row, &column, &rowSpan, &columnSpan);
            QCOMPARE(row, i / 2);
            QCOMPARE(column, i % 2);
            QCOMPARE(cells[i]->file().url, files.urls[i]);
        }
        // The cell names its folder and tells the path on hover.
        QCOMPARE(cells[0]->toolTip(), files.dir.path());
    }

    void hoverRemoveAndOpen() {
        RecentFiles files(3);
        RecentFilesSection section(files.store);
        section.resize(600, 400);
        section.show();
        QSignalSpy chosen(&section, &RecentFilesSection::fileChosen);

        RecentFileRow* row = section.rows()[1];
        QVERIFY(!row->removeButton()->isVisible());
        hover(row);
        QVERIFY(row->removeButton()->isVisible());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(row, &leave);
        QVERIFY(!row->removeButton()->isVisible());

        // A click on the row opens its file.
        QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toUrl(), files.urls[1]);

        // The remove button removes that file only and opens nothing.
        hover(row);
        row->removeButton()->click();
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(files.store.files().size(), 2);
        QCOMPARE(files.store.files()[1].url, files.urls[2]);
        QCOMPARE(section.rows().size(), 2);
    }

    // With QUON_SCREENSHOTS=DIR: "Show more" and "Show less" in frames.
    void screenshots() {
        const QString folder = TestSupport::screenshotFolder();
        if (folder.isEmpty())
            QSKIP("QUON_SCREENSHOTS not set");
        RecentFiles files(12);
        WelcomeView view(files.store);
        view.resize(720, 1000);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        TestSupport::forEachAppearance([&](const QString& appearance) {
            for (const char* name : {"-show-more.png", "-show-less.png"}) {
                QVERIFY(TestSupport::saveFrames(&view, folder, appearance + name, [&] {
                    view.recentSection()->expandButton()->click();
                }));
            }
        });
    }
};

QTEST_MAIN(TestRecentFilesSection)
#include "tst_recentfilessection.moc"
