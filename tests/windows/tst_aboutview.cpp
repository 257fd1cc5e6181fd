#include "support/TestSupport.h"
#include "widgets/ThemedLabel.h"
#include "windows/AboutInfo.h"
#include "windows/AboutView.h"

#include <QImage>
#include <QTest>

class TestAboutView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    void versionAndCopyright() {
        // The build configures version 1.0, build 1 and no copyright; unset values mean the same.
        QVERIFY(AboutInfo::configured().copyright.isEmpty());
        QCOMPARE(AboutInfo::from({}, {}, {}).versionLabel(), QStringLiteral("Version 1.0 (1)"));
        QCOMPARE(AboutInfo::from(QStringLiteral("2.3"), QStringLiteral("45"), {}).versionLabel(),
                 QStringLiteral("Version 2.3 (45)"));

        AboutView plain;
        QCOMPARE(plain.versionLabel()->text(), QStringLiteral("Version 1.0 (1)"));
        QVERIFY(!plain.copyrightLabel());
        AboutView signed_(AboutInfo::from({}, {}, QStringLiteral("© 2025 quon")));
        QCOMPARE(signed_.copyrightLabel()->text(), QStringLiteral("© 2025 quon"));
    }

    // quon's own icon fills the 96-point space at the top, installed or not.
    void showsTheApplicationIcon() {
        AboutView view;
        view.resize(AboutView::fixedWidth, 420);
        QWidget* icon = nullptr;
        for (QWidget* child : view.findChildren<QWidget*>())
            if (child->size() == QSize(96, 96))
                icon = child;
        QVERIFY(icon);
        const QImage drawn = icon->grab().toImage();
        const QColor tile = drawn.pixelColor(drawn.width() / 10, drawn.height() / 2);
        QVERIFY2(tile.red() > 200 && tile.blue() < 120, qPrintable(tile.name()));
    }
};

QTEST_MAIN(TestAboutView)
#include "tst_aboutview.moc"
