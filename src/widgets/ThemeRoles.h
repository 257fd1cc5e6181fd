#pragma once

#include "core/DesignSystem.h"

#include <functional>

// Themed widgets name the colour and font they draw with, and take them from
// the active design system each time it changes.
using ColorRole = ColorValue DesignSystem::Colors::*;
using FontRole = std::function<QFont(const DesignSystem&)>;

namespace ThemeRoles {

FontRole callout(QFont::Weight weight = QFont::Normal);
FontRole caption(QFont::Weight weight = QFont::Normal);
// The default design at a fixed size.
FontRole system(double pixelSize, QFont::Weight weight = QFont::Normal);
// The typography's own design (serif, rounded...) at a fixed size.
FontRole designed(double pixelSize, QFont::Weight weight = QFont::Normal);

QColor color(const DesignSystem& ds, ColorRole role, double opacity = 1.0);

} // namespace ThemeRoles
