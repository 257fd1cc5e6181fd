#include "core/MarkdownDocument.h"
#include "shell/OutsideChangeWatch.h"
#include "support/FakeWorkspaceAlerts.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Choice = WorkspaceAlerts::OutsideChangeChoice;

namespace {

// Long enough for the monitor's 0.3 s debounce and the re-arming after it.
constexpr int quietMs = 900;

// A document opened from dir/doc.md and watched, with a fake prompt.
struct WatchedDocument {
    QTemporaryDir dir;
    QString path = TestSupport::writeFile(dir, QStringLiteral("doc.md"), "alpha\n");
    std::unique_ptr<MarkdownDocument> document = MarkdownDocument::open(path, nullptr);
    FakeWorkspaceAlerts alerts;
    OutsideChangeWatch watch{*document, alerts, nullptr};

    WatchedDocument() { watch.start(QUrl::fromLocalFile(path)); }

    void write(const QByteArray& bytes) const {
        TestSupport::writeFile(dir, QStringLiteral("doc.md"), bytes);
    }
};

} // namespace

class TestOutsideChangeWatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    void burstOfWritesPromptsOnce() {
        WatchedDocument w;
        for (int i = 0; i < 10; ++i) {
            w.write("outside " + QByteArray::number(i) + "\n");
            QTest::qWait(20);
        }
        QTRY_COMPARE_WITH_TIMEOUT(w.alerts.outsideChangeAsks, 1, 3000);
        QTest::qWait(quietMs);
        QCOMPARE(w.alerts.outsideChangeAsks, 1);
        // Kept: the text stays, and now differs from the file.
        QCOMPARE(w.document->text(), QStringLiteral("alpha\n"));
        QVERIFY(w.document->isModified());
        // The watch goes on after the answer.
        w.write("again\n");
        QTRY_COMPARE_WITH_TIMEOUT(w.alerts.outsideChangeAsks, 2, 3000);
    }

    void silentWhenNothingNewIsOnDisk() {
        {
            // Same bytes rewritten.
            WatchedDocument w;
            w.write("alpha\n");
            QTest::qWait(quietMs);
            QCOMPARE(w.alerts.outsideChangeAsks, 0);
        }
        {
            // Deleted, then moved away.
            WatchedDocument w;
            QVERIFY(QFile::remove(w.path));
            QTest::qWait(quietMs);
            QCOMPARE(w.alerts.outsideChangeAsks, 0);
        }
        {
            // Not UTF-8: the check cannot read it.
            WatchedDocument w;
            w.write("caf\xe9\n");
            QTest::qWait(quietMs);
            QCOMPARE(w.alerts.outsideChangeAsks, 0);
        }
        {
            // quon's own save, then typing on before the watch reports it.
            WatchedDocument w;
            w.document->setText(QStringLiteral("alpha beta\n"));
            QVERIFY(w.document->save(w.path, nullptr));
            w.document->setText(QStringLiteral("alpha beta gamma\n"));
            QTest::qWait(quietMs);
            QCOMPARE(w.alerts.outsideChangeAsks, 0);
            QCOMPARE(w.document->text(), QStringLiteral("alpha beta gamma\n"));
        }
    }

    void reloadTakesTheFileAsSaved() {
        WatchedDocument w;
        QStringList applied;
        w.watch.applyText = [&](const QString& text) {
            applied.append(text);
            w.document->setText(text);
        };
        w.document->setText(QStringLiteral("edited\n"));
        w.alerts.answer = Choice::Reload;
        w.write("from\r\noutside\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(w.alerts.outsideChangeAsks, 1, 3000);
        QCOMPARE(applied, QStringList{QStringLiteral("from\noutside\n")});
        QCOMPARE(w.document->text(), QStringLiteral("from\noutside\n"));
        QVERIFY(!w.document->isModified());
        // Unedited after the reload: a save writes the file's bytes back.
        QCOMPARE(w.document->fileBytes().value(), QByteArray("from\r\noutside\r\n"));
    }

    void failedReloadKeepsTheText() {
        WatchedDocument w;
        w.document->setText(QStringLiteral("edited\n"));
        w.write("caf\xe9\n");
        w.watch.reload();
        QCOMPARE(w.alerts.reloadFailures.size(), 1);
        QVERIFY(w.alerts.reloadFailures.first().contains(QStringLiteral("doc.md")));
        QCOMPARE(w.document->text(), QStringLiteral("edited\n"));
    }

    void untitledAndStoppedAreNotWatched() {
        MarkdownDocument untitled;
        FakeWorkspaceAlerts alerts;
        OutsideChangeWatch watch(untitled, alerts, nullptr);
        watch.start(QUrl());
        QVERIFY(!watch.monitor().isWatching());

        WatchedDocument w;
        QVERIFY(w.watch.monitor().isWatching());
        w.watch.stop();
        w.write("changed\n");
        QTest::qWait(quietMs);
        QCOMPARE(w.alerts.outsideChangeAsks, 0);
    }

    // A check that runs after the document is gone does nothing.
    void documentGoneBeforeTheCheck() {
        WatchedDocument w;
        w.write("changed\n");
        w.document.reset();
        QTest::qWait(quietMs);
        QCOMPARE(w.alerts.outsideChangeAsks, 0);
    }
};

QTEST_MAIN(TestOutsideChangeWatch)
#include "tst_outsidechangewatch.moc"
