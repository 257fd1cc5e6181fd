#include "shell/WindowToolbar.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "platform/Symbols.h"
#include "shell/ModeSwitcher.h"
#include "shell/ToolbarSegmentChrome.h"
#include "shell/WindowCommands.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>

WindowToolbar::WindowToolbar(WindowCommands& commands, QWidget* parent)
    : QToolBar(parent), m_commands(commands) {
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setObjectName(QStringLiteral("windowToolbar"));

    m_switcher = new ModeSwitcher(this);
    addWidget(m_switcher);
    auto* spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(spacer);

    auto* group = new ToolbarSegmentChrome(this);
    const auto add = [&](QToolButton* button) {
        group->row()->addWidget(button);
        return button;
    };
    m_home = add(addButton(commands.welcomeWindow));
    m_palette = add(addButton(commands.commandPalette));
    m_find = add(addButton(commands.find));
    m_share = add(addButton(nullptr));
    m_settings = add(addButton(commands.settings));
    addWidget(group);

    m_shareMenu = new QMenu(m_share);
    m_share->setMenu(m_shareMenu);
    m_share->setPopupMode(QToolButton::InstantPopup);
    connect(m_shareMenu, &QMenu::aboutToShow, this, &WindowToolbar::fillShareMenu);
    const auto followDocument = [this] {
        m_share->setEnabled(m_commands.values().documentActions.has_value());
    };
    connect(&commands, &WindowCommands::refreshed, this, followDocument);
    followDocument();
    fillShareMenu();

    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            &WindowToolbar::restyle);
    retranslate();
    restyle();
}

QToolButton* WindowToolbar::addButton(QAction* action) {
    auto* button = new QToolButton(this);
    button->setAutoRaise(true);
    button->setFixedSize(30, 26);
    button->setIconSize(QSize(16, 16));
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
    if (action) {
        // A view of the shared command, not a second copy of it.
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
        button->setEnabled(action->isEnabled());
    }
    return button;
}

void WindowToolbar::fillShareMenu() {
    const WindowCommands& c = m_commands;
    m_shareMenu->clear();
    m_shareMenu->addSection(L10n::tr("Document"));
    m_shareMenu->addActions({c.saveAs, c.duplicate});
    // Shown, not just disabled, only for a document with a file.
    if (c.canReveal())
        m_shareMenu->addAction(c.reveal);
    m_shareMenu->addSection(L10n::tr("Export"));
    m_shareMenu->addActions({c.exportPDF, c.exportHTML, c.exportMarkdownCopy, c.exportPlainText});
    m_shareMenu->addSeparator();
    m_shareMenu->addAction(c.copyHTML);
}

void WindowToolbar::setFindBarPresented(bool presented) {
    m_findBarPresented = presented;
    restyle();
}

void WindowToolbar::restyle() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    const QColor secondary = ds.colors.secondaryText;
    m_home->setIcon(Symbols::icon(QStringLiteral("house"), secondary));
    m_palette->setIcon(Symbols::icon(QStringLiteral("command"), secondary));
    m_find->setIcon(Symbols::icon(QStringLiteral("magnifyingglass"),
                                  m_findBarPresented ? ds.colors.accent : secondary));
    m_share->setIcon(Symbols::icon(QStringLiteral("square.and.arrow.up"), secondary));
    m_settings->setIcon(Symbols::icon(QStringLiteral("gearshape"), secondary));
    QPalette p = palette();
    p.setColor(QPalette::Window, ds.colors.chrome);
    p.setColor(QPalette::Button, ds.colors.chrome);
    setPalette(p);
    setAutoFillBackground(true);
    const QColor divider = ds.colors.divider;
    setStyleSheet(QStringLiteral("QToolBar#windowToolbar { border: none; border-bottom: 1px solid "
                                 "rgba(%1, %2, %3, %4); padding: 6px 10px; spacing: 8px; }")
                      .arg(divider.red())
                      .arg(divider.green())
                      .arg(divider.blue())
                      .arg(divider.alpha()));
}

void WindowToolbar::retranslate() {
    setWindowTitle(L10n::tr("Toolbar"));
    m_home->setToolTip(L10n::tr("Home"));
    m_palette->setToolTip(L10n::tr("Command Palette…"));
    m_find->setToolTip(L10n::tr("Find in document…"));
    m_share->setToolTip(L10n::tr("Share & Export"));
    m_settings->setToolTip(L10n::tr("Settings"));
    fillShareMenu();
}

void WindowToolbar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QToolBar::changeEvent(event);
}
