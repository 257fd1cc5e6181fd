#include "core/AppLanguageManager.h"

#include "core/Preferences.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace {

struct InstalledTranslators {
    std::unique_ptr<QTranslator> app;
    std::unique_ptr<QTranslator> qt;
    QString code = QStringLiteral("en");
};

InstalledTranslators& installed() {
    static InstalledTranslators state;
    return state;
}

void removeTranslators() {
    auto& s = installed();
    if (s.app)
        QCoreApplication::removeTranslator(s.app.get());
    if (s.qt)
        QCoreApplication::removeTranslator(s.qt.get());
    s.app.reset();
    s.qt.reset();
}

void installLanguage(const QString& code) {
    auto& s = installed();
    if (s.code == code && (code == QLatin1String("en") || s.app))
        return;
    removeTranslators();
    s.code = code;
    QLocale::setDefault(QLocale(code));
    if (code == QLatin1String("en")) {
        // Source texts are English; removing the translators sent the change event.
        return;
    }
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_") + code,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        s.qt = std::move(qt);
        QCoreApplication::installTranslator(s.qt.get());
    }
    auto app = std::make_unique<QTranslator>();
    // A missing catalogue is not an error: texts stay English.
    if (app->load(QStringLiteral(":/i18n/quon_") + code)) {
        s.app = std::move(app);
        QCoreApplication::installTranslator(s.app.get());
    }
}

} // namespace

void AppLanguageManager::applySavedPreference() {
    const QString raw = Preferences::shared().appLanguagePreference();
    apply(fromRawValue<AppLanguage>(raw).value_or(AppLanguage::System));
}

void AppLanguageManager::apply(AppLanguage preference) {
    switch (preference) {
    case AppLanguage::System:
        installLanguage(systemPreferredSupportedLanguage());
        return;
    case AppLanguage::English:
    case AppLanguage::Polish:
    case AppLanguage::Spanish:
        installLanguage(rawValue(preference));
        return;
    }
}

QString AppLanguageManager::systemPreferredSupportedLanguage() {
    return systemPreferredSupportedLanguage(QLocale::system().uiLanguages());
}

QString AppLanguageManager::systemPreferredSupportedLanguage(const QStringList& preferred) {
    for (const QString& language : preferred) {
        if (language.startsWith(QLatin1String("pl")))
            return QStringLiteral("pl");
        if (language.startsWith(QLatin1String("es")))
            return QStringLiteral("es");
        if (language.startsWith(QLatin1String("en")))
            return QStringLiteral("en");
    }
    return QStringLiteral("en");
}

QString AppLanguageManager::currentLanguageCode() {
    return installed().code;
}

void LocalizationRoot::install() {
    static LocalizationRoot* root = nullptr;
    if (!root)
        root = new LocalizationRoot(QCoreApplication::instance());
    AppLanguageManager::applySavedPreference();
}

LocalizationRoot::LocalizationRoot(QObject* parent) : QObject(parent) {
    connect(&Preferences::shared(), &Preferences::changed, this, [](const QString& key) {
        if (key == QLatin1String(PreferenceKeys::appLanguagePreference))
            AppLanguageManager::applySavedPreference();
    });
}
