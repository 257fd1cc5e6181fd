#pragma once

#include <QColor>

struct DesignSystem;

// The colours of the source editor. The editing tools' popovers and the
// preview's scroll host and context menu take their colours from it too.
struct EditorTheme {
    QColor text;              // ordinary text
    QColor secondaryText;     // blockquote lines, content lines of fenced code
    QColor mutedText;         // list markers, breaks, link destinations, fence lines
    QColor accent;            // heading markers, link text, task boxes, inline code
    QColor codeBackground;    // background of inline code spans
    QColor surface;           // the editor's background
    QColor selection;         // behind selected text (drawn in `text`) while focused
    QColor inactiveSelection; // the same while the focus is elsewhere, as in the find field

    // The theme of a design system: its colours of the same names; the
    // selections are its accent laid over the editor surface, opaque, so
    // selected text reads the same over any background (a find match's too;
    // the current match keeps its own colours).
    static EditorTheme from(const DesignSystem& designSystem);

    bool operator==(const EditorTheme&) const = default;
};

// Whether a theme is a dark one: its text colour is bright (HSB brightness
// above 0.5). Menus, popovers and find colours all decide light or dark here.
bool isDarkTheme(const EditorTheme& theme);
