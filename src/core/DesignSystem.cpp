#include "core/DesignSystem.h"

namespace {

ColorValue rgb(double r, double g, double b) {
    return {r, g, b, 1};
}
const ColorValue white{1, 1, 1, 1};

DesignSystem::Colors lightPalette(ColorValue background, ColorValue editorSurface,
                                  ColorValue previewSurface, ColorValue chrome, ColorValue text,
                                  ColorValue secondaryText, ColorValue mutedText, ColorValue accent,
                                  ColorValue codeBackground, double codeBorderAlpha,
                                  double dividerAlpha, double quoteBorderAlpha,
                                  ColorValue segmentTrack, double segmentBorderAlpha) {
    return {background,
            editorSurface,
            previewSurface,
            chrome,
            text,
            secondaryText,
            mutedText,
            accent,
            white,
            codeBackground,
            text.withAlpha(codeBorderAlpha),
            text.withAlpha(dividerAlpha),
            accent.withAlpha(quoteBorderAlpha),
            segmentTrack,
            text.withAlpha(segmentBorderAlpha)};
}

DesignSystem::Colors darkPalette(ColorValue background, ColorValue editorSurface,
                                 ColorValue previewSurface, ColorValue chrome, ColorValue text,
                                 ColorValue secondaryText, ColorValue mutedText, ColorValue accent,
                                 ColorValue onAccent, ColorValue codeBackground,
                                 double quoteBorderAlpha, ColorValue segmentTrack) {
    return {background,
            editorSurface,
            previewSurface,
            chrome,
            text,
            secondaryText,
            mutedText,
            accent,
            onAccent,
            codeBackground,
            white.withAlpha(0.08),
            white.withAlpha(0.07),
            accent.withAlpha(quoteBorderAlpha),
            segmentTrack,
            white.withAlpha(0.08)};
}

} // namespace

const DesignSystem::Colors& DesignSystem::Colors::light() {
    static const Colors c =
        lightPalette(rgb(0.937, 0.914, 0.875), rgb(0.969, 0.949, 0.914), rgb(0.928, 0.9, 0.853),
                     rgb(0.918, 0.89, 0.839), rgb(0.18, 0.145, 0.098), rgb(0.42, 0.365, 0.278),
                     rgb(0.604, 0.541, 0.439), rgb(0.769, 0.416, 0.239), rgb(0.937, 0.91, 0.855),
                     0.12, 0.1, 0.55, rgb(0.886, 0.851, 0.792), 0.08);
    return c;
}

const DesignSystem::Colors& DesignSystem::Colors::porcelain() {
    static const Colors c =
        lightPalette(rgb(0.949, 0.953, 0.969), rgb(0.992, 0.992, 0.996), rgb(0.965, 0.969, 0.98),
                     rgb(0.953, 0.957, 0.973), rgb(0.122, 0.137, 0.157), rgb(0.341, 0.376, 0.416),
                     rgb(0.549, 0.58, 0.62), rgb(0.31, 0.427, 0.961), rgb(0.933, 0.945, 0.965), 0.1,
                     0.08, 0.5, rgb(0.906, 0.918, 0.945), 0.07);
    return c;
}

const DesignSystem::Colors& DesignSystem::Colors::sage() {
    static const Colors c =
        lightPalette(rgb(0.914, 0.933, 0.89), rgb(0.957, 0.969, 0.945), rgb(0.937, 0.953, 0.918),
                     rgb(0.925, 0.945, 0.902), rgb(0.149, 0.2, 0.165), rgb(0.333, 0.408, 0.361),
                     rgb(0.494, 0.569, 0.525), rgb(0.29, 0.486, 0.349), rgb(0.906, 0.937, 0.882),
                     0.12, 0.1, 0.55, rgb(0.875, 0.906, 0.847), 0.08);
    return c;
}

const DesignSystem::Colors& DesignSystem::Colors::dark() {
    static const Colors c =
        darkPalette(rgb(0.051, 0.059, 0.078), rgb(0.039, 0.047, 0.063), rgb(0.067, 0.077, 0.098),
                    rgb(0.071, 0.082, 0.106), rgb(0.949, 0.957, 0.973), rgb(0.682, 0.714, 0.769),
                    rgb(0.373, 0.42, 0.494), rgb(0.427, 0.361, 0.961), white,
                    rgb(0.031, 0.039, 0.063), 0.6, rgb(0.094, 0.106, 0.133));
    return c;
}

const DesignSystem::Colors& DesignSystem::Colors::depth() {
    static const Colors c =
        darkPalette(rgb(0.039, 0.059, 0.106), rgb(0.047, 0.071, 0.125), rgb(0.063, 0.094, 0.157),
                    rgb(0.067, 0.102, 0.169), rgb(0.863, 0.906, 0.961), rgb(0.549, 0.639, 0.765),
                    rgb(0.353, 0.439, 0.576), rgb(0.224, 0.776, 0.839), rgb(0.02, 0.11, 0.14),
                    rgb(0.055, 0.082, 0.141), 0.55, rgb(0.078, 0.114, 0.184));
    return c;
}

const DesignSystem::Colors& DesignSystem::Colors::ember() {
    static const Colors c =
        darkPalette(rgb(0.071, 0.055, 0.043), rgb(0.09, 0.071, 0.055), rgb(0.114, 0.09, 0.071),
                    rgb(0.122, 0.094, 0.075), rgb(0.949, 0.906, 0.855), rgb(0.753, 0.671, 0.588),
                    rgb(0.553, 0.478, 0.4), rgb(0.91, 0.58, 0.29), rgb(0.169, 0.102, 0.047),
                    rgb(0.141, 0.11, 0.082), 0.6, rgb(0.149, 0.125, 0.098));
    return c;
}

QStringList DesignSystem::Typography::families(FontDesign design) {
    switch (design) {
    case FontDesign::Default:
        return {QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")};
    case FontDesign::Serif:
        return {QStringLiteral("Noto Serif"), QStringLiteral("DejaVu Serif")};
    case FontDesign::Rounded:
        // No rounded face ships with the base fonts; take one where installed.
        return {QStringLiteral("Nunito"), QStringLiteral("Comfortaa"), QStringLiteral("Ubuntu"),
                QStringLiteral("M PLUS Rounded 1c"), QStringLiteral("DejaVu Sans")};
    case FontDesign::Monospaced:
        return {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Sans Mono")};
    }
    return {};
}

QFont DesignSystem::Typography::font(FontDesign design, double pixelSize, QFont::Weight weight) {
    QFont f;
    f.setFamilies(families(design));
    f.setStyleHint(design == FontDesign::Monospaced ? QFont::Monospace
                   : design == FontDesign::Serif    ? QFont::Serif
                                                    : QFont::SansSerif);
    f.setPointSizeF(pixelSize * 72.0 / 96.0);
    f.setWeight(weight);
    return f;
}

DesignSystem::Typography DesignSystem::Typography::standard(FontDesign design) {
    Typography t;
    t.design = design;
    t.body = font(design, 15);
    t.callout = font(FontDesign::Default, 13);
    t.code = font(FontDesign::Monospaced, 13);
    t.caption = font(FontDesign::Default, 11);
    return t;
}

DesignSystem DesignSystem::make(const Colors& colors, FontDesign design, bool dark) {
    return {colors, Typography::standard(design),
            dark ? QStringLiteral("atom-one-dark") : QStringLiteral("atom-one-light")};
}

QColor composited(const QColor& top, const QColor& bottom) {
    const QColor t = top.toRgb(), b = bottom.toRgb();
    const float a = t.alphaF();
    const auto mix = [a](float over, float under) { return over * a + under * (1 - a); };
    return QColor::fromRgbF(mix(t.redF(), b.redF()), mix(t.greenF(), b.greenF()),
                            mix(t.blueF(), b.blueF()));
}
