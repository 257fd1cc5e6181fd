#include "core/FreeFileName.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// New files under the first free name: nothing in the way is ever written
// through or over.
class TestFreeFileName : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstFreeNameIsMadeExclusively_data() {
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << QStringList{} << QStringLiteral("1");
        QTest::newRow("a file") << QStringList{"1"} << QStringLiteral("2");
        QTest::newRow("a dangling link") << QStringList{"->1"} << QStringLiteral("2");
        QTest::newRow("a folder") << QStringList{"/1"} << QStringLiteral("2");
        QTest::newRow("several") << QStringList{"1", "->2", "/3"} << QStringLiteral("4");
    }
    void firstFreeNameIsMadeExclusively() {
        QFETCH(QStringList, taken);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString& name : taken) {
            if (name.startsWith(QLatin1Char('/')))
                QVERIFY(QDir(dir.path()).mkdir(name.mid(1)));
            else if (name.startsWith(QLatin1String("->")))
                QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")),
                                    dir.filePath(name.mid(2))));
            else
                TestSupport::writeFile(dir, name, "theirs\n");
        }
        QFile file;
        const auto path =
            FreeFileName::create([&](int n) { return dir.filePath(QString::number(n)); }, file);
        QCOMPARE(path, std::optional(dir.filePath(expected)));
        QVERIFY(file.isOpen());
        QCOMPARE(file.write("mine"), 4);
        file.close();
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("nowhere"))));
        for (const QString& name : taken) {
            if (!name.startsWith(QLatin1Char('/')) && !name.startsWith(QLatin1String("->")))
                QCOMPARE(TestSupport::readFile(dir.filePath(name)), QByteArray("theirs\n"));
        }
    }

    // A folder that is not there: no endless search, and the error names why.
    void aCreateThatFailsStops() {
        QTemporaryDir dir;
        QFile file;
        const auto path = FreeFileName::create(
            [&](int n) { return dir.filePath(QStringLiteral("gone/%1").arg(n)); }, file);
        QVERIFY(!path);
        QCOMPARE(file.fileName(), dir.filePath(QStringLiteral("gone/1")));
        QVERIFY(!file.errorString().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFreeFileName)
#include "tst_freefilename.moc"
