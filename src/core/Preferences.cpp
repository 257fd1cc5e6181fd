#include "core/Preferences.h"

#include "common/AppIdentity.h"

#include <QDir>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>
#include <cmath>

namespace {

const QHash<QString, QVariant>& defaults() {
    using namespace PreferenceKeys;
    static const QHash<QString, QVariant> table = {
        {appLanguagePreference, QStringLiteral("system")},
        {defaultViewMode, QStringLiteral("split")},
        {lastViewMode, QStringLiteral("Split")},
        {showHomeAfterClosingLastWindow, true},
        {newDocumentStartsEmpty, false},
        {showFeatureTourOnLaunch, false},
        {onboardingCompleted, false},
        {appearancePreference, QStringLiteral("light")},
        {lightThemeChoice, QStringLiteral("warmEditorial")},
        {darkThemeChoice, QStringLiteral("sleekPro")},
        {lightFontChoice, QStringLiteral("serif")},
        {darkFontChoice, QStringLiteral("system")},
        {syncFonts, false},
        {editorFontSize, 14.0},
        {previewFontSize, 15.0},
        {useSystemFont, true},
        {openCreatedMarkdownFiles, true},
        {finderMenuShowNewFile, true},
        {finderMenuShowNewMarkdownFile, true},
        {slashCommandsHintDismissed, false},
        {recentMarkdownFiles, QByteArray()},
    };
    return table;
}

} // namespace

Preferences& Preferences::shared() {
    static Preferences* instance = new Preferences();
    return *instance;
}

QString Preferences::filePath() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/" QUON_CONFIG_DIR "/quon.conf");
}

Preferences::Preferences() : m_settings(new QSettings(filePath(), QSettings::IniFormat)) {}

Preferences::~Preferences() = default;

QVariant Preferences::defaultValue(const QString& key) const {
    return defaults().value(key);
}

bool Preferences::contains(const QString& key) const {
    return m_settings->contains(key);
}

QVariant Preferences::stored(const QString& key) const {
    return m_settings->value(key);
}

std::optional<bool> Preferences::storedBoolean(const QString& key) const {
    const QVariant v = stored(key);
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString();
        if (s == QLatin1String("true"))
            return true;
        if (s == QLatin1String("false"))
            return false;
    }
    return std::nullopt;
}

std::optional<QString> Preferences::storedString(const QString& key) const {
    const QVariant v = stored(key);
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    return std::nullopt;
}

std::optional<double> Preferences::storedNumber(const QString& key) const {
    const QVariant v = stored(key);
    double value = 0;
    bool ok = false;
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        value = v.toDouble(&ok);
        break;
    case QMetaType::QString:
        value = v.toString().trimmed().toDouble(&ok);
        break;
    default:
        break;
    }
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString Preferences::string(const QString& key) const {
    return storedString(key).value_or(defaultValue(key).toString());
}

bool Preferences::boolean(const QString& key) const {
    return storedBoolean(key).value_or(defaultValue(key).toBool());
}

double Preferences::number(const QString& key) const {
    return storedNumber(key).value_or(defaultValue(key).toDouble());
}

QByteArray Preferences::data(const QString& key) const {
    const QVariant v = stored(key);
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray();
    if (v.typeId() == QMetaType::QString)
        return v.toString().toUtf8();
    return defaultValue(key).toByteArray();
}

void Preferences::write(const QString& key, const QVariant& value) {
    m_settings->setValue(key, value);
    m_settings->sync();
    Q_EMIT changed(key);
}

void Preferences::setString(const QString& key, const QString& value) {
    write(key, value);
}
void Preferences::setBoolean(const QString& key, bool value) {
    write(key, value);
}
void Preferences::setNumber(const QString& key, double value) {
    write(key, value);
}
void Preferences::setData(const QString& key, const QByteArray& value) {
    write(key, value);
}

void Preferences::remove(const QString& key) {
    m_settings->remove(key);
    m_settings->sync();
    Q_EMIT changed(key);
}

void Preferences::clearAll() {
    const QStringList keys = m_settings->allKeys();
    m_settings->clear();
    m_settings->sync();
    for (const QString& key : keys)
        Q_EMIT changed(key);
}

void Preferences::reload() {
    m_settings = std::make_unique<QSettings>(filePath(), QSettings::IniFormat);
}

QString Preferences::appLanguagePreference() const {
    return string(PreferenceKeys::appLanguagePreference);
}
QString Preferences::defaultViewMode() const {
    return string(PreferenceKeys::defaultViewMode);
}
QString Preferences::lastViewMode() const {
    return string(PreferenceKeys::lastViewMode);
}
bool Preferences::showHomeAfterClosingLastWindow() const {
    return boolean(PreferenceKeys::showHomeAfterClosingLastWindow);
}
bool Preferences::newDocumentStartsEmpty() const {
    return boolean(PreferenceKeys::newDocumentStartsEmpty);
}
bool Preferences::showFeatureTourOnLaunch() const {
    return boolean(PreferenceKeys::showFeatureTourOnLaunch);
}
bool Preferences::onboardingCompleted() const {
    return boolean(PreferenceKeys::onboardingCompleted);
}
QString Preferences::appearancePreference() const {
    return string(PreferenceKeys::appearancePreference);
}
QString Preferences::lightThemeChoice() const {
    return string(PreferenceKeys::lightThemeChoice);
}
QString Preferences::darkThemeChoice() const {
    return string(PreferenceKeys::darkThemeChoice);
}
QString Preferences::lightFontChoice() const {
    return string(PreferenceKeys::lightFontChoice);
}
QString Preferences::darkFontChoice() const {
    return string(PreferenceKeys::darkFontChoice);
}
bool Preferences::syncFonts() const {
    return boolean(PreferenceKeys::syncFonts);
}
double Preferences::editorFontSize() const {
    return number(PreferenceKeys::editorFontSize);
}
double Preferences::previewFontSize() const {
    return number(PreferenceKeys::previewFontSize);
}
bool Preferences::useSystemFont() const {
    return boolean(PreferenceKeys::useSystemFont);
}
bool Preferences::openCreatedMarkdownFiles() const {
    return boolean(PreferenceKeys::openCreatedMarkdownFiles);
}
bool Preferences::finderMenuShowNewFile() const {
    return boolean(PreferenceKeys::finderMenuShowNewFile);
}
bool Preferences::finderMenuShowNewMarkdownFile() const {
    return boolean(PreferenceKeys::finderMenuShowNewMarkdownFile);
}
bool Preferences::slashCommandsHintDismissed() const {
    return boolean(PreferenceKeys::slashCommandsHintDismissed);
}
QByteArray Preferences::recentMarkdownFiles() const {
    return data(PreferenceKeys::recentMarkdownFiles);
}
