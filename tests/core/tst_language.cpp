#include "core/AppLanguageManager.h"
#include "core/MarkdownDocument.h"
#include "core/Preferences.h"
#include "shell/DocumentController.h"
#include "shell/SceneManager.h"
#include "shell/WindowCommands.h"
#include "shell/WindowMenuBar.h"
#include "shell/WorkspaceView.h"
#include "support/TestSupport.h"

#include <QMenu>
#include <QTest>

class TestLanguage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        TestSupport::resetPreferences();
        AppLanguageManager::apply(AppLanguage::English);
    }

    void systemPreferredSupportedLanguage() {
        using AppLanguageManager::systemPreferredSupportedLanguage;
        QCOMPARE(systemPreferredSupportedLanguage({"de-DE", "es-ES", "en-US"}), "es");
        QCOMPARE(systemPreferredSupportedLanguage({"de-DE", "fr-FR"}), "en");
        QCOMPARE(systemPreferredSupportedLanguage({"C"}), "en");
        QCOMPARE(systemPreferredSupportedLanguage({"pl-PL", "en-GB"}), "pl");
        QCOMPARE(systemPreferredSupportedLanguage({"en-GB", "pl"}), "en");
        QCOMPARE(systemPreferredSupportedLanguage({"PL"}), "en");
        QCOMPARE(systemPreferredSupportedLanguage({}), "en");
    }

    // The commands' texts are the settings window's test; here the rest of a
    // document window, the labels looked up when asked, and unknown values.
    void openWindowRetranslatesLive() {
        LocalizationRoot::install();
        DocumentController controller;
        SceneManager scenes(controller);
        auto& window = *static_cast<WorkspaceView*>(controller.windowFor(controller.newDocument()));
        QCOMPARE(window.windowTitle(), QStringLiteral("Untitled[*]"));
        Preferences::shared().setString(PreferenceKeys::appLanguagePreference,
                                        QStringLiteral("pl"));
        QCoreApplication::processEvents();
        QCOMPARE(AppLanguageManager::currentLanguageCode(), QStringLiteral("pl"));
        QCOMPARE(window.windowMenuBar()->fileMenu()->title(), QStringLiteral("&Plik"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Bez tytułu[*]"));
        QCOMPARE(label(FontChoice::System), QStringLiteral("Systemowa"));
        QCOMPARE(label(Appearance::System), QStringLiteral("Systemowy"));
        // Unknown values count as "system"; this test runs under C.UTF-8.
        Preferences::shared().setString(PreferenceKeys::appLanguagePreference,
                                        QStringLiteral("xx"));
        QCoreApplication::processEvents();
        QCOMPARE(AppLanguageManager::currentLanguageCode(), QStringLiteral("en"));
        QCOMPARE(window.commands().save->text(), QStringLiteral("Save"));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
