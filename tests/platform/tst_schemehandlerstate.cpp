#include "common/AppIdentity.h"
#include "platform/SchemeHandlerState.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// Whether a launch must ask the desktop again who opens quon:// URLs: only
// when something the answer rests on changed since the last one.
class TestSchemeHandlerState : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root;

    QString at(const QString& relative) const { return root->filePath(relative); }

    void write(const QString& relative, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(at(relative)).path());
        QFile file(at(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private Q_SLOTS:
    void init() {
        root = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", at("config").toUtf8());
        qputenv("XDG_CONFIG_DIRS", at("etc").toUtf8());
        qputenv("XDG_DATA_HOME", at("data").toUtf8());
        qputenv("XDG_DATA_DIRS", (at("usr") + ':' + at("local")).toUtf8());
        qputenv("XDG_CACHE_HOME", at("cache").toUtf8());
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        write("config/mimeapps.list", "[Default Applications]\n");
        write("usr/applications/mimeinfo.cache", "[MIME Cache]\n");
        write("data/applications/" QUON_APP_ID ".desktop", "[Desktop Entry]\n");
    }

    void changes_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("asks");
        QTest::newRow("nothing") << "" << false;
        QTest::newRow("an unrelated file") << "write config/other.conf" << false;
        QTest::newRow("user list rewritten") << "write config/mimeapps.list" << true;
        QTest::newRow("user list removed") << "remove config/mimeapps.list" << true;
        QTest::newRow("desktop's own list added") << "write config/gnome-mimeapps.list" << true;
        QTest::newRow("system list added") << "write etc/mimeapps.list" << true;
        QTest::newRow("data list added") << "write local/applications/mimeapps.list" << true;
        QTest::newRow("defaults list added") << "write usr/applications/defaults.list" << true;
        QTest::newRow("cache rewritten") << "write usr/applications/mimeinfo.cache" << true;
        QTest::newRow("an entry installed") << "write usr/applications/other.desktop" << true;
        QTest::newRow("quon's entry rewritten")
            << "write data/applications/" QUON_APP_ID ".desktop" << true;
        QTest::newRow("another desktop") << "env XDG_CURRENT_DESKTOP KDE" << true;
        QTest::newRow("another data folder") << "env XDG_DATA_DIRS /opt/share" << true;
        QTest::newRow("another config home") << "env XDG_CONFIG_HOME /nowhere" << true;
    }

    void changes() {
        QFETCH(QString, change);
        QFETCH(bool, asks);
        const QByteArray before = SchemeHandlerState::current();
        QVERIFY(SchemeHandlerState::remember(before));
        QCOMPARE(SchemeHandlerState::remembered(), before);
        // Within one clock tick a rewrite may keep its time; the size differs.
        const QStringList words = change.split(u' ');
        if (words.first() == "write")
            write(words[1], "changed, and longer than before\n");
        else if (words.first() == "remove")
            QVERIFY(QFile::remove(at(words[1])));
        else if (words.first() == "env")
            qputenv(words[1].toUtf8().constData(), words[2].toUtf8());
        QCOMPARE(SchemeHandlerState::current() != SchemeHandlerState::remembered(), asks);
    }

    // No state kept (first launch, or quon's data cleared): ask.
    void nothingRemembered() {
        QCOMPARE(SchemeHandlerState::remembered(), QByteArray());
        QVERIFY(!SchemeHandlerState::current().isEmpty());
        QVERIFY(SchemeHandlerState::path().startsWith(at("cache/")));
    }
};

QTEST_MAIN(TestSchemeHandlerState)
#include "tst_schemehandlerstate.moc"
