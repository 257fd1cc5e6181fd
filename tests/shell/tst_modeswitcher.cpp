#include "core/Preferences.h"
#include "shell/ModeSwitcher.h"
#include "shell/ViewModeMemory.h"
#include "support/AnimationClock.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QTest>

class TestModeSwitcher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    void clickReportsAndTheOwnerSets() {
        ModeSwitcher switcher;
        switcher.show();
        QVERIFY(QTest::qWaitForWindowExposed(&switcher));
        QCOMPARE(switcher.mode(), ViewMode::Split);
        QSignalSpy chosen(&switcher, &ModeSwitcher::modeChosen);

        QTest::mouseClick(switcher.segment(ViewMode::Preview), Qt::LeftButton);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).value<ViewMode>(), ViewMode::Preview);
        // Not switched until the owner says so.
        QVERIFY(switcher.segment(ViewMode::Split)->isChecked());

        switcher.setMode(ViewMode::Preview);
        QVERIFY(switcher.segment(ViewMode::Preview)->isChecked());
        QVERIFY(!switcher.segment(ViewMode::Split)->isChecked());

        // The selected segment again reports the same mode.
        QTest::mouseClick(switcher.segment(ViewMode::Preview), Qt::LeftButton);
        QCOMPARE(chosen.size(), 2);
        QCOMPARE(chosen.at(1).at(0).value<ViewMode>(), ViewMode::Preview);
    }

    // The pill moves to the new segment over a moment; a change mid-way
    // sets off from where it stands, never from a jump.
    void pillMovesFromWhereItStands() {
        ModeSwitcher switcher;
        switcher.show();
        QVERIFY(QTest::qWaitForWindowExposed(&switcher));
        const QRectF edit(switcher.segment(ViewMode::Edit)->geometry());
        const QRectF split(switcher.segment(ViewMode::Split)->geometry());
        const QRectF preview(switcher.segment(ViewMode::Preview)->geometry());
        AnimationClock clock;
        switcher.setMode(ViewMode::Preview);
        QCOMPARE(switcher.pillRect(), split);
        for (int ms = 20; ms <= 200; ms += 20) {
            clock.step(20);
            QVERIFY2(switcher.pillRect() != preview, qPrintable(QString::number(ms)));
        }
        QVERIFY(clock.finish());
        QCOMPARE(switcher.pillRect(), preview);

        switcher.setMode(ViewMode::Edit);
        clock.step(60);
        const QRectF midway = switcher.pillRect();
        QVERIFY(midway.left() < preview.left() && midway.left() > edit.left());
        switcher.setMode(ViewMode::Split);
        QCOMPARE(switcher.pillRect(), midway);
        QVERIFY(clock.finish());
        QCOMPARE(switcher.pillRect(), split);
    }

    void restoredMode_data() {
        QTest::addColumn<QVariant>("last");
        QTest::addColumn<QVariant>("fallback");
        QTest::addColumn<ViewMode>("expected");
        const QVariant none;
        QTest::newRow("nothing stored") << none << none << ViewMode::Split;
        QTest::newRow("last used wins")
            << QVariant("Preview") << QVariant("edit") << ViewMode::Preview;
        QTest::newRow("junk last, default preview")
            << QVariant("junk") << QVariant("preview") << ViewMode::Preview;
        QTest::newRow("absent last, default any case")
            << none << QVariant("EDIT") << ViewMode::Edit;
        QTest::newRow("lower-case last is no raw value")
            << QVariant("edit") << none << ViewMode::Split;
    }

    void restoredMode() {
        QFETCH(QVariant, last);
        QFETCH(QVariant, fallback);
        QFETCH(ViewMode, expected);
        Preferences& prefs = Preferences::shared();
        if (last.isValid())
            prefs.setString(PreferenceKeys::lastViewMode, last.toString());
        if (fallback.isValid())
            prefs.setString(PreferenceKeys::defaultViewMode, fallback.toString());
        QCOMPARE(ViewModeMemory::restored(), expected);
    }
};

QTEST_MAIN(TestModeSwitcher)
#include "tst_modeswitcher.moc"
