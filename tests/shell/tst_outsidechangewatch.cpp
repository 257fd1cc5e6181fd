#include "core/MarkdownDocument.h"
#include "shell/OutsideChangeWatch.h"
#include "support/FakeWorkspaceAlerts.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Choice = WorkspaceAlerts::OutsideChangeChoice;

namespace {

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
        QTest::qWait(900); // past the monitor's 0.3 s debounce and its re-arming
        QCOMPARE(w.alerts.outsideChangeAsks, 1);
        // Kept: the text stays, and now differs from the file.
        QCOMPARE(w.document->text(), QStringLiteral("alpha\n"));
        QVERIFY(w.document->isModified());
        // The watch goes on after the answer, once per change.
        w.write("again\n");
        QTRY_COMPARE_WITH_TIMEOUT(w.alerts.outsideChangeAsks, 2, 3000);

        // Stopped: nothing more.
        w.watch.stop();
        QVERIFY(!w.watch.monitor().isWatching());
        w.watch.start(QUrl());
        QVERIFY(!w.watch.monitor().isWatching());
    }

    void silentWhenNothingNewIsOnDisk_data() {
        QTest::addColumn<QByteArray>("bytes"); // none: the file is deleted
        QTest::newRow("same bytes") << QByteArray("alpha\n");
        QTest::newRow("deleted") << QByteArray();
        QTest::newRow("not utf-8") << QByteArray("caf\xe9\n");
    }
    void silentWhenNothingNewIsOnDisk() {
        QFETCH(QByteArray, bytes);
        WatchedDocument w;
        if (bytes.isNull())
            QVERIFY(QFile::remove(w.path));
        else
            w.write(bytes);
        w.watch.check();
        QCOMPARE(w.alerts.outsideChangeAsks, 0);
    }

    // The watch reports quon's own save; typing on must not bring a prompt.
    void ownSaveThenTypingStaysSilent() {
        WatchedDocument w;
        w.document->setText(QStringLiteral("alpha beta\n"));
        QVERIFY(w.document->save(w.path, nullptr));
        w.document->setText(QStringLiteral("alpha beta gamma\n"));
        w.watch.check();
        QCOMPARE(w.alerts.outsideChangeAsks, 0);
        QCOMPARE(w.document->text(), QStringLiteral("alpha beta gamma\n"));
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
        w.watch.check();
        QCOMPARE(w.alerts.outsideChangeAsks, 1);
        QCOMPARE(applied, QStringList{QStringLiteral("from\noutside\n")});
        QVERIFY(!w.document->isModified());
        // Unedited after the reload: a save writes the file's bytes back.
        QCOMPARE(w.document->fileBytes().value(), QByteArray("from\r\noutside\r\n"));

        // A reload that cannot read the file keeps the text and says why.
        w.document->setText(QStringLiteral("edited\n"));
        w.write("caf\xe9\n");
        w.watch.reload();
        QCOMPARE(w.alerts.reloadFailures.size(), 1);
        QVERIFY(w.alerts.reloadFailures.first().contains(QStringLiteral("doc.md")));
        QCOMPARE(w.document->text(), QStringLiteral("edited\n"));
    }

    // A check that runs after the document is gone does nothing.
    void documentGoneBeforeTheCheck() {
        WatchedDocument w;
        w.write("changed\n");
        w.document.reset();
        w.watch.check();
        QCOMPARE(w.alerts.outsideChangeAsks, 0);
    }
};

QTEST_MAIN(TestOutsideChangeWatch)
#include "tst_outsidechangewatch.moc"
