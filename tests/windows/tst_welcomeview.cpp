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
        // Anywhere on the window, not only on the dashed zone; web links alone are refused.
        const QPoint corner(5, 5);
        std::unique_ptr<QMimeData> web(mimeWith({QUrl(QStringLiteral("https://example.com/"))}));
        QDragEnterEvent webEnter(corner, Qt::CopyAction, web.get(), Qt::LeftButton, {});
        webEnter.ignore();
        QApplication::sendEvent(&view, &webEnter);
        QVERIFY(!webEnter.isAccepted());
        QVERIFY(!view.dropZone()->isTargeted());

        const QUrl first = QUrl::fromLocalFile(QStringLiteral("/tmp/b.md"));
        const QUrl second = QUrl::fromLocalFile(QStringLiteral("/tmp/a.md"));
        std::unique_ptr<QMimeData> data(
            mimeWith({first, QUrl(QStringLiteral("https://example.com/c.md")), second}));
        QDragEnterEvent enter(corner, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(&view, &enter);
        QVERIFY(enter.isAccepted());
        QVERIFY(view.dropZone()->isTargeted());
        QDragLeaveEvent leave;
        QApplication::sendEvent(&view, &leave);
        QVERIFY(!view.dropZone()->isTargeted());

        QApplication::sendEvent(&view, &enter);
        QDropEvent drop(QPointF(corner), Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(&view, &drop);
        QVERIFY(!view.dropZone()->isTargeted());
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.first().first().value<QList<QUrl>>(), (QList<QUrl>{first, second}));
    }

    void columnStaysCentredAndNarrow() {
        RecentFilesStore store;
        WelcomeView view(store);
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

    // A pressed button dims its fill only; switching to dark recolours it.
    void buttonLooksFollowPressAndAppearance() {
        const WelcomeButtonLook primary =
            WelcomePrimaryButtonStyle::look(AppearanceService::shared().designSystem(), false);
        WelcomeButton button(WelcomeButton::Style::Primary);
        button.setDown(true);
        QCOMPARE(button.look().foreground, primary.foreground);
        QVERIFY(qAbs(button.look().background.alphaF() - primary.background.alphaF() * 0.85) <
                0.01);
        button.setDown(false);
        Preferences::shared().setString(PreferenceKeys::appearancePreference,
                                        QStringLiteral("dark"));
        QCOMPARE(button.look().background, QColor(DesignSystem::Colors::dark().accent));
    }
};

QTEST_MAIN(TestWelcomeView)
#include "tst_welcomeview.moc"
