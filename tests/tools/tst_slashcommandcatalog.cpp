#include "platform/Symbols.h"
#include "tools/SlashCommandCatalog.h"

#include <QTest>

namespace {

QStringList ids(const QList<SlashCommand>& commands) {
    QStringList out;
    for (const SlashCommand& c : commands)
        out << c.id;
    return out;
}

QStringList words(const char* text) {
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class TestSlashCommandCatalog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The menu draws the flat list as sections: categories must not interleave.
    void catalogStandsInSectionOrder() {
        const QList<SlashCommand>& all = SlashCommandCatalog::all();
        for (qsizetype i = 1; i < all.size(); ++i)
            QVERIFY(int(all[i - 1].category) <= int(all[i].category));
        for (const SlashCommand& c : all) {
            QVERIFY2(Symbols::isKnown(c.systemImage), qPrintable(c.systemImage));
            QVERIFY(!c.title.isEmpty() && !c.subtitle.isEmpty());
        }
    }

    void filtered_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        const QStringList all = ids(SlashCommandCatalog::all());
        QTest::newRow("empty") << QString() << all;
        QTest::newRow("blanks") << QStringLiteral(" \t\n ") << all;
        QTest::newRow("h") << QStringLiteral("h")
                           << words("h1 h2 h3 h4 h5 h6 text bullet numbered task table divider "
                                    "bold italic strike link image");
        QTest::newRow("h1") << QStringLiteral("h1") << words("h1");
        QTest::newRow("runs past an id") << QStringLiteral("h12") << words("h1");
        QTest::newRow("one-letter keyword b") << QStringLiteral("table") << words("table bold");
        QTest::newRow("one-letter keyword i") << QStringLiteral("img") << words("italic image");
        QTest::newRow("keyword") << QStringLiteral("todo") << words("task");
        QTest::newRow("upper case") << QStringLiteral("Quote") << words("quote");
        QTest::newRow("trimmed") << QStringLiteral("  quote ") << words("quote");
        QTest::newRow("polish keyword") << QStringLiteral("nagłówek") << words("h1");
        QTest::newRow("subtitle") << QStringLiteral("large") << words("h1");
        QTest::newRow("nothing") << QStringLiteral("zz") << QStringList();
    }
    void filtered() {
        QFETCH(QString, query);
        QFETCH(QStringList, expected);
        QCOMPARE(ids(SlashCommandCatalog::filtered(query)), expected);
    }
};

QTEST_MAIN(TestSlashCommandCatalog)
#include "tst_slashcommandcatalog.moc"
