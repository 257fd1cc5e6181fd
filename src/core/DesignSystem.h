#pragma once

#include <QColor>
#include <QFont>
#include <QString>

// An sRGB colour kept as the palette's own doubles, so exports can compute
// exact hex values; converts to QColor for drawing.
struct ColorValue {
    double red = 0, green = 0, blue = 0, alpha = 1;

    QColor toQColor() const { return QColor::fromRgbF(red, green, blue, alpha); }
    operator QColor() const { return toQColor(); }
    ColorValue withAlpha(double a) const { return {red, green, blue, a}; }
    bool operator==(const ColorValue&) const = default;
};

// The opaque colour seen where `top`, with its alpha, lies over `bottom`.
QColor composited(const QColor& top, const QColor& bottom);

enum class FontDesign { Default, Serif, Rounded, Monospaced };

struct DesignSystem {
    struct Colors {
        ColorValue background, editorSurface, previewSurface, chrome, text, secondaryText,
            mutedText, accent, onAccent, codeBackground, codeBorder, divider, quoteBorder,
            segmentTrack, segmentBorder;

        static const Colors& light();
        static const Colors& porcelain();
        static const Colors& sage();
        static const Colors& dark();
        static const Colors& depth();
        static const Colors& ember();

        bool operator==(const Colors&) const = default;
    };

    struct Typography {
        FontDesign design = FontDesign::Serif;
        QFont body;    // 15 px, regular, in design
        QFont callout; // 13 px, default design
        QFont code;    // 13 px, monospaced
        QFont caption; // 11 px, default design

        static Typography standard(FontDesign design);
        // The one place that turns a logical pixel size into a font: px * 72 / 96
        // points, so text follows the user's font DPI.
        static QFont font(FontDesign design, double pixelSize,
                          QFont::Weight weight = QFont::Normal);
        static QStringList families(FontDesign design);
    };

    Colors colors;
    Typography typography;
    QString codeTheme; // "atom-one-light" or "atom-one-dark"

    bool isDark() const { return codeTheme == QLatin1String("atom-one-dark"); }

    static DesignSystem make(const Colors& colors, FontDesign design, bool dark);
};
