#pragma once

class QLayout;

namespace LayoutHeight {

// The height the layout's contents need at this width: wrapped labels count
// the lines they wrap to.
int forWidth(const QLayout& layout, int width);

} // namespace LayoutHeight
