#include "editor/EditorTheme.h"

#include "core/DesignSystem.h"

namespace {

QColor over(const ColorValue& top, double alpha, const ColorValue& bottom) {
    const auto mix = [alpha](double t, double b) { return t * alpha + b * (1 - alpha); };
    return QColor::fromRgbF(float(mix(top.red, bottom.red)), float(mix(top.green, bottom.green)),
                            float(mix(top.blue, bottom.blue)));
}

} // namespace

EditorTheme EditorTheme::from(const DesignSystem& designSystem) {
    const DesignSystem::Colors& c = designSystem.colors;
    return {c.text,
            c.secondaryText,
            c.mutedText,
            c.accent,
            c.codeBackground,
            c.editorSurface,
            over(c.accent, 0.35, c.editorSurface),
            over(c.accent, 0.22, c.editorSurface)};
}

bool isDarkTheme(const EditorTheme& theme) {
    return theme.text.toHsv().valueF() > 0.5;
}
