#include "editor/ScrollViewStyling.h"

#include "editor/AccentScroller.h"

#include <QAbstractScrollArea>

AccentScroller* ScrollViewStyling::apply(QAbstractScrollArea* to, const QColor& accent) {
    AccentScroller* scroller = AccentScroller::of(to);
    if (!scroller)
        scroller = new AccentScroller(to);
    scroller->setAccentColor(accent);
    return scroller;
}
