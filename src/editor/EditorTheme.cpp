#include "editor/EditorTheme.h"

#include "core/DesignSystem.h"

EditorTheme EditorTheme::from(const DesignSystem& designSystem) {
    const DesignSystem::Colors& c = designSystem.colors;
    return {c.text,
            c.secondaryText,
            c.mutedText,
            c.accent,
            c.codeBackground,
            c.editorSurface,
            composited(c.accent.withAlpha(0.35), c.editorSurface),
            composited(c.accent.withAlpha(0.22), c.editorSurface)};
}

bool isDarkTheme(const EditorTheme& theme) {
    return theme.text.toHsv().valueF() > 0.5;
}
