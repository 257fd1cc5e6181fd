#include "BuildInfo.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

// `make run` is a new user's first command: it builds what running quon
// needs and nothing of the test suite.
class TestMakeTargets : public QObject {
    Q_OBJECT

    static QString output(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, arguments);
        if (!process.waitForFinished(120'000) || process.exitCode() != 0)
            return {};
        return QString::fromLocal8Bit(process.readAllStandardOutput());
    }

private slots:
    void runBuildsTheAppAlone() {
        const QString build = QString::fromUtf8(BuildInfo::buildDir);
        const QString commands =
            output(QStringLiteral("make"),
                   {QStringLiteral("-n"), QStringLiteral("-C"), QStringLiteral(QUON_SOURCE_DIR),
                    QStringLiteral("run"), QStringLiteral("BUILD_DIR=") + build});
        static const QRegularExpression buildLine(
            QStringLiteral("^cmake --build \\S+(?: -j \\S+)?(.*)$"),
            QRegularExpression::MultilineOption);
        const QRegularExpressionMatch line = buildLine.match(commands);
        QVERIFY2(line.hasMatch(), qPrintable(commands));
        const QStringList words = line.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(words.value(0) == QLatin1String("--target"), "builds every target");
        const QStringList targets = words.mid(1);
        QVERIFY(targets.contains(QStringLiteral("quon")));
        QVERIFY(targets.contains(QStringLiteral("quon-nautilus")));

        // All that those targets are built from.
        const QString inputs = output(QStringLiteral("ninja"),
                                      QStringList{QStringLiteral("-C"), build, QStringLiteral("-t"),
                                                  QStringLiteral("inputs")} +
                                          targets);
        QVERIFY(!inputs.isEmpty());
        for (const char* needed : {"quon-pdf-printer", "quon_pl.qm", "quon_es.qm"})
            QVERIFY2(inputs.contains(QLatin1String(needed)), needed);
        static const QRegularExpression ofTheSuite(QStringLiteral("tst_|export-driver"));
        QVERIFY2(!inputs.contains(ofTheSuite), qPrintable(inputs));
    }
};

QTEST_GUILESS_MAIN(TestMakeTargets)
#include "tst_maketargets.moc"
