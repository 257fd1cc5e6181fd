#pragma once

#include <QByteArray>
#include <QObject>
#include <QVariant>
#include <memory>
#include <optional>

class QSettings;

namespace PreferenceKeys {
inline constexpr char appLanguagePreference[] = "appLanguagePreference";
inline constexpr char defaultViewMode[] = "defaultViewMode";
inline constexpr char lastViewMode[] = "lastViewMode";
inline constexpr char showHomeAfterClosingLastWindow[] = "showHomeAfterClosingLastWindow";
inline constexpr char newDocumentStartsEmpty[] = "newDocumentStartsEmpty";
inline constexpr char showFeatureTourOnLaunch[] = "showFeatureTourOnLaunch";
inline constexpr char onboardingCompleted[] = "onboardingCompleted";
inline constexpr char appearancePreference[] = "appearancePreference";
inline constexpr char lightThemeChoice[] = "lightThemeChoice";
inline constexpr char darkThemeChoice[] = "darkThemeChoice";
inline constexpr char lightFontChoice[] = "lightFontChoice";
inline constexpr char darkFontChoice[] = "darkFontChoice";
inline constexpr char syncFonts[] = "syncFonts";
inline constexpr char editorFontSize[] = "editorFontSize";
inline constexpr char previewFontSize[] = "previewFontSize";
inline constexpr char useSystemFont[] = "useSystemFont";
inline constexpr char openCreatedMarkdownFiles[] = "openCreatedMarkdownFiles";
inline constexpr char finderMenuShowNewFile[] = "finderMenuShowNewFile";
inline constexpr char finderMenuShowNewMarkdownFile[] = "finderMenuShowNewMarkdownFile";
inline constexpr char slashCommandsHintDismissed[] = "slashCommandsHintDismissed";
inline constexpr char recentMarkdownFiles[] = "recentMarkdownFiles";
} // namespace PreferenceKeys

// The user's preferences, in $XDG_CONFIG_HOME/quon/quon.conf. Every key has a
// default that applies while it is absent or holds a value of the wrong type;
// nothing registers defaults in the file. Every write goes through here and
// announces itself with changed(key).
class Preferences : public QObject {
    Q_OBJECT
public:
    static Preferences& shared();

    // Where the settings file lives: $XDG_CONFIG_HOME/quon/quon.conf.
    static QString filePath();

    QVariant defaultValue(const QString& key) const;
    bool contains(const QString& key) const;

    // Typed reads with the key's default for absent or malformed values.
    QString string(const QString& key) const;
    bool boolean(const QString& key) const;
    double number(const QString& key) const;
    QByteArray data(const QString& key) const;

    // Only a real Boolean, or the strings "true"/"false" that a restart turns
    // Booleans into, counts; anything else is no value.
    std::optional<bool> storedBoolean(const QString& key) const;
    std::optional<QString> storedString(const QString& key) const;
    std::optional<double> storedNumber(const QString& key) const;

    void setString(const QString& key, const QString& value);
    void setBoolean(const QString& key, bool value);
    void setNumber(const QString& key, double value);
    void setData(const QString& key, const QByteArray& value);
    void remove(const QString& key);
    // Removes every key (the data reset; also between tests).
    void clearAll();
    // Re-reads the file, e.g. after another process wrote it.
    void reload();

    // The keys of the preference table.
    QString appLanguagePreference() const;
    QString defaultViewMode() const;
    QString lastViewMode() const;
    bool showHomeAfterClosingLastWindow() const;
    bool newDocumentStartsEmpty() const;
    bool showFeatureTourOnLaunch() const;
    bool onboardingCompleted() const;
    QString appearancePreference() const;
    QString lightThemeChoice() const;
    QString darkThemeChoice() const;
    QString lightFontChoice() const;
    QString darkFontChoice() const;
    bool syncFonts() const;
    double editorFontSize() const;
    double previewFontSize() const;
    bool useSystemFont() const;
    bool openCreatedMarkdownFiles() const;
    bool finderMenuShowNewFile() const;
    bool finderMenuShowNewMarkdownFile() const;
    bool slashCommandsHintDismissed() const;
    QByteArray recentMarkdownFiles() const;

Q_SIGNALS:
    void changed(const QString& key);

private:
    Preferences();
    ~Preferences() override;
    void write(const QString& key, const QVariant& value);
    QVariant stored(const QString& key) const;

    std::unique_ptr<QSettings> m_settings;
};
