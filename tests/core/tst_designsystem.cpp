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

namespace {
struct Rgb {
    double r, g, b;
};
// Each palette's fifteen values; an alpha column of -1 means opaque white.
struct PaletteRow {
    const char* field;
    ColorValue Colors::*member;
};
const PaletteRow rows[] = {
    {"background", &Colors::background},
    {"editorSurface", &Colors::editorSurface},
    {"previewSurface", &Colors::previewSurface},
    {"chrome", &Colors::chrome},
    {"text", &Colors::text},
    {"secondaryText", &Colors::secondaryText},
    {"mutedText", &Colors::mutedText},
    {"accent", &Colors::accent},
    {"onAccent", &Colors::onAccent},
    {"codeBackground", &Colors::codeBackground},
    {"codeBorder", &Colors::codeBorder},
    {"divider", &Colors::divider},
    {"quoteBorder", &Colors::quoteBorder},
    {"segmentTrack", &Colors::segmentTrack},
    {"segmentBorder", &Colors::segmentBorder},
};

ColorValue c(double r, double g, double b, double a = 1) {
    return {r, g, b, a};
}

QList<ColorValue> expected(const char* palette) {
    const QByteArray name(palette);
    const ColorValue white = c(1, 1, 1);
    if (name == "light") {
        ColorValue text = c(0.18, 0.145, 0.098), accent = c(0.769, 0.416, 0.239);
        return {c(0.937, 0.914, 0.875),
                c(0.969, 0.949, 0.914),
                c(0.928, 0.9, 0.853),
                c(0.918, 0.89, 0.839),
                text,
                c(0.42, 0.365, 0.278),
                c(0.604, 0.541, 0.439),
                accent,
                white,
                c(0.937, 0.91, 0.855),
                text.withAlpha(0.12),
                text.withAlpha(0.1),
                accent.withAlpha(0.55),
                c(0.886, 0.851, 0.792),
                text.withAlpha(0.08)};
    }
    if (name == "porcelain") {
        ColorValue text = c(0.122, 0.137, 0.157), accent = c(0.31, 0.427, 0.961);
        return {c(0.949, 0.953, 0.969),
                c(0.992, 0.992, 0.996),
                c(0.965, 0.969, 0.98),
                c(0.953, 0.957, 0.973),
                text,
                c(0.341, 0.376, 0.416),
                c(0.549, 0.58, 0.62),
                accent,
                white,
                c(0.933, 0.945, 0.965),
                text.withAlpha(0.1),
                text.withAlpha(0.08),
                accent.withAlpha(0.5),
                c(0.906, 0.918, 0.945),
                text.withAlpha(0.07)};
    }
    if (name == "sage") {
        ColorValue text = c(0.149, 0.2, 0.165), accent = c(0.29, 0.486, 0.349);
        return {c(0.914, 0.933, 0.89),
                c(0.957, 0.969, 0.945),
                c(0.937, 0.953, 0.918),
                c(0.925, 0.945, 0.902),
                text,
                c(0.333, 0.408, 0.361),
                c(0.494, 0.569, 0.525),
                accent,
                white,
                c(0.906, 0.937, 0.882),
                text.withAlpha(0.12),
                text.withAlpha(0.1),
                accent.withAlpha(0.55),
                c(0.875, 0.906, 0.847),
                text.withAlpha(0.08)};
    }
    const ColorValue w08 = white.withAlpha(0.08), w07 = white.withAlpha(0.07);
    if (name == "dark") {
        ColorValue accent = c(0.427, 0.361, 0.961);
        return {c(0.051, 0.059, 0.078),
                c(0.039, 0.047, 0.063),
                c(0.067, 0.077, 0.098),
                c(0.071, 0.082, 0.106),
                c(0.949, 0.957, 0.973),
                c(0.682, 0.714, 0.769),
                c(0.373, 0.42, 0.494),
                accent,
                white,
                c(0.031, 0.039, 0.063),
                w08,
                w07,
                accent.withAlpha(0.6),
                c(0.094, 0.106, 0.133),
                w08};
    }
    if (name == "depth") {
        ColorValue accent = c(0.224, 0.776, 0.839);
        return {c(0.039, 0.059, 0.106),
                c(0.047, 0.071, 0.125),
                c(0.063, 0.094, 0.157),
                c(0.067, 0.102, 0.169),
                c(0.863, 0.906, 0.961),
                c(0.549, 0.639, 0.765),
                c(0.353, 0.439, 0.576),
                accent,
                c(0.02, 0.11, 0.14),
                c(0.055, 0.082, 0.141),
                w08,
                w07,
                accent.withAlpha(0.55),
                c(0.078, 0.114, 0.184),
                w08};
    }
    ColorValue accent = c(0.91, 0.58, 0.29);
    return {c(0.071, 0.055, 0.043),
            c(0.09, 0.071, 0.055),
            c(0.114, 0.09, 0.071),
            c(0.122, 0.094, 0.075),
            c(0.949, 0.906, 0.855),
            c(0.753, 0.671, 0.588),
            c(0.553, 0.478, 0.4),
            accent,
            c(0.169, 0.102, 0.047),
            c(0.141, 0.11, 0.082),
            w08,
            w07,
            accent.withAlpha(0.6),
            c(0.149, 0.125, 0.098),
            w08};
}

AppearanceInputs inputs(const char* appearance) {
    AppearanceInputs in;
    in.appearance = QString::fromLatin1(appearance);
    return in;
}
} // namespace

class TestDesignSystem : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        TestSupport::resetPreferences();
        SystemColorScheme::shared().setDark(false);
    }

    void paletteValues_data() {
        QTest::addColumn<QByteArray>("name");
        for (const char* n : {"light", "porcelain", "sage", "dark", "depth", "ember"})
            QTest::newRow(n) << QByteArray(n);
    }
    void paletteValues() {
        QFETCH(QByteArray, name);
        const Colors& palette = name == "light"       ? Colors::light()
                                : name == "porcelain" ? Colors::porcelain()
                                : name == "sage"      ? Colors::sage()
                                : name == "dark"      ? Colors::dark()
                                : name == "depth"     ? Colors::depth()
                                                      : Colors::ember();
        const QList<ColorValue> want = expected(name.constData());
        QCOMPARE(want.size(), 15);
        for (int i = 0; i < 15; ++i) {
            const ColorValue got = palette.*(rows[i].member);
            if (!(got == want[i]))
                QFAIL(qPrintable(
                    QStringLiteral("%1.%2: got %3,%4,%5,%6")
                        .arg(QString::fromLatin1(name), QString::fromLatin1(rows[i].field))
                        .arg(got.red)
                        .arg(got.green)
                        .arg(got.blue)
                        .arg(got.alpha)));
        }
    }

    void resolverDefaultsAndFallbacks() {
        using namespace AppearanceResolver;
        const AppearanceInputs defaults;
        DesignSystem ds = designSystem(defaults, ColorScheme::Dark);
        QCOMPARE(ds.colors, Colors::light());
        QCOMPARE(ds.typography.design, FontDesign::Serif);
        QCOMPARE(ds.codeTheme, QStringLiteral("atom-one-light"));
        QCOMPARE(forcedScheme(defaults), ColorScheme::Light);

        ds = designSystem(inputs("dark"), ColorScheme::Light);
        QCOMPARE(ds.colors, Colors::dark());
        QCOMPARE(ds.typography.design, FontDesign::Default);
        QCOMPARE(ds.codeTheme, QStringLiteral("atom-one-dark"));

        // Unknown appearance follows the system, forcing nothing.
        QCOMPARE(forcedScheme(inputs("Dark")), std::nullopt);
        QCOMPARE(designSystem(inputs("Dark"), ColorScheme::Dark).colors, Colors::dark());
        QCOMPARE(designSystem(inputs("bogus"), ColorScheme::Light).colors, Colors::light());

        AppearanceInputs in = inputs("dark");
        in.darkTheme = QStringLiteral("porcelain");
        QCOMPARE(designSystem(in, ColorScheme::Light).colors, Colors::dark());
        in.darkTheme = QStringLiteral("ember");
        QCOMPARE(designSystem(in, ColorScheme::Light).colors, Colors::ember());
        in = inputs("light");
        in.lightTheme = QStringLiteral("depth");
        QCOMPARE(designSystem(in, ColorScheme::Light).colors, Colors::light());
        in.lightTheme = QStringLiteral("sage");
        QCOMPARE(designSystem(in, ColorScheme::Light).colors, Colors::sage());
    }

    void resolverFonts() {
        using namespace AppearanceResolver;
        AppearanceInputs in = inputs("dark");
        in.syncFonts = true;
        in.lightFont = QStringLiteral("rounded");
        in.darkFont = QStringLiteral("mono");
        QCOMPARE(designSystem(in, ColorScheme::Light).typography.design, FontDesign::Rounded);
        in.syncFonts = false;
        QCOMPARE(designSystem(in, ColorScheme::Light).typography.design, FontDesign::Monospaced);
        in.darkFont = QStringLiteral("nope");
        QCOMPARE(designSystem(in, ColorScheme::Light).typography.design, FontDesign::Default);
        in = inputs("light");
        in.lightFont = QStringLiteral("nope");
        QCOMPARE(designSystem(in, ColorScheme::Light).typography.design, FontDesign::Serif);
        in.syncFonts = true;
        QCOMPARE(designSystem(in, ColorScheme::Dark).typography.design, FontDesign::Serif);
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
        QCOMPARE(service.scheme(), ColorScheme::Dark);
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
