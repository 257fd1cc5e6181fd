// What quon receives from the file manager: the plug-in, loaded without a session bus,
// hands off a folder whose path quon's URL parsing must get back unchanged.
#include "ModuleHost.h"
#include "common/AppIdentity.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

namespace {
QString take(char* text) {
    const QString result = QString::fromUtf8(text);
    host_free(text);
    return result;
}
} // namespace

class TestNewFileHandOff : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        // Stored by an earlier broadcast; with no bus nothing else will come.
        const QString config =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            "/" QUON_CONFIG_DIR;
        QVERIFY(QDir().mkpath(config));
        QFile switches(config + "/" QUON_EXTENSION_CONFIG_FILE);
        QVERIFY(switches.open(QIODevice::WriteOnly));
        switches.write("[" QUON_EXTENSION_CONFIG_GROUP "]\n" QUON_FINDER_MENU_SHOW_NEW_FILE_KEY
                       "=false\n");
        switches.close();
        QVERIFY(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"));
        QVERIFY(host_install_url_handler());
        QVERIFY(host_load_module(QUON_NAUTILUS_MODULE));
    }

    void folderReachesQuon_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("space") << "/srv/my notes";
        QTest::newRow("equals and plus") << "/srv/a=b+c";
        QTest::newRow("hash and percent") << "/srv/#1 100%";
        QTest::newRow("umlaut") << QString::fromUtf8("/srv/Müller");
        QTest::newRow("query characters") << "/srv/x?y&md=0;z";
        QTest::newRow("root") << "/";
    }
    void folderReachesQuon() {
        QFETCH(QString, folder);
        HostMenu* menu = host_background_menu(folder.toUtf8().constData());
        QCOMPARE(host_menu_count(menu), 1);
        QCOMPARE(take(host_menu_label(menu, 0)), QStringLiteral("New Markdown File Here"));
        host_menu_activate(menu, 0);
        host_menu_free(menu);

        const QUrl url(take(host_next_url(10000)), QUrl::StrictMode);
        QVERIFY2(url.isValid(), qPrintable(url.errorString()));
        QCOMPARE(url.scheme(), QStringLiteral(QUON_URL_SCHEME));
        QCOMPARE(url.host(), QStringLiteral(QUON_NEW_FILE_HOST));
        const QUrlQuery query(url);
        QCOMPARE(query.queryItemValue("dir", QUrl::FullyDecoded), folder);
        QCOMPARE(query.allQueryItemValues("md"), QStringList{"1"});
    }
};

QTEST_GUILESS_MAIN(TestNewFileHandOff)
#include "tst_newfilehandoff.moc"
