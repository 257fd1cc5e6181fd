#include "support/TestSupport.h"
#include "windows/AboutInfo.h"
#include "windows/AboutView.h"
#include "windows/PlainButton.h"
#include "windows/ThemedLabel.h"

#include <QTest>

class TestAboutView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::resetPreferences(); }

    void versionFromTheBuild() {
        // The build configures version 1.0, build 1 and no copyright.
        const AboutInfo configured = AboutInfo::configured();
        QCOMPARE(configured.versionLabel(), QStringLiteral("Version 1.0 (1)"));
        QVERIFY(configured.copyright.isEmpty());

        const AboutInfo unset = AboutInfo::from({}, {}, {});
        QCOMPARE(unset.versionLabel(), QStringLiteral("Version 1.0 (1)"));
        QCOMPARE(AboutInfo::from(QStringLiteral("2.3"), QStringLiteral("45"), {}).versionLabel(),
                 QStringLiteral("Version 2.3 (45)"));
    }

    void copyrightRowOnlyWhenConfigured() {
        AboutView plain;
        plain.show();
        QCOMPARE(plain.versionLabel()->text(), QStringLiteral("Version 1.0 (1)"));
        QVERIFY(!plain.copyrightLabel());
        QCOMPARE(plain.width(), AboutView::fixedWidth);
        QCOMPARE(plain.windowTitle(), QStringLiteral("About quon"));

        AboutView signed_(AboutInfo::from({}, {}, QStringLiteral("© 2025 quon")));
        signed_.show();
        QVERIFY(signed_.copyrightLabel());
        QCOMPARE(signed_.copyrightLabel()->text(), QStringLiteral("© 2025 quon"));
        QVERIFY(signed_.sizeHint().height() > plain.sizeHint().height());
    }

    void creditsNameTheLibraries() {
        AboutView view;
        const QList<PlainButton*> links = view.creditLinks();
        QCOMPARE(links.size(), 2);
        QCOMPARE(links[0]->text(), QStringLiteral("cmark-gfm"));
        QCOMPARE(links[1]->text(), QStringLiteral("highlight.js"));
        QVERIFY(links[0]->toolTip().startsWith(QStringLiteral("https://")));
    }
};

QTEST_MAIN(TestAboutView)
#include "tst_aboutview.moc"
