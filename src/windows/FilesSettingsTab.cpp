#include "windows/FilesSettingsTab.h"

#include "core/DefaultMarkdownHandlerService.h"
#include "core/L10n.h"
#include "widgets/ProgressButton.h"
#include "widgets/SymbolLabel.h"
#include "widgets/ThemedLabel.h"
#include "windows/SettingsDialogs.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPointer>
#include <QTimer>

namespace {
// clang-format off
constexpr const char* doubleClickNote = L10n::mark("Double-clicking a .md file in Files will open it in quon.");
constexpr const char* installTip = L10n::mark("Tip: quon must be installed for this to work reliably.");
// clang-format on
} // namespace

FilesSettingsTab::Services FilesSettingsTab::Services::standard() {
    Services services;
    services.isDefaultHandler = &DefaultMarkdownHandlerService::isDefaultHandler;
    services.setAsDefault = &DefaultMarkdownHandlerService::setAsDefault;
    return services;
}

FilesSettingsTab::FilesSettingsTab(Services services, QWidget* parent)
    : SettingsForm(formHeightValue, parent), m_services(std::move(services)) {
    SettingsSection* files = addSection(L10n::mark("Files"));
    auto* status = new QWidget;
    auto* line = new QHBoxLayout(status);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(6);
    m_symbol = new SymbolLabel(QStringLiteral("checkmark.circle.fill"), 14,
                               &DesignSystem::Colors::accent, status);
    m_status = new ThemedLabel(ThemeRoles::callout(), &DesignSystem::Colors::secondaryText, status);
    m_status->setWordWrap(true);
    line->addWidget(m_symbol);
    line->addWidget(m_status, 1);
    files->addRow(status);

    m_button = new ProgressButton;
    m_button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_button->setSourceText(L10n::mark("Set as Default for Markdown Files"));
    files->addRow(m_button);
    files->addNote(doubleClickNote);
    connect(m_button, &QPushButton::clicked, this, &FilesSettingsTab::setAsDefaultHandler);
    updateState();
    refreshStatus();
}

QString FilesSettingsTab::errorMessage(const QString& error) {
    return error + QStringLiteral("\n\n") + L10n::tr(installTip);
}

void FilesSettingsTab::showEvent(QShowEvent* event) {
    SettingsForm::showEvent(event);
    // Fresh each time the tab is shown: another application may have taken over.
    refreshStatus();
}

void FilesSettingsTab::refreshStatus() {
    if (!m_services.isDefaultHandler)
        return;
    QPointer<FilesSettingsTab> self(this);
    m_services.isDefaultHandler([self](bool isDefault) {
        if (self)
            self->setDefault(isDefault);
    });
}

void FilesSettingsTab::setDefault(bool isDefault) {
    m_isDefault = isDefault;
    updateState();
}

void FilesSettingsTab::setAsDefaultHandler() {
    if (!m_services.setAsDefault || m_isSettingDefault)
        return;
    m_isSettingDefault = true;
    updateState();
    QPointer<FilesSettingsTab> self(this);
    m_services.setAsDefault([self](const QString& error) {
        if (!self)
            return;
        self->m_isSettingDefault = false;
        self->updateState();
        if (!error.isEmpty()) {
            // The status stays as it was; the button is there for a retry.
            SettingsDialogs& dialogs =
                self->m_services.dialogs ? *self->m_services.dialogs : SettingsDialogs::standard();
            dialogs.showDefaultAppError(self->window(), errorMessage(error));
            return;
        }
        // The system may take a moment to report the new default.
        self->refreshStatus();
        QTimer::singleShot(recheckDelayMs, self, &FilesSettingsTab::refreshStatus);
    });
}

void FilesSettingsTab::updateState() {
    m_symbol->setVisible(m_isDefault);
    m_status->setColorRole(m_isDefault ? &DesignSystem::Colors::accent
                                       : &DesignSystem::Colors::secondaryText);
    m_status->setSourceText(m_isDefault ? L10n::mark("quon is the default app for Markdown files")
                                        : L10n::mark("quon is not the default app for .md files."));
    m_button->setBusy(m_isSettingDefault);
    m_button->setEnabled(!m_isSettingDefault && !m_isDefault);
}
