#pragma once

#include "core/PreferenceEnums.h"

#include <QString>
#include <optional>

// The mode a new document window starts in, and remembering the last one used.
namespace ViewModeMemory {

// "lastViewMode" when it holds a mode's raw value; otherwise (absent or junk)
// "defaultViewMode" matched without regard to case; otherwise Split.
ViewMode restored(const std::optional<QString>& lastViewMode,
                  const std::optional<QString>& defaultViewMode);
// The same, read from the preferences.
ViewMode restored();

// Writes the mode's raw value to "lastViewMode".
void remember(ViewMode mode);

} // namespace ViewModeMemory
