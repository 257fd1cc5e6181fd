#include "windows/ExtensionsSettingsTab.h"

#include "core/FinderSharedSettings.h"
#include "core/L10n.h"
#include "core/Preferences.h"
#include "platform/FinderExtensionManager.h"
#include "widgets/FormButton.h"
#include "widgets/PlainButton.h"
#include "widgets/ProgressButton.h"
#include "widgets/SymbolLabel.h"
#include "widgets/ThemedLabel.h"
#include "widgets/ToggleSwitch.h"
#include "windows/PreferenceBinding.h"

#include <QBoxLayout>
#include <QPointer>
#include <QTimer>

namespace {

// clang-format off
constexpr const char* menuIntro = L10n::mark("Right-click a folder in Files to create a new file — any type, or Markdown — exactly where you are.");
constexpr const char* enabledNote = L10n::mark("Right-click any folder in Files to create a new file. If menu items are missing, restart Files.");
constexpr const char* manualNote = L10n::mark("If the button doesn't do the trick: run the install command in a terminal, then restart Files.");
constexpr const char* notInstalledText = L10n::mark("Files (Nautilus) is not installed on this computer.");
constexpr const char* menuNote = L10n::mark("Changes apply to the Files menu immediately.");
constexpr const char* openCreatedNote = L10n::mark("Markdown opens in quon; other files open in their default app. The prompt remembers your last choice.");
// clang-format on

ThemedLabel* note(const char* text, QWidget* parent) {
    auto* label = new ThemedLabel(ThemeRoles::caption(), &DesignSystem::Colors::mutedText, parent);
    label->setSourceText(text);
    label->setWordWrap(true);
    return label;
}

// A column of widgets that fills one row.
QWidget* column(std::initializer_list<QWidget*> widgets) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    for (QWidget* widget : widgets) {
        widget->setParent(box);
        layout->addWidget(widget);
    }
    return box;
}

} // namespace

ExtensionsSettingsTab::Services ExtensionsSettingsTab::Services::standard() {
    Services services;
    services.isEnabled = &FinderExtensionManager::isEnabled;
    services.isFileManagerInstalled = &FinderExtensionManager::isFileManagerInstalled;
    services.enable = [](std::function<void(bool)> done) {
        // The plug-in hands its requests to quon:// URLs.
        FinderExtensionManager::registerHandler();
        FinderExtensionManager::enable(std::move(done));
    };
    services.restartFileManager = &FinderExtensionManager::restartFinder;
    services.showInstallCommand = [](QWidget* parent) {
        FinderExtensionManager::InstallCommandTexts texts;
        texts.title = L10n::tr("Files Extension");
        // clang-format off
        texts.explanation = L10n::tr("Run this command in a terminal to install the Files extension, then restart Files.");
        // clang-format on
        texts.ok = L10n::tr("OK");
        FinderExtensionManager::openSystemSettings(texts, parent);
    };
    services.broadcastMenuSettings = &FinderSharedSettings::broadcastFromApp;
    return services;
}

ExtensionsSettingsTab::ExtensionsSettingsTab(Services services, QWidget* parent)
    : SettingsForm(formHeightValue, parent), m_services(std::move(services)) {
    using namespace PreferenceKeys;
    SettingsSection* menu = addSection(L10n::mark("Files context menu"));
    auto* intro = new ThemedLabel(ThemeRoles::callout(), &DesignSystem::Colors::secondaryText);
    intro->setSourceText(menuIntro);
    intro->setWordWrap(true);
    menu->addRow(intro);

    auto* status = new QWidget;
    auto* statusLine = new QHBoxLayout(status);
    statusLine->setContentsMargins(0, 0, 0, 0);
    statusLine->setSpacing(8);
    m_symbol = new SymbolLabel(QStringLiteral("circle.dashed"), 16,
                               &DesignSystem::Colors::mutedText, status);
    m_status = new ThemedLabel(ThemeRoles::callout(), &DesignSystem::Colors::secondaryText, status);
    m_status->setWordWrap(true);
    m_refresh = new PlainButton(ThemeRoles::callout(), &DesignSystem::Colors::mutedText, status);
    m_refresh->setSymbol(QStringLiteral("arrow.clockwise"), 14);
    m_refresh->setSourceToolTip(L10n::mark("Refresh status"));
    statusLine->addWidget(m_symbol);
    statusLine->addWidget(m_status, 1);
    statusLine->addWidget(m_refresh);
    menu->addRow(status);
    connect(m_refresh, &PlainButton::clicked, this, &ExtensionsSettingsTab::refreshStatus);

    m_restart = new FormButton(L10n::mark("Restart Files"));
    auto* restartLine = new QWidget;
    auto* restartRow = new QHBoxLayout(restartLine);
    restartRow->setContentsMargins(0, 0, 0, 0);
    restartRow->addWidget(m_restart);
    restartRow->addStretch(1);
    m_enabledRow = menu->addRow(column({note(enabledNote, nullptr), restartLine}));
    connect(m_restart, &QPushButton::clicked, this, [this] { m_services.restartFileManager(); });

    m_enable = new ProgressButton(L10n::mark("Enable Files Extension"));
    m_enable->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_notInstalled = note(notInstalledText, nullptr);
    m_installCommand = new FormButton(L10n::mark("Show Install Command…"));
    auto* commandLine = new QWidget;
    auto* commandRow = new QHBoxLayout(commandLine);
    commandRow->setContentsMargins(0, 0, 0, 0);
    commandRow->addWidget(m_installCommand);
    commandRow->addStretch(1);
    m_disabledRow =
        menu->addRow(column({m_enable, m_notInstalled, note(manualNote, nullptr), commandLine}));
    connect(m_enable, &QPushButton::clicked, this, &ExtensionsSettingsTab::enableExtension);
    connect(m_installCommand, &QPushButton::clicked, this,
            [this] { m_services.showInstallCommand(window()); });

    SettingsSection* items = addSection(L10n::mark("Menu items"));
    const auto broadcast = [this] { m_services.broadcastMenuSettings(); };
    m_newFile = new ToggleSwitch;
    items->addRow(L10n::mark("Show \"New File Here\""), m_newFile);
    PreferenceBinding::bindSwitch(m_newFile, finderMenuShowNewFile, broadcast);
    m_newMarkdownFile = new ToggleSwitch;
    items->addRow(L10n::mark("Show \"New Markdown File Here\""), m_newMarkdownFile);
    PreferenceBinding::bindSwitch(m_newMarkdownFile, finderMenuShowNewMarkdownFile, broadcast);
    items->addNote(menuNote);

    SettingsSection* behavior = addSection(L10n::mark("Behavior"));
    m_openCreated = new ToggleSwitch;
    behavior->addRow(L10n::mark("Open files after creating by default"), m_openCreated);
    // The new-file prompt reads it each time; nothing to send.
    PreferenceBinding::bindSwitch(m_openCreated, openCreatedMarkdownFiles);
    behavior->addNote(openCreatedNote);

    refreshStatus();
}

void ExtensionsSettingsTab::showEvent(QShowEvent* event) {
    SettingsForm::showEvent(event);
    refreshStatus();
}

void ExtensionsSettingsTab::refreshStatus() {
    m_isEnabled = m_services.isEnabled();
    updateState();
}

void ExtensionsSettingsTab::enableExtension() {
    if (m_isEnabling)
        return;
    m_isEnabling = true;
    updateState();
    QPointer<ExtensionsSettingsTab> self(this);
    m_services.enable([self](bool enabled) {
        if (!self)
            return;
        // Files loads extensions when it starts; quitting it for nothing
        // would only close the user's folders.
        if (enabled)
            self->m_services.restartFileManager();
        QTimer::singleShot(firstRecheckMs, self, [self] {
            self->refreshStatus();
            QTimer::singleShot(secondRecheckMs, self, &ExtensionsSettingsTab::finishEnabling);
        });
    });
}

void ExtensionsSettingsTab::finishEnabling() {
    refreshStatus();
    m_isEnabling = false;
    updateState();
    if (!m_isEnabled)
        m_services.showInstallCommand(window());
}

void ExtensionsSettingsTab::updateState() {
    m_symbol->setSymbol(m_isEnabled ? QStringLiteral("checkmark.circle.fill")
                                    : QStringLiteral("circle.dashed"));
    m_symbol->setColorRole(m_isEnabled ? &DesignSystem::Colors::accent
                                       : &DesignSystem::Colors::mutedText);
    m_status->setSourceText(m_isEnabled ? L10n::mark("Files extension is enabled")
                                        : L10n::mark("Files extension is disabled"));
    m_status->setColorRole(m_isEnabled ? &DesignSystem::Colors::text
                                       : &DesignSystem::Colors::secondaryText);
    m_enabledRow->setVisible(m_isEnabled);
    m_disabledRow->setVisible(!m_isEnabled);
    const bool installed = m_services.isFileManagerInstalled();
    m_notInstalled->setVisible(!installed);
    m_enable->setBusy(m_isEnabling);
    m_enable->setEnabled(!m_isEnabling && installed);
}
