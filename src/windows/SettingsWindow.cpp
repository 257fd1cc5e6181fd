#include "windows/SettingsWindow.h"

#include "core/AppDataResetService.h"
#include "core/AppearanceService.h"
#include "core/FeatureTourController.h"
#include "core/L10n.h"
#include "platform/Symbols.h"
#include "shell/DocumentController.h"
#include "shell/WindowCommands.h"
#include "shell/WindowMenuBar.h"
#include "widgets/DividerLine.h"
#include "windows/AppearanceSettingsTab.h"
#include "windows/EditorSettingsTab.h"

#include <QBoxLayout>
#include <QEvent>
#include <QStackedWidget>
#include <QTabBar>

namespace {

struct TabLabel {
    const char* title;
    const char* symbol;
};

constexpr TabLabel tabLabels[] = {
    {L10n::mark("General"), "gearshape"},
    {L10n::mark("Editor"), "square.and.pencil"},
    {L10n::mark("Appearance"), "paintbrush"},
    {L10n::mark("Files"), "folder"},
    {L10n::mark("Extensions"), "puzzlepiece.extension"},
};

} // namespace

SettingsServices SettingsServices::standard(DocumentController& controller) {
    SettingsServices services;
    services.general.presentFeatureTour = [] { FeatureTourController::shared().present(); };
    services.general.clearDataAndQuit = [&controller] {
        // Every document first, each through its own prompt; a Cancel keeps
        // everything. The wipe comes last, so nothing is written after it.
        controller.quit(&AppDataResetService::clearAllData);
    };
    return services;
}

SettingsWindow::SettingsWindow(SettingsServices services, ApplicationCommands application,
                               QWidget* parent)
    : QMainWindow(parent) {
    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_header = new QWidget(content);
    auto* header = new QVBoxLayout(m_header);
    header->setContentsMargins(0, 6, 0, 0);
    header->setSpacing(0);
    m_tabBar = new QTabBar(m_header);
    m_tabBar->setDocumentMode(true);
    m_tabBar->setExpanding(false);
    m_tabBar->setDrawBase(false);
    m_tabBar->setIconSize(QSize(16, 16));
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    bar->addWidget(m_tabBar);
    bar->addStretch(1);
    header->addLayout(bar);
    header->addWidget(new DividerLine(m_header));
    column->addWidget(m_header);
    m_stack = new QStackedWidget(content);
    column->addWidget(m_stack, 1);
    m_general = new GeneralSettingsTab(std::move(services.general));
    m_editor = new EditorSettingsTab;
    m_appearance = new AppearanceSettingsTab;
    m_files = new FilesSettingsTab(std::move(services.files));
    m_extensions = new ExtensionsSettingsTab(std::move(services.extensions));
    for (SettingsForm* form :
         {static_cast<SettingsForm*>(m_general), static_cast<SettingsForm*>(m_editor),
          static_cast<SettingsForm*>(m_appearance), static_cast<SettingsForm*>(m_files),
          static_cast<SettingsForm*>(m_extensions)}) {
        m_stack->addWidget(form);
        m_tabBar->addTab(QString());
        connect(form, &SettingsForm::contentChanged, this, [this, form] {
            if (form == this->form(currentTab()))
                fitToCurrentTab();
        });
    }
    setCentralWidget(content);

    // The same menus as every window; no document values, so document and
    // view commands are disabled.
    m_commands = new WindowCommands(this, FocusedValues{}, std::move(application));
    setMenuBar(new WindowMenuBar(*m_commands, this));

    connect(m_tabBar, &QTabBar::currentChanged, this, [this](int index) {
        m_stack->setCurrentIndex(index);
        fitToCurrentTab();
    });
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            &SettingsWindow::restyle);
    retranslate();
    restyle();
    fitToCurrentTab();
}

SettingsWindow::Tab SettingsWindow::currentTab() const {
    return Tab(m_tabBar->currentIndex());
}

void SettingsWindow::setCurrentTab(Tab tab) {
    m_tabBar->setCurrentIndex(tab);
}

SettingsForm* SettingsWindow::form(Tab tab) const {
    return static_cast<SettingsForm*>(m_stack->widget(tab));
}

void SettingsWindow::fitToCurrentTab() {
    // The menus, the tab bar and the shown tab's form, nothing more: the
    // form as tall as its sections need in the language shown.
    const int header = m_header->sizeHint().height();
    const int menus = menuWidget() ? menuWidget()->sizeHint().height() : 0;
    setFixedSize(SettingsForm::width, menus + header + form(currentTab())->formHeight());
}

void SettingsWindow::retranslate() {
    setWindowTitle(L10n::tr("Settings"));
    for (int i = 0; i < m_tabBar->count(); ++i)
        m_tabBar->setTabText(i, L10n::tr(tabLabels[i].title));
    // Longer titles may need a taller tab bar.
    fitToCurrentTab();
}

void SettingsWindow::restyle() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    for (int i = 0; i < m_tabBar->count(); ++i)
        m_tabBar->setTabIcon(
            i, Symbols::icon(QString::fromLatin1(tabLabels[i].symbol), ds.colors.secondaryText));
}

void SettingsWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}
