#include "core/AppLanguageManager.h"
#include "tools/FindBarView.h"
#include "widgets/PlainButton.h"

#include <QLineEdit>
#include <QTest>

class TestFindBarView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { AppLanguageManager::apply(AppLanguage::English); }

    // The texts follow a change of the interface language, counts in that
    // language's order; the arrows' tooltips stay as written.
    void textsFollowTheLanguage() {
        FindBarView bar;
        bar.setState(QStringLiteral("a"), 12, 2);
        AppLanguageManager::apply(AppLanguage::Polish);
        QCoreApplication::processEvents();
        QCOMPARE(bar.field()->placeholderText(), QStringLiteral("Znajdź"));
        QCOMPARE(bar.statusText(), QStringLiteral("3 z 12"));
        bar.setState(QStringLiteral("a"), 0, 0);
        QCOMPARE(bar.statusText(), QStringLiteral("Brak wyników"));
        QCOMPARE(bar.nextButton()->toolTip(), QStringLiteral("Next match"));
    }
};

QTEST_MAIN(TestFindBarView)
#include "tst_findbarview.moc"
