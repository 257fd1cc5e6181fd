#include "core/ChunkedText.h"
#include "core/DocumentText.h"
#include "core/MarkdownParseCache.h"
#include "core/MarkdownParser.h"
#include "support/MarkdownDump.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <atomic>

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

    // Texts too large to parse at once go to the parsing thread, the followup
    // with them. Each newer text supersedes the parse before it: the trees
    // come back in the order of their texts, a scheduled text dropped by a
    // later one never comes, and the last is the tree of a full parse.
    void newerTextsSupersedeParsesOnTheParsingThread() {
        QString body;
        for (int i = 0; body.size() <= MarkdownParseCache::parsedAtOnce; ++i)
            body += QStringLiteral("Paragraph %1 with *words* and [a link](/%1).\n\n").arg(i);
        QStringList texts;
        for (int i = 0; i < 7; ++i)
            texts << QStringLiteral("# Edit %1\n\n").arg(i) + body.repeated(1 + i % 2);
        texts[3] = QStringLiteral("small\n");
        texts[4] = QStringLiteral("small again\n");

        MarkdownParseCache cache;
        QThread* const main = QThread::currentThread();
        std::atomic<int> followups{0};
        std::atomic<bool> offMain{true};
        // Holds the parsing thread in a parse until the test lets it go, so
        // it is busy for as long as the test needs, however fast it runs.
        std::atomic<bool> holding{false};
        QSemaphore letGo;
        cache.setFollowup([&](const ParsedMarkdown& before, const ParsedMarkdown& parsed) {
            offMain = offMain && QThread::currentThread() != main;
            if (holding)
                letGo.acquire();
            ++followups;
            return std::any(parsed.serial - before.serial);
        });
        std::vector<qsizetype> shown;
        connect(&cache, &MarkdownParseCache::changed, this,
                [&] { shown.push_back(texts.indexOf(cache.document()->text)); });

        cache.parseNow(texts[0]);
        QVERIFY(cache.isParsing());
        QVERIFY(cache.document()->text.isEmpty());
        cache.parseNow(texts[1]);
        QTRY_VERIFY_WITH_TIMEOUT(!cache.isPending(), 20000);
        QCOMPARE(shown.back(), 1);
        QVERIFY(cache.followup().has_value());
        // Handed over once; the cache keeps nothing of it.
        QVERIFY(cache.takeFollowup().has_value());
        QVERIFY(!cache.followup().has_value());

        holding = true;
        const auto release = [&] {
            if (holding.exchange(false))
                letGo.release();
        };
        // A failed check still lets the parsing thread go.
        const auto releaseOnExit = qScopeGuard(release);
        cache.parseNow(texts[2]);
        // Small, but the parsing thread is busy: there too, and the larger
        // one before it never comes.
        cache.parseNow(texts[3]);
        QVERIFY(cache.isParsing());
        release();
        QTRY_VERIFY_WITH_TIMEOUT(!cache.isPending(), 20000);
        QCOMPARE(shown.back(), 3);
        // Small with the parsing thread idle: parsed here and shown at once.
        cache.parseNow(texts[4]);
        QVERIFY(!cache.isPending());
        QCOMPARE(shown.back(), 4);
        QVERIFY(!cache.followup().has_value());
        cache.scheduleParse(texts[5]);
        cache.parseNow(texts[6]);
        QTRY_VERIFY_WITH_TIMEOUT(!cache.isPending(), 20000);

        QCOMPARE(shown.back(), 6);
        QVERIFY(std::is_sorted(shown.begin(), shown.end()));
        QVERIFY(std::find(shown.begin(), shown.end(), 5) == shown.end());
        QVERIFY(std::find(shown.begin(), shown.end(), -1) == shown.end());
        QVERIFY(std::find(shown.begin(), shown.end(), 2) == shown.end());
        QVERIFY(offMain);
        QVERIFY(followups > 0);
        QCOMPARE(MarkdownDump::dump(cache.document()->document, true),
                 MarkdownDump::dump(MarkdownParser::parse(texts[6])->document, true));
    }

    // Parses on this thread while the parsing thread parses give the trees
    // they give alone: no parse loses the strikethrough that cmark-gfm only
    // recognises while a parse finishes.
    void parsesOnTwoThreadsAtOnce() {
        QString text;
        for (int i = 0; text.size() <= 4 * MarkdownParseCache::parsedAtOnce; ++i)
            text += QStringLiteral("a ~~struck %1~~ word\n\n").arg(i);
        const QStringList alone = MarkdownDump::dump(MarkdownParser::parse(text)->document);
        const QStringList small =
            MarkdownDump::dump(MarkdownParser::parse(QStringLiteral("x ~~y~~\n"))->document);
        MarkdownParseCache cache;
        cache.parseNow(text);
        int here = 0;
        while (cache.isParsing()) {
            QCOMPARE(
                MarkdownDump::dump(MarkdownParser::parse(QStringLiteral("x ~~y~~\n"))->document),
                small);
            ++here;
            QCoreApplication::processEvents();
        }
        QVERIFY(here >= 1);
        QCOMPARE(MarkdownDump::dump(cache.document()->document), alone);
    }

    // Snapshots of a text edited between parses, some superseded before
    // their parse comes back: each tree shown is that of a full parse of its
    // text, and most keep the blocks the edits left alone.
    void snapshotsOfAnEditedTextGiveTheTreesOfFullParses() {
        QString plain;
        for (int i = 0; plain.size() < 4 * ChunkedText::pieceUnits; ++i)
            plain += QStringLiteral("# Title %1\n\nSome *text* %1\n\n| a | b |\n|---|---|\n"
                                    "| %1 | x |\n\n")
                         .arg(i);
        DocumentFileContents contents;
        contents.text = plain;
        DocumentText text(contents);
        MarkdownParseCache cache;
        cache.parseSoon(text.snapshot());
        QTRY_VERIFY_WITH_TIMEOUT(!cache.isPending(), 20'000);
        const QStringList pieces = {QStringLiteral("x"), QStringLiteral("\n\n"),
                                    QStringLiteral("| 9 | y |\n"), QStringLiteral("*"), QString()};
        QRandomGenerator rng(7);
        int kept = 0;
        for (int round = 0; round < 12; ++round) {
            for (int burst = round % 3; burst >= 0; --burst) {
                const auto at = qsizetype(rng.bounded(int(text.length()) + 1));
                const qsizetype removed = qMin(qsizetype(rng.bounded(4)), text.length() - at);
                const QString& added = pieces[rng.bounded(int(pieces.size()))];
                text.replace(at, removed, added);
                plain.replace(at, removed, added);
                cache.parseSoon(text.snapshot());
            }
            QTRY_VERIFY_WITH_TIMEOUT(!cache.isPending(), 20'000);
            QCOMPARE(cache.document()->text, plain);
            QCOMPARE(MarkdownDump::dump(cache.document()->document, true),
                     MarkdownDump::dump(MarkdownParser::parse(plain)->document, true));
            kept += cache.document()->reuse.keptAbove + cache.document()->reuse.keptBelow > 0;
        }
        QVERIFY2(kept > 6, qPrintable(QString::number(kept)));
    }
};

QTEST_GUILESS_MAIN(TestMarkdownParseCache)
#include "tst_markdownparsecache.moc"
