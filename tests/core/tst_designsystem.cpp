#include "core/AppearanceResolver.h"
#include "core/AppearanceService.h"
#include "core/Preferences.h"
#include "platform/SystemColorScheme.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFontInfo>
#include <QSignalSpy>
#include <QTest>

using Colors = DesignSystem::Colors;

class TestDesignSystem : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        TestSupport::resetPreferences();
        SystemColorScheme::shared().setDark(false);
    }

    // What valid names give, every palette and font, the export's golden
    // pages hold; here what the resolver makes of names that do not fit.
    void resolverFallbacksAndFonts() {
        const auto check = [](const char* name, const AppearanceInputs& in, ColorScheme system,
                              const Colors& colors, FontDesign font) {
            const DesignSystem ds = AppearanceResolver::designSystem(in, system);
            QVERIFY2(ds.colors == colors, name);
            QVERIFY2(ds.typography.design == font, name);
            const bool dark = AppearanceResolver::resolvedScheme(in, system) == ColorScheme::Dark;
            QVERIFY2(ds.codeTheme == (dark ? "atom-one-dark" : "atom-one-light"), name);
        };
        using enum ColorScheme;
        check("defaults", {}, Dark, Colors::light(), FontDesign::Serif);
        check("unknown follows system", {"Dark"}, Dark, Colors::dark(), FontDesign::Default);
        check("light theme as dark", {"dark", "warmEditorial", "porcelain"}, Light, Colors::dark(),
              FontDesign::Default);
        check("dark theme as light", {"light", "depth"}, Dark, Colors::light(), FontDesign::Serif);
        check("synced fonts", {"dark", "sage", "depth", "rounded", "mono", true}, Light,
              Colors::depth(), FontDesign::Rounded);
        check("dark font", {"dark", "sage", "depth", "rounded", "mono"}, Light, Colors::depth(),
              FontDesign::Monospaced);
        check("unknown dark font", {"system", "sage", "sleekPro", "rounded", "nope"}, Dark,
              Colors::dark(), FontDesign::Default);
        check("unknown light font", {"system", "sage", "sleekPro", "nope", "mono", true}, Dark,
              Colors::dark(), FontDesign::Serif);
        QCOMPARE(AppearanceResolver::forcedScheme({}), ColorScheme::Light);
        QCOMPARE(AppearanceResolver::forcedScheme({"Dark"}), std::nullopt);
    }

    void fontsRenderAtLogicalPixels() {
        const auto t = DesignSystem::Typography::standard(FontDesign::Rounded);
        QCOMPARE(QFontInfo(t.body).pixelSize(), 15);
        QVERIFY(QFontInfo(t.code).fixedPitch());
    }

    void serviceFollowsPreferencesAndSystem() {
        AppearanceService& service = AppearanceService::shared();
        QSignalSpy spy(&service, &AppearanceService::changed);
        Preferences::shared().setString(PreferenceKeys::appearancePreference,
                                        QStringLiteral("system"));
        QCOMPARE(service.designSystem().colors, Colors::light());
        SystemColorScheme::shared().setDark(true);
        QCOMPARE(service.designSystem().colors, Colors::dark());
        Preferences::shared().setString(PreferenceKeys::darkThemeChoice, QStringLiteral("depth"));
        QCOMPARE(service.designSystem().colors, Colors::depth());
        QVERIFY(spy.count() >= 3);
        const QPalette p = QApplication::palette();
        QCOMPARE(p.color(QPalette::Highlight), Colors::depth().accent.toQColor());
        QCOMPARE(p.color(QPalette::HighlightedText), Colors::depth().onAccent.toQColor());
        QCOMPARE(p.color(QPalette::Link), Colors::depth().accent.toQColor());
    }
};

QTEST_MAIN(TestDesignSystem)
#include "tst_designsystem.moc"
