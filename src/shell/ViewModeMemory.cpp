#include "shell/ViewModeMemory.h"

#include "core/Preferences.h"

ViewMode ViewModeMemory::restored(const std::optional<QString>& lastViewMode,
                                  const std::optional<QString>& defaultViewMode) {
    if (lastViewMode) {
        if (const auto mode = fromRawValue<ViewMode>(*lastViewMode))
            return *mode;
    }
    const QString fallback = defaultViewMode.value_or(QStringLiteral("split"));
    for (const ViewMode mode : allCases<ViewMode>()) {
        if (rawValue(mode).compare(fallback, Qt::CaseInsensitive) == 0)
            return mode;
    }
    return ViewMode::Split;
}

ViewMode ViewModeMemory::restored() {
    const Preferences& prefs = Preferences::shared();
    return restored(prefs.storedString(PreferenceKeys::lastViewMode),
                    prefs.storedString(PreferenceKeys::defaultViewMode));
}

void ViewModeMemory::remember(ViewMode mode) {
    Preferences::shared().setString(PreferenceKeys::lastViewMode, rawValue(mode));
}
