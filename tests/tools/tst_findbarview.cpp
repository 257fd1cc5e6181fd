#include "core/AppLanguageManager.h"
#include "tools/FindBarView.h"
#include "windows/PlainButton.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class TestFindBarView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { AppLanguageManager::apply(AppLanguage::English); }

    // What the bar shows for a query and its counts.
    void counts_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("status"); // "-" for none shown
        QTest::addColumn<bool>("arrows");
        QTest::newRow("empty") << QString() << 0 << 0 << "-" << false;
        QTest::newRow("only spaces") << QStringLiteral("   ") << 0 << 0 << "-" << false;
        QTest::newRow("third of twelve") << QStringLiteral("a") << 12 << 2 << "3 of 12" << true;
        QTest::newRow("no match") << QStringLiteral("zebra") << 0 << 0 << "No results" << false;
    }
    void counts() {
        QFETCH(QString, query);
        QFETCH(int, count);
        QFETCH(int, index);
        QFETCH(QString, status);
        QFETCH(bool, arrows);
        FindBarView bar;
        bar.setState(query, count, index);
        QCOMPARE(bar.statusText(), status == QLatin1String("-") ? QString() : status);
        QCOMPARE(bar.previousButton()->isEnabled(), arrows);
        QCOMPARE(bar.nextButton()->isEnabled(), arrows);
        QCOMPARE(bar.field()->text(), query);
    }

    void fieldAndButtonsReport() {
        FindBarView bar;
        bar.show();
        QSignalSpy edits(&bar, &FindBarView::queryEdited);
        QSignalSpy next(&bar, &FindBarView::nextRequested);
        QSignalSpy previous(&bar, &FindBarView::previousRequested);
        QSignalSpy close(&bar, &FindBarView::closeRequested);
        QTest::keyClicks(bar.field(), QStringLiteral("ab"));
        QCOMPARE(edits.count(), 2);
        QCOMPARE(edits.last().at(0).toString(), QStringLiteral("ab"));
        QTest::keyClick(bar.field(), Qt::Key_Return);
        QCOMPARE(next.count(), 1);
        bar.setState(QStringLiteral("ab"), 2, 0);
        QCOMPARE(edits.count(), 2); // the window's own query is no edit
        bar.previousButton()->click();
        bar.nextButton()->click();
        bar.closeButton()->click();
        QCOMPARE(previous.count(), 1);
        QCOMPARE(next.count(), 2);
        QCOMPARE(close.count(), 1);
    }

    // The texts follow the interface language; the arrows' tooltips stay
    // as written.
    void languages_data() {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QStringList>("texts"); // placeholder, count, no results, close
        QTest::newRow("pl") << AppLanguage::Polish
                            << QStringList{"Znajdź", "3 z 12", "Brak wyników",
                                           "Zamknij pasek wyszukiwania"};
        QTest::newRow("es") << AppLanguage::Spanish
                            << QStringList{"Buscar", "3 de 12", "Sin resultados",
                                           "Cerrar la barra de búsqueda"};
    }
    void languages() {
        QFETCH(AppLanguage, language);
        QFETCH(QStringList, texts);
        FindBarView bar;
        bar.setState(QStringLiteral("a"), 12, 2);
        AppLanguageManager::apply(language);
        QCoreApplication::processEvents();
        QCOMPARE(bar.field()->placeholderText(), texts[0]);
        QCOMPARE(bar.statusText(), texts[1]);
        bar.setState(QStringLiteral("a"), 0, 0);
        QCOMPARE(bar.statusText(), texts[2]);
        QCOMPARE(bar.closeButton()->toolTip(), texts[3]);
        QCOMPARE(bar.previousButton()->toolTip(), QStringLiteral("Previous match"));
        QCOMPARE(bar.nextButton()->toolTip(), QStringLiteral("Next match"));
    }
};

QTEST_MAIN(TestFindBarView)
#include "tst_findbarview.moc"
