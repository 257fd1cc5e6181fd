#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

namespace {

QByteArray storedData() {
    return Preferences::shared().data(PreferenceKeys::recentMarkdownFiles);
}

void store(const QByteArray& json) {
    Preferences::shared().setData(PreferenceKeys::recentMarkdownFiles, json);
}

QUrl fileUrl(const QTemporaryDir& dir, const QString& name) {
    return QUrl::fromLocalFile(TestSupport::writeFile(dir, name, "# x\n"));
}

QList<QUrl> urls(const RecentFilesStore& store) {
    QList<QUrl> list;
    for (const RecentFile& file : store.files())
        list.append(file.url);
    return list;
}

} // namespace

class TestRecentFilesStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    // Newest first, twenty at most, one entry a file however its path is
    // written; what a restart reads back is the same.
    void recordRemoveAndClear() {
        QTemporaryDir dir;
        const QUrl a = fileUrl(dir, QStringLiteral("a.md"));
        const QUrl b = fileUrl(dir, QStringLiteral("b.md"));
        RecentFilesStore store;
        QSignalSpy changed(&store, &RecentFilesStore::changed);
        store.record(a);
        const QDateTime first = store.files().first().lastOpened;
        QTRY_VERIFY(QDateTime::currentDateTime() > first);
        store.record(b);
        store.record(a);
        QCOMPARE(urls(store), (QList<QUrl>{a, b}));
        QVERIFY(store.files().first().lastOpened > first);
        QCOMPARE(changed.count(), 3);
        // ".." as the system takes it: out of a folder that is there.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        store.record(QUrl::fromLocalFile(dir.path() + QStringLiteral("/./sub/../b.md")));
        QCOMPARE(urls(store), (QList<QUrl>{b, a}));
        store.record(QUrl(QStringLiteral("https://example.com/c.md"))); // local files only
        store.remove(QUrl::fromLocalFile(dir.filePath(QStringLiteral("never.md"))));
        QCOMPARE(urls(store), (QList<QUrl>{b, a}));
        store.remove(QUrl::fromLocalFile(dir.path() + QStringLiteral("/./a.md")));
        QCOMPARE(urls(RecentFilesStore()), QList<QUrl>{b});

        QList<QUrl> recorded{b};
        for (int i = 0; i < 20; ++i) {
            recorded.prepend(fileUrl(dir, QStringLiteral("f%1.md").arg(i)));
            store.record(recorded.first());
        }
        QCOMPARE(urls(store), recorded.mid(0, 20));
        Preferences::shared().reload();
        QCOMPARE(urls(RecentFilesStore()), recorded.mid(0, 20));
        store.clear();
        QVERIFY(store.files().isEmpty());
        QCOMPARE(storedData(), QByteArray("[]"));
    }

    void storedJsonShape() {
        QTemporaryDir dir;
        const QUrl a = fileUrl(dir, QStringLiteral("my notes.md"));
        const QUrl b = fileUrl(dir, QStringLiteral("zażółć.md"));
        RecentFilesStore store;
        store.record(a);
        store.record(b);

        const QByteArray data = storedData();
        QVERIFY(data.startsWith("[{\""));
        QVERIFY(!data.contains('\n') && !data.contains(": ") && !data.contains(", "));
        QVERIFY(data.contains("\"url\":\"file:\\/\\/\\/"));
        QVERIFY(data.contains("my%20notes.md"));
        QVERIFY(data.contains("za%C5%BC%C3%B3%C5%82%C4%87.md"));

        const QJsonArray array = QJsonDocument::fromJson(data).array();
        QCOMPARE(array.size(), 2);
        const QJsonObject newest = array.at(0).toObject();
        QCOMPARE(newest.keys(), (QStringList{"lastOpened", "url"}));
        QCOMPARE(QUrl(newest.value("url").toString()), b);
        // Seconds since 1 January 2001, not since 1970.
        const double expected = QDateTime::currentSecsSinceEpoch() - 978307200.0;
        QVERIFY(qAbs(newest.value("lastOpened").toDouble() - expected) < 3600);
        QCOMPARE(array.at(1).toObject().value("url").toString(), a.toString(QUrl::FullyEncoded));
    }

    void loadHidesMissingFilesWithoutRewriting() {
        QTemporaryDir dir;
        const QUrl kept = fileUrl(dir, QStringLiteral("kept.md"));
        const QString keptJson = kept.toString(QUrl::FullyEncoded).replace("/", "\\/");
        const QByteArray json = "[{\"url\":\"file:\\/\\/\\/nowhere\\/gone.md\",\"lastOpened\":1.5},"
                                "{\"lastOpened\":725760000.25,\"url\":\"" +
                                keptJson.toUtf8() + "\"}]";
        store(json);

        RecentFilesStore store;
        QCOMPARE(urls(store), QList<QUrl>{kept});
        QCOMPARE(store.files().first().lastOpened,
                 QDateTime(QDate(2024, 1, 1), QTime(0, 0, 0, 250), Qt::UTC));
        QCOMPARE(storedData(), json);

        // A folder counts as existing; the next change drops the missing entry.
        store.record(QUrl::fromLocalFile(dir.path()));
        const QByteArray rewritten = storedData();
        QVERIFY(!rewritten.contains("gone.md"));
        QCOMPARE(RecentFilesStore().files().size(), 2);
        QCOMPARE(RecentFilesStore().files().at(1), store.files().at(1));
    }

    void garbageGivesEmptyListAndIsOverwritten_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("not json") << QByteArray("recent files");
        QTest::newRow("object") << QByteArray("{\"url\":\"file:///a.md\",\"lastOpened\":1}");
        QTest::newRow("url not a string") << QByteArray("[{\"url\":5,\"lastOpened\":1}]");
        QTest::newRow("no date") << QByteArray("[{\"url\":\"file:\\/\\/\\/tmp\"}]");
        QTest::newRow("date out of range")
            << QByteArray("[{\"url\":\"file:\\/\\/\\/tmp\",\"lastOpened\":1e300}]");
        QTest::newRow("empty url") << QByteArray("[{\"url\":\"\",\"lastOpened\":1}]");
        QTest::newRow("one bad entry")
            << QByteArray("[{\"url\":\"file:\\/\\/\\/tmp\",\"lastOpened\":1},null]");
        QTest::newRow("binary") << QByteArray("\xff\xfe\x00[", 4);
    }
    void garbageGivesEmptyListAndIsOverwritten() {
        QFETCH(QByteArray, stored);
        store(stored);
        RecentFilesStore store;
        QVERIFY(store.files().isEmpty());
        QCOMPARE(storedData(), stored);

        QTemporaryDir dir;
        const QUrl a = fileUrl(dir, QStringLiteral("a.md"));
        store.record(a);
        QCOMPARE(urls(RecentFilesStore()), QList<QUrl>{a});
    }
};

QTEST_GUILESS_MAIN(TestRecentFilesStore)
#include "tst_recentfilesstore.moc"
