#include "core/FeatureTourController.h"
#include "core/Preferences.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QTest>

class TestFeatureTourController : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    // From a state (hidden or showing slide i) one operation leads to the
    // next state; only skip and complete, and advance past the last slide,
    // record the tour as seen. Values set to what they hold announce nothing.
    void stateTable_data() {
        QTest::addColumn<bool>("presented");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("presentedAfter");
        QTest::addColumn<int>("indexAfter");
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<int>("notifications");
        QTest::newRow("present while hidden") << false << 0 << "present" << true << 0 << false << 1;
        QTest::newRow("present on slide 3") << true << 3 << "present" << true << 0 << false << 1;
        QTest::newRow("present on the first") << true << 0 << "present" << true << 0 << false << 0;
        QTest::newRow("advance") << true << 2 << "advance" << true << 3 << false << 1;
        QTest::newRow("advance on the last") << true << 5 << "advance" << false << 5 << true << 1;
        QTest::newRow("back") << true << 3 << "goBack" << true << 2 << false << 1;
        QTest::newRow("back on the first") << true << 0 << "goBack" << true << 0 << false << 0;
        QTest::newRow("skip keeps the index") << true << 4 << "skip" << false << 4 << true << 1;
        QTest::newRow("complete") << true << 1 << "complete" << false << 1 << true << 1;
        QTest::newRow("skip while hidden") << false << 2 << "skip" << false << 2 << true << 0;
        QTest::newRow("complete while hidden")
            << false << 0 << "complete" << false << 0 << true << 0;
    }
    void stateTable() {
        QFETCH(bool, presented);
        QFETCH(int, index);
        QFETCH(QString, operation);
        QFETCH(bool, presentedAfter);
        QFETCH(int, indexAfter);
        QFETCH(bool, recorded);
        QFETCH(int, notifications);

        FeatureTourController tour;
        tour.present();
        for (int i = 0; i < index; ++i)
            tour.advance();
        if (!presented)
            tour.skip();
        TestSupport::resetPreferences();
        Preferences::shared().setBoolean(PreferenceKeys::showFeatureTourOnLaunch, true);
        QCOMPARE(tour.isPresented(), presented);
        QCOMPARE(tour.currentIndex(), index);

        QSignalSpy shown(&tour, &FeatureTourController::isPresentedChanged);
        QSignalSpy moved(&tour, &FeatureTourController::currentIndexChanged);
        using Operation = void (FeatureTourController::*)();
        const QHash<QString, Operation> operations = {
            {QStringLiteral("present"), &FeatureTourController::present},
            {QStringLiteral("advance"), &FeatureTourController::advance},
            {QStringLiteral("goBack"), &FeatureTourController::goBack},
            {QStringLiteral("skip"), &FeatureTourController::skip},
            {QStringLiteral("complete"), &FeatureTourController::complete}};
        (tour.*operations.value(operation))();
        QCOMPARE(tour.isPresented(), presentedAfter);
        QCOMPARE(tour.currentIndex(), indexAfter);
        QCOMPARE(shown.count() + moved.count(), notifications);
        QCOMPARE(Preferences::shared().contains(PreferenceKeys::onboardingCompleted), recorded);
        QCOMPARE(Preferences::shared().onboardingCompleted(), recorded);
        QCOMPARE(Preferences::shared().showFeatureTourOnLaunch(), !recorded);
    }
};

QTEST_MAIN(TestFeatureTourController)
#include "tst_featuretourcontroller.moc"
