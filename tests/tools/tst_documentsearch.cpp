#include "tools/DocumentSearch.h"

#include <QSignalSpy>
#include <QTest>

using Ranges = QList<TextRange>;

namespace {

// A search over a text that the test edits the way the editor does: the
// text changes, then the search hears of the change.
struct Search {
    QString text;
    DocumentSearch search{[this] { return text; }};

    explicit Search(const QString& initial) : text(initial) {}
    void edit(int position, int removed, const QString& added) {
        text.replace(position, removed, added);
        search.textChanged({position, removed, int(added.size())});
    }
    // Opens the bar the way the window does, the editor answering with seed.
    void open(const QString& seed = {}) {
        search.openFindBar();
        search.handleFindSessionStarted(seed);
    }
    Ranges matches() const { return search.state().matches; }
    int index() const { return search.state().currentIndex; }
};

// "abc" at 10, 20 and 30 of 40 units.
QString tens() {
    QString text(40, QLatin1Char('.'));
    for (int at : {10, 20, 30})
        text.replace(at, 3, QStringLiteral("abc"));
    return text;
}

} // namespace

class TestDocumentSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A text change keeps the current match on the same range while one of
    // the same length still starts there; otherwise it keeps the index.
    void textChangesKeepTheCurrentMatch_data() {
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("inserted");
        QTest::addColumn<Ranges>("matches");
        QTest::addColumn<int>("index");
        QTest::newRow("5 before: none at 20") << 0 << 5 << Ranges{{15, 3}, {25, 3}, {35, 3}} << 1;
        QTest::newRow("10 before: one at 20") << 0 << 10 << Ranges{{20, 3}, {30, 3}, {40, 3}} << 0;
        QTest::newRow("after the last") << 35 << 4 << Ranges{{10, 3}, {20, 3}, {30, 3}} << 1;
    }
    void textChangesKeepTheCurrentMatch() {
        QFETCH(int, at);
        QFETCH(int, inserted);
        QFETCH(Ranges, matches);
        QFETCH(int, index);
        Search s(tens());
        s.open();
        s.search.setQuery(QStringLiteral("ABC"));
        s.search.advanceFindMatch(true);
        QCOMPARE(s.index(), 1);
        s.edit(at, 0, QString(inserted, QLatin1Char('x')));
        QCOMPARE(s.matches(), matches);
        QCOMPARE(s.index(), index);
    }

    void shrinkingTextClampsTheIndexAndQueryChangesResetIt() {
        Search s(tens());
        s.open(QStringLiteral("abc"));
        s.search.advanceFindMatch(false);
        QCOMPARE(s.index(), 2);
        s.edit(15, 25, QString()); // only the match at 10 is left
        QCOMPARE(s.matches(), (Ranges{{10, 3}}));
        QCOMPARE(s.index(), 0);

        s.edit(0, 0, QStringLiteral("abc abc "));
        s.search.advanceFindMatch(true);
        QCOMPARE(s.index(), 1);
        s.search.setQuery(QStringLiteral("ab"));
        QCOMPARE(s.index(), 0);
        QCOMPARE(s.matches().size(), 3);
    }

    void nextAndPreviousWrap() {
        Search s(QStringLiteral("cat cat cat"));
        s.search.setQuery(QStringLiteral("cat"));
        s.search.advanceFindMatch(true); // hidden: nothing
        QCOMPARE(s.index(), 0);
        s.open();
        s.search.advanceFindMatch(false);
        QCOMPARE(s.index(), 2);
        s.search.advanceFindMatch(true);
        QCOMPARE(s.index(), 0);

        s.search.setQuery(QStringLiteral("dog"));
        QSignalSpy changes(&s.search, &DocumentSearch::stateChanged);
        s.search.advanceFindMatch(true);
        QCOMPARE(s.index(), 0);
        QCOMPARE(changes.count(), 0);
    }

    // Every new query reaches the bar, also one that matches nothing while
    // nothing matched before: the bar shows "No results" from its state.
    void everyNewQueryIsAChange() {
        Search s(QStringLiteral("cat"));
        QSignalSpy changes(&s.search, &DocumentSearch::stateChanged);
        s.open(QStringLiteral("dog")); // the seed
        QCOMPARE(changes.count(), 1);
        QCOMPARE(s.search.state().query, QStringLiteral("dog"));
        s.search.setQuery(QStringLiteral("dogs"));
        QCOMPARE(changes.count(), 2);
        s.search.setQuery(QStringLiteral("dogs "));
        QCOMPARE(changes.count(), 3);
        QCOMPARE(s.search.state().query, QStringLiteral("dogs "));
        s.search.closeFindBar();
        QCOMPARE(changes.count(), 4);
        QVERIFY(s.search.findInEditor(QStringLiteral("bird")));
        QCOMPARE(changes.count(), 5);
        QCOMPARE(s.search.state().query, QStringLiteral("bird"));
        QVERIFY(s.matches().isEmpty());
    }

    // An edit the search did not hear of is caught by the next one, which
    // then searches the whole text.
    void aMissedChangeIsSearchedWhole() {
        Search s(QStringLiteral("abc"));
        s.open(QStringLiteral("abc"));
        s.text.prepend(QStringLiteral("abc "));
        s.edit(0, 0, QStringLiteral("x"));
        QCOMPARE(s.matches(), (Ranges{{1, 3}, {5, 3}}));
    }
};

QTEST_MAIN(TestDocumentSearch)
#include "tst_documentsearch.moc"
