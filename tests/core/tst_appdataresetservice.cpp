#include "common/AppIdentity.h"
#include "core/AppDataResetService.h"
#include "core/Preferences.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Runs in the private home and XDG folders of tests/run-test.sh.
class TestAppDataResetService : public QObject {
    Q_OBJECT

    QHash<QByteArray, QByteArray> original;

    static void put(const QString& path) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
    }

    static QString env(const char* name) { return qEnvironmentVariable(name); }

private Q_SLOTS:
    void initTestCase() {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "HOME"})
            original.insert(name, qgetenv(name));
    }

    void cleanup() {
        for (auto it = original.cbegin(); it != original.cend(); ++it)
            qputenv(it.key().constData(), it.value());
    }

    // Exactly quon's four places go; neighbours, and what a link in the way
    // points to, stay.
    void clearsQuonsOwnData() {
        const QString config = env("XDG_CONFIG_HOME");
        const QString cache = env("XDG_CACHE_HOME");
        const QString state = env("XDG_STATE_HOME");
        Preferences::shared().setBoolean(PreferenceKeys::onboardingCompleted, true);
        const QString extension = config + QStringLiteral("/quon/" QUON_EXTENSION_CONFIG_FILE);
        put(extension);
        put(state + QStringLiteral("/quon/sub/state.json"));
        const QStringList kept = {
            config + QStringLiteral("/quon/notes.txt"), config + QStringLiteral("/other.conf"),
            cache + QStringLiteral("/quonx/a"), state + QStringLiteral("/other/b"),
            QDir::homePath() + QStringLiteral("/outside/c")};
        for (const QString& path : kept)
            put(path);
        QVERIFY(QFile::link(QDir::homePath() + QStringLiteral("/outside"),
                            cache + QStringLiteral("/quon")));

        QCOMPARE(AppDataResetService::locations(),
                 (QStringList{Preferences::filePath(), state + QStringLiteral("/quon"),
                              cache + QStringLiteral("/quon"), extension}));
        AppDataResetService::clearAllData();

        QVERIFY(!Preferences::shared().onboardingCompleted());
        for (const QString& gone : AppDataResetService::locations())
            QVERIFY2(!QFileInfo(gone).exists() && !QFileInfo(gone).isSymLink(), qPrintable(gone));
        for (const QString& path : kept)
            QVERIFY2(QFile::exists(path), qPrintable(path));
        AppDataResetService::clearAllData(); // nothing left: still fine
    }

    // A complete copy of a save that broke off may be the only whole text of
    // a file: it stays, with the folders on its way; the rest of quon's
    // state goes.
    void unfinishedSaveCopiesStay() {
        const QString quon = env("XDG_STATE_HOME") + QStringLiteral("/quon");
        const QString copy =
            quon + QStringLiteral("/saves/0123456789abcdef/a.md.quon-0a0a0a.saved");
        const QStringList gone = {
            quon + QStringLiteral("/saves/0123456789abcdef/a.md.quon-0b0b0b.partial"),
            quon + QStringLiteral("/saves/fedcba9876543210/b.md.quon-0c0c0c.partial"),
            quon + QStringLiteral("/saves/0123456789abcdef/notes.saved"),
            quon + QStringLiteral("/sub/state.json")};
        put(copy);
        for (const QString& path : gone)
            put(path);
        QCOMPARE(AppDataResetService::keptCopies(), QStringList{copy});
        AppDataResetService::clearAllData();
        QVERIFY(QFile::exists(copy));
        for (const QString& path : gone)
            QVERIFY2(!QFileInfo::exists(path), qPrintable(path));
        QVERIFY(!QFileInfo::exists(quon + QStringLiteral("/saves/fedcba9876543210")));
        QVERIFY(QFile::remove(copy));
        QCOMPARE(AppDataResetService::keptCopies(), QStringList());
    }

    // An XDG variable that is "/", the home folder or relative names no
    // place of quon's; an empty one means its usual folder.
    void hostileVariables_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("cacheLocation"); // empty: none
        for (const QString& value : {QStringLiteral("/"), QStringLiteral("//./"), QDir::homePath(),
                                     QDir::homePath() + "/", QStringLiteral("cache")})
            QTest::newRow(qPrintable(value)) << value << QString();
        QTest::newRow("empty") << QString() << QDir::homePath() + "/.cache/quon";
    }
    void hostileVariables() {
        QFETCH(QString, value);
        QFETCH(QString, cacheLocation);
        qputenv("XDG_CACHE_HOME", value.toUtf8());
        const QStringList locations = AppDataResetService::locations();
        QCOMPARE(locations.size(), cacheLocation.isEmpty() ? 3 : 4);
        QCOMPARE(locations.contains(cacheLocation), !cacheLocation.isEmpty());
        for (const QString& path : locations)
            QVERIFY(path.contains(QStringLiteral("/quon")));

        put(QDir::homePath() + QStringLiteral("/quon/keep"));
        qputenv("XDG_STATE_HOME", QDir::homePath().toUtf8());
        qputenv("XDG_CONFIG_HOME", "/");
        AppDataResetService::clearAllData();
        QVERIFY(QFile::exists(QDir::homePath() + QStringLiteral("/quon/keep")));
    }

    // A base that is a link to home or to a folder above it, directly or
    // through another link, is no place of quon's: the user's own "quon"
    // folder there stays, and quon's real files still go.
    void linkedBasesAreResolved_data() {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<bool>("aboveHome");
        QTest::addColumn<bool>("linkToLink");
        QTest::newRow("cache is home") << QByteArray("XDG_CACHE_HOME") << false << false;
        QTest::newRow("state is home") << QByteArray("XDG_STATE_HOME") << false << false;
        QTest::newRow("cache above home") << QByteArray("XDG_CACHE_HOME") << true << false;
        QTest::newRow("state via two links") << QByteArray("XDG_STATE_HOME") << false << true;
    }
    void linkedBasesAreResolved() {
        QFETCH(QByteArray, variable);
        QFETCH(bool, aboveHome);
        QFETCH(bool, linkToLink);
        QTemporaryDir top;
        const QString home = top.filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(home));
        qputenv("HOME", QFile::encodeName(home));
        const QString target = aboveHome ? top.path() : home;
        const QString mine = target + QStringLiteral("/quon/keep");
        put(mine);
        QTemporaryDir links;
        QString link = links.filePath(QStringLiteral("base"));
        QVERIFY(QFile::link(target, link));
        if (linkToLink) {
            QVERIFY(QFile::link(link, links.filePath(QStringLiteral("again"))));
            link = links.filePath(QStringLiteral("again"));
        }
        const QByteArray other = variable == "XDG_CACHE_HOME" ? "XDG_STATE_HOME" : "XDG_CACHE_HOME";
        const QString quonsOwn = env(other.constData()) + QStringLiteral("/quon/data");
        put(quonsOwn);
        qputenv(variable.constData(), QFile::encodeName(link));
        Preferences::shared().setBoolean(PreferenceKeys::onboardingCompleted, true);
        QVERIFY(QFile::exists(Preferences::filePath()));

        for (const QString& path : AppDataResetService::locations())
            QVERIFY2(!path.startsWith(target + QStringLiteral("/quon")), qPrintable(path));
        AppDataResetService::clearAllData();
        QVERIFY(QFile::exists(mine));
        QVERIFY(!QFileInfo::exists(quonsOwn));
        QVERIFY(!QFileInfo::exists(QFileInfo(quonsOwn).path()));
        QVERIFY(!QFileInfo::exists(Preferences::filePath()));
    }
};

QTEST_GUILESS_MAIN(TestAppDataResetService)
#include "tst_appdataresetservice.moc"
