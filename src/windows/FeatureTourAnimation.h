#pragma once

class QVariantAnimation;
class QWidget;

// How the tour moves: the card fades in and out and steps between slides over
// 0.22 s, the page dots follow over 0.18 s, all easing out.
namespace FeatureTourAnimation {

inline constexpr int fadeMs = 220;
inline constexpr int stepMs = 220;
inline constexpr int dotsMs = 180;

// An ease-out run from 0 to 1 over the given time that repaints the widget.
void prepare(QVariantAnimation& animation, int ms, QWidget* repainted);

} // namespace FeatureTourAnimation
