#pragma once

#include "editor/EditorTheme.h"

#include <QFont>

// The input of the editor's colouring: the editor font size (the
// "editorFontSize" preference), the colours and the editor font at that size.
// The highlighter takes every size from baseFont; fontSize only tells two
// configurations apart.
struct HighlightConfig {
    double fontSize = 14;
    EditorTheme theme;
    QFont baseFont;

    bool operator==(const HighlightConfig&) const = default;
};
