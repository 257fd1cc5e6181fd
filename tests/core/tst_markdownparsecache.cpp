#include "core/MarkdownParseCache.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

class TestMarkdownParseCache : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void burstParsesOnlyTheLastText() {
        MarkdownParseCache cache;
        QSignalSpy changed(&cache, &MarkdownParseCache::changed);
        cache.scheduleParse(QStringLiteral("# First\n"));
        // Part of the pause goes by without the event loop, so no timer can
        // fire in it however slow the machine.
        QTest::qSleep(100);
        QCOMPARE(changed.count(), 0);
        QElapsedTimer sinceSecond;
        sinceSecond.start();
        cache.scheduleParse(QStringLiteral("# Second\n\ntext\n"));
        QVERIFY(cache.isPending());

        // The pause starts again with the second text: a timer never fires
        // early, so this holds on a busy machine too.
        QVERIFY(changed.wait(10'000));
        const qint64 delay = sinceSecond.elapsed();
        QVERIFY2(delay >= 120, qPrintable(QString::number(delay)));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(cache.document()->document.child(0).plainText(), QStringLiteral("Second"));

        QVERIFY(!cache.isPending());
        QVERIFY(TestSupport::runPastTimers(MarkdownParseCache::debounceMs));
        QCOMPARE(changed.count(), 1);
    }

    void parseNowWinsOverAScheduledText() {
        MarkdownParseCache cache;
        QSignalSpy changed(&cache, &MarkdownParseCache::changed);
        // It starts with the parse of the empty text.
        const std::shared_ptr<const ParsedMarkdown> initial = cache.document();
        QVERIFY(initial->text.isEmpty());
        cache.scheduleParse(QStringLiteral("scheduled"));
        cache.parseNow(QStringLiteral("now"));
        QCOMPARE(changed.count(), 1);
        QVERIFY(!cache.isPending());

        QVERIFY(TestSupport::runPastTimers(MarkdownParseCache::debounceMs));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(cache.document()->text, QStringLiteral("now"));
        // A reader still holding the earlier tree keeps it.
        QCOMPARE(initial->document.childCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestMarkdownParseCache)
#include "tst_markdownparsecache.moc"
