#include "tools/SelectionFormattingBar.h"

#include "core/DesignSystem.h"
#include "core/L10n.h"
#include "tools/FormatIconButton.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QVariantAnimation>

namespace {

QColor withAlpha(QColor colour, double alpha) {
    colour.setAlphaF(float(colour.alphaF() * alpha));
    return colour;
}

// A divider line 18 high with 3 on each side.
class BarDivider : public QWidget {
public:
    BarDivider(const SelectionFormattingBar::Colors& colors, QWidget* parent)
        : QWidget(parent), m_colors(colors) {
        setFixedSize(7, 18);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(QRect(3, 0, 1, height()), m_colors.divider);
    }

private:
    const SelectionFormattingBar::Colors& m_colors;
};

// The formatting row's buttons and menu labels.
constexpr QSize formatFrame{28, 24};
constexpr int formatSymbol = 16;

} // namespace

SelectionFormattingBar::Colors
SelectionFormattingBar::Colors::from(const std::optional<EditorTheme>& theme,
                                     const QPalette& system) {
    if (theme) {
        return {theme->text, theme->mutedText, theme->accent, withAlpha(theme->mutedText, 0.25),
                theme->codeBackground};
    }
    const QColor secondary = system.color(QPalette::PlaceholderText);
    return {system.color(QPalette::WindowText), secondary, system.color(QPalette::Highlight),
            withAlpha(secondary, 0.25), withAlpha(secondary, 0.12)};
}

SelectionFormattingBar::SelectionFormattingBar(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    m_colors = Colors::from(std::nullopt, palette());
    m_formattingRow = makeFormattingRow();
    m_linkRow = makeLinkRow();
    m_linkRow->hide();

    m_switch = new QVariantAnimation(this);
    m_switch->setDuration(switchDuration);
    m_switch->setStartValue(0.0);
    m_switch->setEndValue(1.0);
    m_switch->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_switch, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const double progress = value.toDouble();
        QWidget* row = m_enteringLink ? m_linkRow : m_formattingRow;
        const QSize to = row->sizeHint();
        setWantedSize(m_switchFrom + (to - m_switchFrom) * progress);
        if (auto* fade = qobject_cast<QGraphicsOpacityEffect*>(row->graphicsEffect()))
            fade->setOpacity(progress);
    });
    connect(m_switch, &QVariantAnimation::finished, this, [this] {
        m_formattingRow->setGraphicsEffect(nullptr);
        m_linkRow->setGraphicsEffect(nullptr);
    });

    retranslate();
    restyle();
    setWantedSize(m_formattingRow->sizeHint());
}

SelectionFormattingBar::~SelectionFormattingBar() = default;

QWidget* SelectionFormattingBar::makeFormattingRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setSpacing(2);
    layout->setContentsMargins(6, 6, 6, 6);
    const auto button = [&](const char* symbol) {
        auto* b = new FormatIconButton(QString::fromLatin1(symbol), formatSymbol, formatFrame, row);
        layout->addWidget(b, 0, Qt::AlignVCenter);
        return b;
    };
    const auto divider = [&] {
        auto* d = new BarDivider(m_colors, row);
        m_dividers << d;
        layout->addWidget(d, 0, Qt::AlignVCenter);
    };

    m_heading = button("textformat.size");
    m_heading->setPlain(true);
    m_headingMenu = new QMenu(m_heading);
    m_list = button("list.bullet");
    m_list->setPlain(true);
    m_listMenu = new QMenu(m_list);
    for (QMenu* menu : {m_headingMenu, m_listMenu}) {
        // The bar's light or dark look reaches the menus.
        menu->setAttribute(Qt::WA_WindowPropagation);
        auto* label = static_cast<FormatIconButton*>(menu->parentWidget());
        connect(label, &QAbstractButton::clicked, menu,
                [menu, label] { menu->popup(label->mapToGlobal(QPoint(0, label->height() + 2))); });
    }
    divider();
    m_bold = button("bold");
    m_italic = button("italic");
    m_strikethrough = button("strikethrough");
    divider();
    m_code = button("chevron.left.forwardslash.chevron.right");
    m_link = button("link");

    const std::pair<FormatIconButton*, Command> markers[] = {
        {m_bold, Command::Bold},
        {m_italic, Command::Italic},
        {m_strikethrough, Command::Strikethrough},
        {m_code, Command::Code}};
    for (const auto& [b, command] : markers)
        connect(b, &QAbstractButton::clicked, this,
                [this, c = command] { Q_EMIT commandChosen(c); });
    connect(m_link, &QAbstractButton::clicked, this, &SelectionFormattingBar::showLinkRow);
    return row;
}

QWidget* SelectionFormattingBar::makeLinkRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setSpacing(6);
    layout->setContentsMargins(8, 6, 8, 6);
    m_back = new FormatIconButton(QStringLiteral("chevron.left"), 12, QSize(20, 20), row);
    m_back->setPlain(true);
    m_field = new QLineEdit(row);
    m_field->setFrame(false);
    m_field->setFocusPolicy(Qt::ClickFocus);
    m_field->setFixedWidth(addressFieldWidth);
    m_field->setFont(DesignSystem::Typography::font(FontDesign::Default, 12));
    m_confirm =
        new FormatIconButton(QStringLiteral("arrow.right.circle.fill"), 18, QSize(22, 22), row);
    m_confirm->setPlain(true);
    layout->addWidget(m_back, 0, Qt::AlignVCenter);
    layout->addWidget(m_field, 0, Qt::AlignVCenter);
    layout->addWidget(m_confirm, 0, Qt::AlignVCenter);

    connect(m_back, &QAbstractButton::clicked, this, &SelectionFormattingBar::showFormattingRow);
    connect(m_field, &QLineEdit::textChanged, this, &SelectionFormattingBar::updateConfirm);
    connect(m_field, &QLineEdit::returnPressed, this, &SelectionFormattingBar::submit);
    connect(m_confirm, &QAbstractButton::clicked, this, &SelectionFormattingBar::submit);
    return row;
}

void SelectionFormattingBar::retranslate() {
    m_heading->setToolTip(L10n::tr("Heading"));
    m_list->setToolTip(L10n::tr("List"));
    m_bold->setToolTip(L10n::tr("Bold"));
    m_italic->setToolTip(L10n::tr("Italic"));
    m_strikethrough->setToolTip(L10n::tr("Strikethrough"));
    m_code->setToolTip(L10n::tr("Code"));
    m_link->setToolTip(L10n::tr("Link"));
    m_field->setPlaceholderText(L10n::tr("Paste or type a URL…"));
    rebuildHeadingMenu();

    m_listMenu->clear();
    const std::pair<const char*, Command> lists[] = {
        {L10n::mark("Bulleted List"), Command::BulletList},
        {L10n::mark("Numbered List"), Command::NumberedList},
        {L10n::mark("Task List"), Command::TaskList}};
    for (const auto& [title, command] : lists) {
        connect(m_listMenu->addAction(L10n::tr(title)), &QAction::triggered, this,
                [this, c = command] { Q_EMIT commandChosen(c); });
    }
}

void SelectionFormattingBar::rebuildHeadingMenu() {
    m_headingMenu->clear();
    const auto add = [this](const QString& title, int level) {
        connect(m_headingMenu->addAction(title), &QAction::triggered, this,
                [this, level] { Q_EMIT headingChosen(level); });
    };
    for (int level = 1; level <= 3; ++level)
        add(L10n::tr("Heading %1").arg(level), level);
    if (m_state.activeHeadingLevel > 0) {
        m_headingMenu->addSeparator();
        add(L10n::tr("Normal Text"), 0);
    }
}

void SelectionFormattingBar::setColors(const Colors& colors) {
    if (colors == m_colors)
        return;
    m_colors = colors;
    restyle();
}

void SelectionFormattingBar::setState(const State& state) {
    if (state == m_state)
        return;
    const bool headingChanged = (state.activeHeadingLevel > 0) != (m_state.activeHeadingLevel > 0);
    m_state = state;
    if (headingChanged)
        rebuildHeadingMenu();
    restyle();
}

FormatIconButton* SelectionFormattingBar::markerButton(Command command) const {
    switch (command) {
    case Command::Bold:
        return m_bold;
    case Command::Italic:
        return m_italic;
    case Command::Strikethrough:
        return m_strikethrough;
    case Command::Code:
        return m_code;
    default:
        return nullptr;
    }
}

void SelectionFormattingBar::restyle() {
    const auto textOrAccent = [this](bool active) {
        return active ? m_colors.accent : m_colors.text;
    };
    for (FormatIconButton* b :
         {m_heading, m_list, m_bold, m_italic, m_strikethrough, m_code, m_link, m_back, m_confirm})
        b->setColors(m_colors);
    m_heading->setSymbolColour(textOrAccent(m_state.activeHeadingLevel > 0));
    m_list->setSymbolColour(m_colors.text);
    const std::pair<FormatIconButton*, bool> markers[] = {
        {m_bold, m_state.isBoldActive},
        {m_italic, m_state.isItalicActive},
        {m_strikethrough, m_state.isStrikethroughActive},
        {m_code, m_state.isCodeActive}};
    for (const auto& [b, active] : markers) {
        b->setActive(active);
        b->setSymbolColour(textOrAccent(active));
    }
    m_link->setSymbolColour(m_colors.text);
    m_back->setSymbolColour(m_colors.muted);
    for (QWidget* d : std::as_const(m_dividers))
        d->update();

    QPalette field = m_field->palette();
    field.setColor(QPalette::Base, Qt::transparent);
    field.setColor(QPalette::Text, m_colors.text);
    field.setColor(QPalette::PlaceholderText, m_colors.muted);
    m_field->setPalette(field);
    updateConfirm();
}

bool SelectionFormattingBar::canConfirmLink() const {
    return !m_field->text().trimmed().isEmpty();
}

void SelectionFormattingBar::updateConfirm() {
    const bool can = canConfirmLink();
    m_confirm->setEnabled(can);
    m_confirm->setSymbolColour(can ? m_colors.accent : m_colors.muted);
}

void SelectionFormattingBar::submit() {
    if (canConfirmLink())
        Q_EMIT linkConfirmed(m_field->text().trimmed());
}

void SelectionFormattingBar::showLinkRow() {
    // The clipboard is read here only: reading it can block on X11.
    if (m_field->text().isEmpty() && m_urlGuess)
        m_field->setText(m_urlGuess());
    switchRow(true, true);
    if (isVisible())
        m_field->setFocus(Qt::OtherFocusReason);
}

void SelectionFormattingBar::showFormattingRow() {
    switchRow(false, true);
}

void SelectionFormattingBar::reset() {
    m_field->clear();
    switchRow(false, false);
}

void SelectionFormattingBar::switchRow(bool link, bool animated) {
    QWidget* in = link ? m_linkRow : m_formattingRow;
    QWidget* out = link ? m_formattingRow : m_linkRow;
    if (link == m_enteringLink && m_switch->state() != QAbstractAnimation::Running &&
        m_size == in->sizeHint())
        return;
    if (m_enteringLink && !link)
        Q_EMIT leavingLinkRow();
    m_switch->stop();
    m_formattingRow->setGraphicsEffect(nullptr);
    m_linkRow->setGraphicsEffect(nullptr);
    m_enteringLink = link;
    out->hide();
    in->show();
    placeRows();
    if (!animated) {
        setWantedSize(in->sizeHint());
        return;
    }
    m_switchFrom = m_size;
    auto* fade = new QGraphicsOpacityEffect(in);
    fade->setOpacity(0);
    in->setGraphicsEffect(fade);
    m_switch->start();
}

void SelectionFormattingBar::setWantedSize(const QSize& size) {
    if (size == m_size)
        return;
    m_size = size;
    updateGeometry();
    Q_EMIT wantedSizeChanged();
}

void SelectionFormattingBar::placeRows() {
    // Each row at its own size, centred: while the bar grows or shrinks to
    // the new row, the row is cut at the edges rather than squeezed.
    for (QWidget* row : {m_formattingRow, m_linkRow}) {
        QRect box(QPoint(), row->sizeHint());
        box.moveCenter(rect().center());
        row->setGeometry(box);
    }
}

void SelectionFormattingBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeRows();
}

void SelectionFormattingBar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}
