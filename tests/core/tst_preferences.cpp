#include "core/Preferences.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestPreferences : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    // What a restart hands back: every value as a string in the INI file.
    void valuesAfterRestart_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("boolean");
        QTest::addColumn<double>("number");
        QTest::newRow("true") << "true" << true << 14.0;
        QTest::newRow("false") << "false" << false << 14.0;
        QTest::newRow("no") << "no" << true << 14.0;
        QTest::newRow("abc") << "abc" << true << 14.0;
        QTest::newRow("1") << "1" << true << 1.0;
        QTest::newRow("TRUE") << "TRUE" << true << 14.0;
        QTest::newRow("18") << "18" << true << 18.0;
        QTest::newRow("12.5") << "12.5" << true << 12.5;
        QTest::newRow("nan") << "nan" << true << 14.0;
        QTest::newRow("inf") << "inf" << true << 14.0;
    }
    void valuesAfterRestart() {
        QFETCH(QString, stored);
        QFETCH(bool, boolean);
        QFETCH(double, number);
        QDir().mkpath(QFileInfo(Preferences::filePath()).absolutePath());
        QFile file(Preferences::filePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[General]\nshowHomeAfterClosingLastWindow=" + stored.toUtf8() +
                   "\neditorFontSize=" + stored.toUtf8() + "\n");
        file.close();
        Preferences::shared().reload();
        QCOMPARE(Preferences::shared().showHomeAfterClosingLastWindow(), boolean);
        QCOMPARE(Preferences::shared().editorFontSize(), number);
        Preferences::shared().clearAll();
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
