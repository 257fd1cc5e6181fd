#include "core/MarkdownParseCache.h"

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
        QTest::qWait(100);
        QCOMPARE(changed.count(), 0);
        QElapsedTimer sinceSecond;
        sinceSecond.start();
        cache.scheduleParse(QStringLiteral("# Second\n\ntext\n"));
        QVERIFY(cache.isPending());

        QVERIFY(changed.wait(2000));
        const qint64 delay = sinceSecond.elapsed();
        QVERIFY2(delay >= 120 && delay < 1500, qPrintable(QString::number(delay)));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(cache.document()->document.child(0).plainText(), QStringLiteral("Second"));

        QTest::qWait(300);
        QCOMPARE(changed.count(), 1);
        QVERIFY(!cache.isPending());
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

        QTest::qWait(400);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(cache.document()->text, QStringLiteral("now"));
        // A reader still holding the earlier tree keeps it.
        QCOMPARE(initial->document.childCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestMarkdownParseCache)
#include "tst_markdownparsecache.moc"
