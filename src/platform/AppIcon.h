#pragma once

#include <QIcon>

// quon's application icon, drawn from the same SVG that is installed into the
// icon theme, so a build that was never installed shows it too.
namespace AppIcon {

QIcon icon();

} // namespace AppIcon
