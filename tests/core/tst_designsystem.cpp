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

    // Fifteen colours per palette, each as red, green, blue, alpha.
    void paletteValues() {
        const ColorValue Colors::*fields[] = {
            &Colors::background,     &Colors::editorSurface, &Colors::previewSurface,
            &Colors::chrome,         &Colors::text,          &Colors::secondaryText,
            &Colors::mutedText,      &Colors::accent,        &Colors::onAccent,
            &Colors::codeBackground, &Colors::codeBorder,    &Colors::divider,
            &Colors::quoteBorder,    &Colors::segmentTrack,  &Colors::segmentBorder};
        const struct {
            const char* name;
            const Colors& (*palette)();
            QList<double> values;
        } palettes[] = {
            {"light",
             &Colors::light,
             {0.937, 0.914, 0.875, 1,    0.969, 0.949, 0.914, 1,    0.928, 0.9,   0.853, 1,
              0.918, 0.89,  0.839, 1,    0.18,  0.145, 0.098, 1,    0.42,  0.365, 0.278, 1,
              0.604, 0.541, 0.439, 1,    0.769, 0.416, 0.239, 1,    1,     1,     1,     1,
              0.937, 0.91,  0.855, 1,    0.18,  0.145, 0.098, 0.12, 0.18,  0.145, 0.098, 0.1,
              0.769, 0.416, 0.239, 0.55, 0.886, 0.851, 0.792, 1,    0.18,  0.145, 0.098, 0.08}},
            {"porcelain",
             &Colors::porcelain,
             {0.949, 0.953, 0.969, 1,   0.992, 0.992, 0.996, 1,   0.965, 0.969, 0.98,  1,
              0.953, 0.957, 0.973, 1,   0.122, 0.137, 0.157, 1,   0.341, 0.376, 0.416, 1,
              0.549, 0.58,  0.62,  1,   0.31,  0.427, 0.961, 1,   1,     1,     1,     1,
              0.933, 0.945, 0.965, 1,   0.122, 0.137, 0.157, 0.1, 0.122, 0.137, 0.157, 0.08,
              0.31,  0.427, 0.961, 0.5, 0.906, 0.918, 0.945, 1,   0.122, 0.137, 0.157, 0.07}},
            {"sage",
             &Colors::sage,
             {0.914, 0.933, 0.89,  1,    0.957, 0.969, 0.945, 1,    0.937, 0.953, 0.918, 1,
              0.925, 0.945, 0.902, 1,    0.149, 0.2,   0.165, 1,    0.333, 0.408, 0.361, 1,
              0.494, 0.569, 0.525, 1,    0.29,  0.486, 0.349, 1,    1,     1,     1,     1,
              0.906, 0.937, 0.882, 1,    0.149, 0.2,   0.165, 0.12, 0.149, 0.2,   0.165, 0.1,
              0.29,  0.486, 0.349, 0.55, 0.875, 0.906, 0.847, 1,    0.149, 0.2,   0.165, 0.08}},
            {"dark",
             &Colors::dark,
             {0.051, 0.059, 0.078, 1,   0.039, 0.047, 0.063, 1,    0.067, 0.077, 0.098, 1,
              0.071, 0.082, 0.106, 1,   0.949, 0.957, 0.973, 1,    0.682, 0.714, 0.769, 1,
              0.373, 0.42,  0.494, 1,   0.427, 0.361, 0.961, 1,    1,     1,     1,     1,
              0.031, 0.039, 0.063, 1,   1,     1,     1,     0.08, 1,     1,     1,     0.07,
              0.427, 0.361, 0.961, 0.6, 0.094, 0.106, 0.133, 1,    1,     1,     1,     0.08}},
            {"depth",
             &Colors::depth,
             {0.039, 0.059, 0.106, 1,    0.047, 0.071, 0.125, 1,    0.063, 0.094, 0.157, 1,
              0.067, 0.102, 0.169, 1,    0.863, 0.906, 0.961, 1,    0.549, 0.639, 0.765, 1,
              0.353, 0.439, 0.576, 1,    0.224, 0.776, 0.839, 1,    0.02,  0.11,  0.14,  1,
              0.055, 0.082, 0.141, 1,    1,     1,     1,     0.08, 1,     1,     1,     0.07,
              0.224, 0.776, 0.839, 0.55, 0.078, 0.114, 0.184, 1,    1,     1,     1,     0.08}},
            {"ember",
             &Colors::ember,
             {0.071, 0.055, 0.043, 1,   0.09,  0.071, 0.055, 1,    0.114, 0.09,  0.071, 1,
              0.122, 0.094, 0.075, 1,   0.949, 0.906, 0.855, 1,    0.753, 0.671, 0.588, 1,
              0.553, 0.478, 0.4,   1,   0.91,  0.58,  0.29,  1,    0.169, 0.102, 0.047, 1,
              0.141, 0.11,  0.082, 1,   1,     1,     1,     0.08, 1,     1,     1,     0.07,
              0.91,  0.58,  0.29,  0.6, 0.149, 0.125, 0.098, 1,    1,     1,     1,     0.08}},
        };
        for (const auto& p : palettes) {
            QCOMPARE(p.values.size(), 60);
            for (int i = 0; i < 15; ++i) {
                const double* v = p.values.constData() + 4 * i;
                QVERIFY2(p.palette().*fields[i] == (ColorValue{v[0], v[1], v[2], v[3]}),
                         qPrintable(QStringLiteral("%1 colour %2").arg(p.name).arg(i)));
            }
        }
    }

    void resolverFallbacksAndFonts() {
        const struct {
            const char* name;
            AppearanceInputs in;
            ColorScheme system;
            const Colors& colors;
            FontDesign font;
        } cases[] = {
            {"defaults", {}, ColorScheme::Dark, Colors::light(), FontDesign::Serif},
            {"dark", {"dark"}, ColorScheme::Light, Colors::dark(), FontDesign::Default},
            {"unknown follows system",
             {"Dark"},
             ColorScheme::Dark,
             Colors::dark(),
             FontDesign::Default},
            {"bogus", {"bogus"}, ColorScheme::Light, Colors::light(), FontDesign::Serif},
            {"light theme as dark",
             {"dark", "warmEditorial", "porcelain"},
             ColorScheme::Light,
             Colors::dark(),
             FontDesign::Default},
            {"ember",
             {"dark", "warmEditorial", "ember"},
             ColorScheme::Light,
             Colors::ember(),
             FontDesign::Default},
            {"dark theme as light",
             {"light", "depth"},
             ColorScheme::Dark,
             Colors::light(),
             FontDesign::Serif},
            {"sage", {"light", "sage"}, ColorScheme::Light, Colors::sage(), FontDesign::Serif},
            {"synced fonts",
             {"dark", "sage", "depth", "rounded", "mono", true},
             ColorScheme::Light,
             Colors::depth(),
             FontDesign::Rounded},
            {"dark font",
             {"dark", "sage", "depth", "rounded", "mono"},
             ColorScheme::Light,
             Colors::depth(),
             FontDesign::Monospaced},
            {"unknown dark font",
             {"system", "sage", "sleekPro", "rounded", "nope"},
             ColorScheme::Dark,
             Colors::dark(),
             FontDesign::Default},
            {"unknown light font",
             {"system", "sage", "sleekPro", "nope", "mono", true},
             ColorScheme::Dark,
             Colors::dark(),
             FontDesign::Serif},
        };
        for (const auto& c : cases) {
            const DesignSystem ds = AppearanceResolver::designSystem(c.in, c.system);
            const bool dark =
                AppearanceResolver::resolvedScheme(c.in, c.system) == ColorScheme::Dark;
            QVERIFY2(ds.colors == c.colors, c.name);
            QVERIFY2(ds.typography.design == c.font, c.name);
            QCOMPARE(ds.codeTheme,
                     dark ? QStringLiteral("atom-one-dark") : QStringLiteral("atom-one-light"));
        }
        QCOMPARE(AppearanceResolver::forcedScheme({}), ColorScheme::Light);
        QCOMPARE(AppearanceResolver::forcedScheme({"Dark"}), std::nullopt);
    }

    void fontsRenderAtLogicalPixels() {
        const auto t = DesignSystem::Typography::standard(FontDesign::Rounded);
        QCOMPARE(QFontInfo(t.body).pixelSize(), 15);
        QCOMPARE(QFontInfo(t.callout).pixelSize(), 13);
        QCOMPARE(QFontInfo(t.code).pixelSize(), 13);
        QCOMPARE(QFontInfo(t.caption).pixelSize(), 11);
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
