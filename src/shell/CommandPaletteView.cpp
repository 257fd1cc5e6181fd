#include "shell/CommandPaletteView.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "core/Motion.h"
#include "shell/CommandPalette.h"
#include "shell/CommandPaletteList.h"
#include "widgets/PopoverFrame.h"
#include "widgets/SymbolLabel.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int fieldPadding = 16, emptyPadding = 24, cornerRadius = 14;
// Between the panel and the window's edges in a short window, and the list's
// least height before the panel leaves its place 100 pixels down (about
// three rows).
constexpr int panelMargin = 12, shortListHeight = 130;
// A large soft shadow falling well below the panel.
constexpr int shadowBlur = 15, shadowOffset = 14;
constexpr double shadowOpacity = 0.28;

// The shadow of a rounded rectangle of `size`: its shape blurred by three box
// blurs of `blur` pixels each way (close to a Gaussian), in an image reaching
// 3 * blur beyond the shape on every side. Painted here rather than by a
// graphics effect, which could not sit inside the palette's fade.
QImage roundedShadow(const QSize& size, int radius, int blur, double opacity) {
    const int margin = 3 * blur;
    QImage image(size + QSize(2 * margin, 2 * margin), QImage::Format_Alpha8);
    image.fill(0);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgbF(0, 0, 0, float(opacity)));
        painter.drawRoundedRect(QRectF(QPointF(margin, margin), size), radius, radius);
    }
    const int width = image.width(), height = image.height();
    std::vector<int> line(size_t(qMax(width, height)));
    const auto pass = [&](bool across) {
        const int count = across ? width : height;
        for (int other = 0; other < (across ? height : width); ++other) {
            const auto at = [&](int i) -> uchar& {
                return across ? image.scanLine(other)[i] : image.scanLine(i)[other];
            };
            for (int i = 0; i < count; ++i)
                line[size_t(i)] = at(i);
            int sum = 0;
            for (int i = 0; i <= blur && i < count; ++i)
                sum += line[size_t(i)];
            for (int i = 0; i < count; ++i) {
                at(i) = uchar(sum / (2 * blur + 1));
                if (i - blur >= 0)
                    sum -= line[size_t(i - blur)];
                if (i + blur + 1 < count)
                    sum += line[size_t(i + blur + 1)];
            }
        }
    };
    for (int round = 0; round < 3; ++round) {
        pass(true);
        pass(false);
    }
    return image;
}

} // namespace

CommandPaletteView::CommandPaletteView(ActionSource source, QWidget* content)
    : QWidget(content), m_source(std::move(source)) {
    setObjectName(QStringLiteral("commandPalette"));
    m_panel = new PopoverFrame(this);
    m_panel->setCornerRadius(cornerRadius);
    m_panel->setShadowEnabled(false);

    m_body = new QWidget;
    auto* column = new QVBoxLayout(m_body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* search = new QHBoxLayout;
    search->setContentsMargins(fieldPadding, fieldPadding, fieldPadding, fieldPadding);
    search->setSpacing(8);
    m_icon = new SymbolLabel(QStringLiteral("magnifyingglass"), 14,
                             &DesignSystem::Colors::mutedText, m_body);
    m_field = new QLineEdit(m_body);
    m_field->setFrame(false);
    m_field->installEventFilter(this);
    search->addWidget(m_icon);
    search->addWidget(m_field, 1);
    column->addLayout(search);
    m_divider = new QWidget(m_body);
    m_divider->setFixedHeight(1);
    m_divider->setAutoFillBackground(true);
    column->addWidget(m_divider);
    m_list = new CommandPaletteList(m_body);
    column->addWidget(m_list);
    m_empty = new QLabel(m_body);
    m_empty->setAlignment(Qt::AlignCenter);
    column->addWidget(m_empty);
    m_panel->setContent(m_body, 0, QWIDGETSIZE_MAX);

    connect(m_field, &QLineEdit::textChanged, this, &CommandPaletteView::queryEdited);
    connect(m_field, &QLineEdit::returnPressed, this, &CommandPaletteView::activateSelected);
    connect(m_list, &CommandPaletteList::rowClicked, this, [this](int index) {
        if (index >= 0 && index < m_filtered.size())
            perform(m_filtered[index]);
    });
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            &CommandPaletteView::restyle);

    m_fade.setDuration(fadeMs);
    m_fade.setEasingCurve(Motion::easeOut());
    connect(&m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        static_cast<QGraphicsOpacityEffect*>(graphicsEffect())->setOpacity(value.toDouble());
    });
    connect(&m_fade, &QVariantAnimation::finished, this, &CommandPaletteView::fadeFinished);
    auto* effect = new QGraphicsOpacityEffect(this);
    effect->setOpacity(0);
    setGraphicsEffect(effect);

    retranslate();
    restyle();
    m_actions = m_source();
    m_filtered = m_actions;
    showRows();

    content->installEventFilter(this);
    setGeometry(content->rect());
    QWidget* focused = content->window()->focusWidget();
    if (focused && !isAncestorOf(focused))
        m_restoreFocus = focused;
    show();
    raise();
    m_field->setFocus(Qt::OtherFocusReason);
    fadeTo(1);
}

QString CommandPaletteView::query() const {
    return m_field->text();
}

double CommandPaletteView::opacity() const {
    const auto* effect = static_cast<QGraphicsOpacityEffect*>(graphicsEffect());
    return effect->isEnabled() ? effect->opacity() : 1.0;
}

void CommandPaletteView::refresh() {
    m_actions = m_source();
    m_filtered = CommandPalette::filtered(m_actions, query());
    showRows();
}

void CommandPaletteView::queryEdited() {
    m_selected = 0;
    m_filtered = CommandPalette::filtered(m_actions, query());
    showRows();
}

void CommandPaletteView::moveSelection(int step) {
    if (m_filtered.isEmpty())
        return;
    m_selected = CommandPalette::movedSelection(m_selected, step, int(m_filtered.size()));
    m_list->setSelectedIndex(m_selected);
}

void CommandPaletteView::activateSelected() {
    if (m_selected >= 0 && m_selected < m_filtered.size())
        perform(m_filtered[m_selected]);
}

void CommandPaletteView::perform(const CommandPaletteAction& action) {
    if (m_dismissed)
        return;
    const std::function<void()> run = action.perform; // the host may refresh the list
    Q_EMIT dismissRequested();
    // Once the palette counts as closed: a dialog the action opens, or a
    // window, never meets the palette still open.
    if (run)
        QTimer::singleShot(0, window(), run);
}

void CommandPaletteView::dismiss() {
    if (m_dismissed)
        return;
    m_dismissed = true;
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_field->setFocusPolicy(Qt::NoFocus);
    QWidget* focused = window()->focusWidget();
    if (focused && (focused == this || isAncestorOf(focused))) {
        if (m_restoreFocus && m_restoreFocus->isVisible() && m_restoreFocus->isEnabled())
            m_restoreFocus->setFocus(Qt::OtherFocusReason);
        else
            focused->clearFocus();
    }
    fadeTo(0);
}

void CommandPaletteView::fadeTo(double target) {
    auto* effect = static_cast<QGraphicsOpacityEffect*>(graphicsEffect());
    const double from = opacity();
    m_fade.stop();
    effect->setEnabled(true);
    effect->setOpacity(from);
    if (!window()->isVisible()) {
        // Nothing on screen to animate.
        effect->setOpacity(target);
        fadeFinished();
        return;
    }
    m_fade.setStartValue(from);
    m_fade.setEndValue(target);
    m_fade.start();
}

void CommandPaletteView::fadeFinished() {
    if (m_dismissed)
        deleteLater();
    else
        graphicsEffect()->setEnabled(false); // drawn directly while shown
}

void CommandPaletteView::showRows() {
    const bool any = !m_filtered.isEmpty();
    m_list->setActions(m_filtered, m_selected);
    m_list->setVisible(any);
    m_empty->setVisible(!any);
    placePanel();
}

void CommandPaletteView::placePanel() {
    // In a short window the panel rises and its list gives up rows, scrolling
    // them, so that the panel ends above the window's bottom edge.
    const bool rows = !m_list->isHidden();
    m_list->setHeightLimit(CommandPaletteList::maximumHeight);
    m_body->layout()->invalidate();
    const int listHeight = rows ? m_list->sizeHint().height() : 0;
    const int fixed = m_body->layout()->sizeHint().height() - listHeight;
    const int fewRows = qMin(listHeight, shortListHeight);
    const int top =
        qMax(panelMargin, qMin(int(panelTop), height() - panelMargin - fixed - fewRows));
    if (rows) {
        m_list->setHeightLimit(height() - panelMargin - top - fixed);
        m_body->layout()->invalidate();
    }
    const int width = qMin(panelWidth, this->width());
    const int panelHeight =
        qMin(m_body->layout()->sizeHint().height(), qMax(0, height() - panelMargin - top));
    const QRect placed((this->width() - width) / 2, top, width, panelHeight);
    if (placed == m_panel->geometry())
        return;
    m_panel->setGeometry(placed);
    // The shadow lies outside the panel: the old one is painted over only
    // when the whole layer is.
    update();
}

void CommandPaletteView::retranslate() {
    m_field->setPlaceholderText(L10n::tr("Type a command…"));
    m_empty->setText(L10n::tr("No matching commands"));
}

void CommandPaletteView::restyle() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    m_panel->setColours(ds.colors.chrome, ds.colors.segmentBorder);
    m_field->setFont(ds.typography.body);
    QPalette field = m_field->palette();
    field.setColor(QPalette::Base, Qt::transparent);
    field.setColor(QPalette::Text, ds.colors.text);
    field.setColor(QPalette::PlaceholderText, ds.colors.mutedText);
    m_field->setPalette(field);
    QPalette line = m_divider->palette();
    line.setColor(QPalette::Window, ds.colors.divider);
    m_divider->setPalette(line);
    m_empty->setFont(ds.typography.callout);
    // Centred with room above and below.
    m_empty->setFixedHeight(QFontMetrics(ds.typography.callout).height() + 2 * emptyPadding);
    QPalette empty = m_empty->palette();
    empty.setColor(QPalette::WindowText, ds.colors.mutedText);
    m_empty->setPalette(empty);
    m_list->viewport()->update();
    placePanel();
}

bool CommandPaletteView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    } else if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            moveSelection(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CommandPaletteView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placePanel();
}

void CommandPaletteView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, float(backdropOpacity)));
    const QRect panel = m_panel->geometry();
    if (m_shadow.size() != panel.size() + QSize(6 * shadowBlur, 6 * shadowBlur))
        m_shadow = roundedShadow(panel.size(), cornerRadius, shadowBlur, shadowOpacity);
    painter.drawImage(panel.topLeft() + QPoint(-3 * shadowBlur, shadowOffset - 3 * shadowBlur),
                      m_shadow);
}

void CommandPaletteView::mousePressEvent(QMouseEvent* event) {
    // The panel keeps its own presses: this one fell on the dimmed layer.
    event->accept();
    Q_EMIT dismissRequested();
}

void CommandPaletteView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        refresh();
    }
    QWidget::changeEvent(event);
}

bool CommandPaletteView::focusNextPrevChild(bool) {
    // Tab stays in the query field rather than reaching the editor below.
    return true;
}
