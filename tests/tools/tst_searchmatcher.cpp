#include "tools/SearchMatcher.h"

#include <QRandomGenerator>
#include <QTest>

using Ranges = QList<TextRange>;

namespace {

// What QString::indexOf finds, match after match, as the one reference.
Ranges indexOfMatches(const QString& text, const QString& query) {
    Ranges out;
    for (qsizetype at = text.indexOf(query, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(query, at + query.size(), Qt::CaseInsensitive))
        out.append({int(at), int(query.size())});
    return out;
}

// Pieces that fold alike or nearly: cases, the Kelvin sign, final sigma,
// a Deseret pair and its lower case, sharp s, line breaks.
const QStringList pieces = {
    QStringLiteral("a"), QStringLiteral("A"),          QStringLiteral("b"),
    QStringLiteral("k"), QStringLiteral("K"),          QString(QChar(0x212A)),
    QStringLiteral("σ"), QStringLiteral("Σ"),          QStringLiteral("ς"),
    QStringLiteral("ß"), QStringLiteral("ss"),         QStringLiteral("\n"),
    QStringLiteral(" "), QStringLiteral("\U00010400"), QStringLiteral("\U00010428"),
    QStringLiteral("é"), QStringLiteral("É"),          QString(QChar(0x2029)),
};

QString randomText(QRandomGenerator& random, int pieceCount) {
    QString out;
    for (int i = 0; i < pieceCount; ++i)
        out += pieces[random.bounded(int(pieces.size()))];
    return out;
}

// A query the text may hold: a piece of it (never starting inside a
// surrogate pair), with some cases flipped.
QString randomQuery(QRandomGenerator& random, const QString& text) {
    if (text.isEmpty())
        return QStringLiteral("a");
    int from = random.bounded(int(text.size()));
    if (text[from].isLowSurrogate())
        --from;
    QString query = text.mid(from, 1 + random.bounded(4));
    for (QChar& c : query)
        if (random.bounded(2))
            c = c.isUpper() ? c.toLower() : c.toUpper();
    return query.trimmed().isEmpty() ? QStringLiteral("a") : query.trimmed();
}

} // namespace

class TestSearchMatcher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void finds_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Ranges>("matches");
        QTest::newRow("any case") << QStringLiteral("Foo") << QStringLiteral("foo FOO fOo")
                                  << Ranges{{0, 3}, {4, 3}, {8, 3}};
        QTest::newRow("never overlapping")
            << QStringLiteral("aa") << QStringLiteral("aaaa") << Ranges{{0, 2}, {2, 2}};
        QTest::newRow("Kelvin sign folds to k")
            << QStringLiteral("k") << QStringLiteral("K\u212Ak") << Ranges{{0, 1}, {1, 1}, {2, 1}};
        QTest::newRow("final sigma folds to sigma")
            << QStringLiteral("σ") << QStringLiteral("Σσς") << Ranges{{0, 1}, {1, 1}, {2, 1}};
        QTest::newRow("sharp s is not ss")
            << QStringLiteral("ss") << QStringLiteral("ß") << Ranges{};
        QTest::newRow("surrogate pair by code point")
            << QStringLiteral("\U00010400") << QStringLiteral("x\U00010428\U00010400")
            << Ranges{{1, 2}, {3, 2}};
        QTest::newRow("across a line break")
            << QStringLiteral("a\nB") << QStringLiteral("xA\nbA\nb") << Ranges{{1, 3}, {4, 3}};
        QTest::newRow("empty query") << QString() << QStringLiteral("abc") << Ranges{};
    }
    void finds() {
        QFETCH(QString, query);
        QFETCH(QString, text);
        QFETCH(Ranges, matches);
        QCOMPARE(SearchMatcher::findMatches(text, query), matches);
    }

    // Short and long texts and queries take different paths in QString.
    void findsWhatIndexOfFinds() {
        QRandomGenerator random(17);
        for (int round = 0; round < 400; ++round) {
            const QString text = randomText(random, round % 2 ? 12 : 400);
            QString query = randomQuery(random, text);
            if (round % 3 == 0)
                query = text.mid(text.size() / 2, 7).trimmed().toUpper();
            if (query.isEmpty() || query.front().isLowSurrogate())
                continue;
            QCOMPARE(SearchMatcher::findMatches(text, query), indexOfMatches(text, query));
        }
    }

    // Whatever the change, searching around it gives what searching the
    // whole new text gives: inserts, deletions and replacements anywhere,
    // runs of one letter whose matches all move by one, changes reported
    // wider than they were or past the end.
    void changesGiveWhatAWholeSearchGives() {
        QRandomGenerator random(29);
        for (int round = 0; round < 300; ++round) {
            QString text = round % 5 == 0 ? QString(60, QLatin1Char('a')) : randomText(random, 80);
            const QString query = round % 5 == 0 ? QStringLiteral("aA") : randomQuery(random, text);
            Ranges matches = SearchMatcher::findMatches(text, query);
            for (int edit = 0; edit < 12; ++edit) {
                const int from = random.bounded(int(text.size()) + 1);
                const int removed = random.bounded(int(text.size()) - from + 1) % 9;
                const QString added = round % 5 == 0 ? QString(random.bounded(3), QLatin1Char('a'))
                                                     : randomText(random, random.bounded(4));
                text.replace(from, removed, added);
                const int before = int(text.size()) - int(added.size()) + removed;
                TextChange change{from, removed, int(added.size())};
                if (edit % 4 == 1) // reported as the whole rest of the text, and past it
                    change = {from, before - from + 5, int(text.size()) - from + 5};
                if (edit % 4 == 2) // the first load's closing separator
                    change = {0, before + 1, int(text.size()) + 1};
                matches = SearchMatcher::matchesAfterChange(matches, text, query, change);
                QCOMPARE(matches, SearchMatcher::findMatches(text, query));
            }
        }
    }
};

QTEST_MAIN(TestSearchMatcher)
#include "tst_searchmatcher.moc"
