#include "shell/WindowToolbar.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "platform/Symbols.h"
#include "shell/ModeSwitcher.h"
#include "shell/ToolbarSegmentChrome.h"
#include "shell/WindowCommands.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLayout>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

WindowToolbar::WindowToolbar(WindowCommands& commands, QWidget* parent)
    : QToolBar(parent), m_commands(commands) {
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    layout()->setContentsMargins(10, 6, 10, 6);
    layout()->setSpacing(8);

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

    // Popped up by hand: a button menu would draw an arrow on the icon.
    m_shareMenu = new QMenu(m_share);
    connect(m_share, &QToolButton::clicked, this,
            [this] { m_shareMenu->popup(m_share->mapToGlobal(QPoint(0, m_share->height()))); });
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
    update();
}

void WindowToolbar::paintEvent(QPaintEvent*) {
    // Drawn here rather than by a style sheet, which would take over the
    // palettes of the whole window.
    const DesignSystem::Colors& c = AppearanceService::shared().designSystem().colors;
    QPainter p(this);
    p.fillRect(rect(), c.chrome);
    p.fillRect(QRect(0, height() - 1, width(), 1), c.divider);
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
