#include "widgets/ThemeRoles.h"

namespace {
QFont weighted(QFont font, QFont::Weight weight) {
    font.setWeight(weight);
    return font;
}
} // namespace

FontRole ThemeRoles::callout(QFont::Weight weight) {
    return [weight](const DesignSystem& ds) { return weighted(ds.typography.callout, weight); };
}

FontRole ThemeRoles::caption(QFont::Weight weight) {
    return [weight](const DesignSystem& ds) { return weighted(ds.typography.caption, weight); };
}

FontRole ThemeRoles::system(double pixelSize, QFont::Weight weight) {
    return [=](const DesignSystem&) {
        return DesignSystem::Typography::font(FontDesign::Default, pixelSize, weight);
    };
}

FontRole ThemeRoles::designed(double pixelSize, QFont::Weight weight) {
    return [=](const DesignSystem& ds) {
        return DesignSystem::Typography::font(ds.typography.design, pixelSize, weight);
    };
}

QColor ThemeRoles::color(const DesignSystem& ds, ColorRole role, double opacity) {
    const ColorValue& value = ds.colors.*role;
    return value.withAlpha(value.alpha * opacity);
}
