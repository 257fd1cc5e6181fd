#pragma once

#include <QColor>

class AccentScroller;
class QAbstractScrollArea;

// The one look of the editor's and the preview's scroll areas.
namespace ScrollViewStyling {

// Gives the area the accent scroller in place of its vertical scroll bar (the
// horizontal one is left alone). Calling it again only updates the colour.
AccentScroller* apply(QAbstractScrollArea* to, const QColor& accent);

} // namespace ScrollViewStyling
