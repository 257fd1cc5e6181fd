#pragma once

#include "core/PreferenceEnums.h"

#include <QObject>
#include <QStringList>

// Runs the interface in English, Polish or Spanish whatever the system
// language, or follows the system. Installing or removing a translator sends
// QEvent::LanguageChange to every widget, so open windows retranslate live.
namespace AppLanguageManager {

// Reads "appLanguagePreference" (unknown values count as "system") and applies it.
void applySavedPreference();
void apply(AppLanguage preference);
// "pl", "es" or "en": the first preferred language that starts with one of them.
QString systemPreferredSupportedLanguage();
QString systemPreferredSupportedLanguage(const QStringList& preferredLanguages);
// The language in force: "en", "pl" or "es".
QString currentLanguageCode();

} // namespace AppLanguageManager

// Follows "appLanguagePreference" for the whole process: every change of the
// preference is applied at once. One per application.
class LocalizationRoot : public QObject {
    Q_OBJECT
public:
    static void install();

private:
    explicit LocalizationRoot(QObject* parent);
};
