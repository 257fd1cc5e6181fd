#pragma once

#include "core/DesignSystem.h"
#include "core/FeatureTourSlide.h"

#include <QFont>
#include <QIcon>
#include <QRectF>
#include <QStringList>

class QPainter;
class QWidget;

// What a picture takes from the running application besides the design system.
struct FeatureTourVisualInputs {
    QIcon appIcon;                   // null: the welcome picture shows no icon
    QWidget* modeSwitcher = nullptr; // the toolbar's switcher, drawn as it draws itself
};

// The pictures above the tour's slides: miniatures of quon's own interface in
// the active design system, each centred in its frame. Texts are looked up
// each time a picture is drawn.
namespace FeatureTourSlideVisuals {

inline constexpr int height = 168;

// A theme's name under its swatch on the themes picture: on one line, or two,
// at most chipWidth wide; smaller only when one word alone is wider.
inline constexpr double chipWidth = 50;
struct ChipCaption {
    QFont font;
    QStringList lines;
};
ChipCaption chipCaption(const QString& name);

void paint(QPainter& painter, FeatureTourSlideKind kind, const QRectF& frame,
           const DesignSystem& ds, const FeatureTourVisualInputs& inputs);

} // namespace FeatureTourSlideVisuals
