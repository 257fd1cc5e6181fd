#include "core/AppearanceService.h"
#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "support/TestSupport.h"
#include "windows/DropZoneView.h"
#include "windows/WelcomeButtonStyles.h"
#include "windows/WelcomeView.h"

#include <QApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

namespace {

QMimeData* mimeWith(const QList<QUrl>& urls) {
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

} // namespace

class TestWelcomeView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    void dropsReachTheOpenerAsLocalFilesInOrder() {
        RecentFilesStore store;
        WelcomeView view(store);
        view.show();
        QSignalSpy dropped(&view, &WelcomeView::filesDropped);
        const QUrl first = QUrl::fromLocalFile(QStringLiteral("/tmp/b.md"));
        const QUrl second = QUrl::fromLocalFile(QStringLiteral("/tmp/a.md"));
        std::unique_ptr<QMimeData> data(
            mimeWith({first, QUrl(QStringLiteral("https://example.com/c.md")), second}));

        // Anywhere on the window, not only on the dashed zone.
        const QPoint corner(5, 5);
        QDragEnterEvent enter(corner, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(&view, &enter);
        QVERIFY(enter.isAccepted());
        QVERIFY(view.dropZone()->isTargeted());

        QDropEvent drop(QPointF(corner), Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(&view, &drop);
        QVERIFY(!view.dropZone()->isTargeted());
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.first().first().value<QList<QUrl>>(), (QList<QUrl>{first, second}));
    }

    void onlyFileDragsLightTheZone() {
        RecentFilesStore store;
        WelcomeView view(store);
        view.show();
        std::unique_ptr<QMimeData> web(mimeWith({QUrl(QStringLiteral("https://example.com/"))}));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, web.get(), Qt::LeftButton, {});
        enter.ignore();
        QApplication::sendEvent(&view, &enter);
        QVERIFY(!enter.isAccepted());
        QVERIFY(!view.dropZone()->isTargeted());

        std::unique_ptr<QMimeData> file(mimeWith({QUrl::fromLocalFile(QStringLiteral("/x.md"))}));
        QDragEnterEvent fileEnter(QPoint(5, 5), Qt::CopyAction, file.get(), Qt::LeftButton, {});
        QApplication::sendEvent(&view, &fileEnter);
        QVERIFY(view.dropZone()->isTargeted());
        QDragLeaveEvent leave;
        QApplication::sendEvent(&view, &leave);
        QVERIFY(!view.dropZone()->isTargeted());
    }

    void buttonsReportTheirChoice() {
        RecentFilesStore store;
        WelcomeView view(store);
        QSignalSpy newRequested(&view, &WelcomeView::newDocumentRequested);
        QSignalSpy openRequested(&view, &WelcomeView::openDocumentRequested);
        view.newButton()->click();
        view.openButton()->click();
        QCOMPARE(newRequested.count(), 1);
        QCOMPARE(openRequested.count(), 1);
        QCOMPARE(view.newButton()->text(), QStringLiteral("New Document"));
        QCOMPARE(view.openButton()->text(), QStringLiteral("Open…"));
    }

    void columnStaysCentredAndNarrow() {
        RecentFilesStore store;
        WelcomeView view(store);
        QCOMPARE(view.minimumSize(), QSize(680, 520));
        view.resize(1200, 700);
        view.show();
        QCoreApplication::processEvents();
        const QRect column = view.contentColumn()->geometry();
        QCOMPARE(column.width(), WelcomeView::maximumColumnWidth);
        const int viewport = view.contentColumn()->parentWidget()->width();
        QVERIFY(qAbs(column.left() - (viewport - column.right() - 1)) <= 1);
        // The two buttons share their row equally.
        QCOMPARE(view.newButton()->width(), view.openButton()->width());
    }

    void buttonStylesFollowTheDesignSystem() {
        const DesignSystem& ds = AppearanceService::shared().designSystem();
        const WelcomeButtonLook primary = WelcomePrimaryButtonStyle::look(ds, false);
        QCOMPARE(primary.background, QColor(ds.colors.accent));
        QCOMPARE(primary.foreground, QColor(ds.colors.onAccent));
        QCOMPARE(primary.font.weight(), QFont::DemiBold);
        QVERIFY(!primary.border.isValid());
        QVERIFY(qAbs(WelcomePrimaryButtonStyle::look(ds, true).background.alphaF() -
                     primary.background.alphaF() * 0.85) < 0.01);

        const WelcomeButtonLook secondary = WelcomeSecondaryButtonStyle::look(ds, false);
        QCOMPARE(secondary.background, QColor(ds.colors.segmentTrack));
        QCOMPARE(secondary.border, QColor(ds.colors.segmentBorder));
        QCOMPARE(secondary.font.weight(), QFont::Medium);
        QVERIFY(qAbs(WelcomeSecondaryButtonStyle::look(ds, true).background.alphaF() -
                     secondary.background.alphaF() * 0.8) < 0.01);

        // A pressed button dims its fill only; switching to dark recolours it.
        WelcomeButton button(WelcomeButton::Style::Primary);
        const QColor light = button.look().background;
        button.setDown(true);
        QCOMPARE(button.look().foreground, primary.foreground);
        QVERIFY(button.look().background.alphaF() < 1.0);
        button.setDown(false);
        Preferences::shared().setString(PreferenceKeys::appearancePreference,
                                        QStringLiteral("dark"));
        QCOMPARE(button.look().background, QColor(DesignSystem::Colors::dark().accent));
        QVERIFY(button.look().background != light);
    }
};

QTEST_MAIN(TestWelcomeView)
#include "tst_welcomeview.moc"
