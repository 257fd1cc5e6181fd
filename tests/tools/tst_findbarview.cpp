#include "core/AppLanguageManager.h"
#include "tools/FindBarView.h"
#include "windows/PlainButton.h"

#include <QLineEdit>
#include <QTest>

class TestFindBarView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { AppLanguageManager::apply(AppLanguage::English); }

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
