#include "common/AppIdentity.h"
#include "core/FinderSharedSettings.h"
#include "core/Preferences.h"
#include "support/TestSupport.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusMessage>
#include <QSettings>
#include <QTest>

// The menu switches as quon broadcasts them on the session bus, seen by a
// second connection as the plug-in would see them.
class TestFinderSharedSettings : public QObject {
    Q_OBJECT

    QList<QVariantMap> received;

public Q_SLOTS:
    void onSignal(const QDBusMessage& message) {
        QCOMPARE(message.signature(), QStringLiteral("a{sv}"));
        received.append(qdbus_cast<QVariantMap>(message.arguments().value(0)));
    }

private Q_SLOTS:
    void initTestCase() {
        QDBusConnection observer =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("observer"));
        QVERIFY(observer.isConnected());
        QVERIFY(observer.connect(
            QString(), QStringLiteral(QUON_DBUS_PATH), QStringLiteral(QUON_DBUS_INTERFACE),
            QStringLiteral(QUON_FINDER_MENU_SIGNAL), this, SLOT(onSignal(QDBusMessage))));
    }

    void init() {
        TestSupport::resetPreferences();
        received.clear();
    }

    // Stored values as they come back from the file after a restart: only a
    // Boolean false turns a switch off.
    void broadcast_data() {
        QTest::addColumn<QVariant>("newFile");
        QTest::addColumn<QVariant>("newMarkdownFile");
        QTest::addColumn<bool>("showNewFile");
        QTest::addColumn<bool>("showNewMarkdownFile");
        QTest::newRow("nothing stored") << QVariant() << QVariant() << true << true;
        QTest::newRow("one off") << QVariant(false) << QVariant(true) << false << true;
        QTest::newRow("restarted strings")
            << QVariant("true") << QVariant("false") << true << false;
        QTest::newRow("not Booleans") << QVariant("no") << QVariant(0) << true << true;
    }
    void broadcast() {
        QFETCH(QVariant, newFile);
        QFETCH(QVariant, newMarkdownFile);
        QFETCH(bool, showNewFile);
        QFETCH(bool, showNewMarkdownFile);
        {
            QSettings file(Preferences::filePath(), QSettings::IniFormat);
            if (newFile.isValid())
                file.setValue(QStringLiteral(QUON_FINDER_MENU_SHOW_NEW_FILE_KEY), newFile);
            if (newMarkdownFile.isValid())
                file.setValue(QStringLiteral(QUON_FINDER_MENU_SHOW_NEW_MARKDOWN_FILE_KEY),
                              newMarkdownFile);
        }
        Preferences::shared().reload();
        QCOMPARE(FinderSharedSettings::showNewFile(), showNewFile);
        QCOMPARE(FinderSharedSettings::showNewMarkdownFile(), showNewMarkdownFile);

        FinderSharedSettings::broadcastFromApp();
        QTRY_COMPARE(received.size(), 1);
        const QVariantMap expected{
            {QStringLiteral(QUON_FINDER_MENU_SHOW_NEW_FILE_KEY), showNewFile},
            {QStringLiteral(QUON_FINDER_MENU_SHOW_NEW_MARKDOWN_FILE_KEY), showNewMarkdownFile}};
        QCOMPARE(received[0], expected);
    }
};

QTEST_GUILESS_MAIN(TestFinderSharedSettings)
#include "tst_findersharedsettings_dbus.moc"
