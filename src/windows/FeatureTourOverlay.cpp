#include "windows/FeatureTourOverlay.h"

#include "core/AppearanceService.h"
#include "core/FeatureTourController.h"
#include "core/FeatureTourSlideCatalog.h"
#include "core/L10n.h"
#include "editor/ScrollViewStyling.h"
#include "widgets/LayoutHeight.h"
#include "widgets/PlainButton.h"
#include "widgets/ThemedLabel.h"
#include "windows/FeatureTourPageDots.h"
#include "windows/FeatureTourSlideVisual.h"
#include "windows/FeatureTourSlideVisuals.h"
#include "windows/WelcomeButtonStyles.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>

namespace {

// The card's surface: rounded, with a hairline along its edge.
class CardSurface : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        const DesignSystem::Colors& c = AppearanceService::shared().designSystem().colors;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), 14, 14);
        painter.fillPath(shape, QColor(c.previewSurface));
        QPainterPath edge;
        edge.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 14, 14);
        painter.strokePath(edge, QPen(QColor(c.divider), 1));
    }
};

QBoxLayout* box(QBoxLayout::Direction direction, QWidget* parent, const QMargins& margins,
                int spacing) {
    auto* layout = new QBoxLayout(direction, parent);
    layout->setContentsMargins(margins);
    layout->setSpacing(spacing);
    return layout;
}

ThemedLabel* wrappingLabel(FontRole font, ColorRole color, QWidget* parent) {
    auto* label = new ThemedLabel(std::move(font), color, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

bool plain(const QKeyEvent* event) {
    return (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

FeatureTourOverlay::FeatureTourOverlay(FeatureTourController& tour, QWidget* parent)
    : QWidget(parent), m_tour(tour) {
    setObjectName(QStringLiteral("featureTourOverlay"));
    setFocusPolicy(Qt::ClickFocus);
    setAcceptDrops(true);
    buildCard();
    m_slide->installEventFilter(this);

    connect(&tour, &FeatureTourController::currentIndexChanged, this, [this] { showSlide(true); });
    connect(&AppearanceService::shared(), &AppearanceService::changed, this, [this] {
        ScrollViewStyling::apply(m_area, AppearanceService::shared().designSystem().colors.accent);
        update();
    });
    ScrollViewStyling::apply(m_area, AppearanceService::shared().designSystem().colors.accent);
    showSlide(false);
    placeCard();
}

void FeatureTourOverlay::buildCard() {
    m_card = new CardSurface(this);
    m_card->setFixedWidth(cardWidth);
    auto* column = box(QBoxLayout::TopToBottom, m_card, QMargins(), 0);

    m_header = box(QBoxLayout::LeftToRight, nullptr, QMargins(24, 16, 24, 0), 6);
    m_header->addStretch(1);
    m_skip = new PlainButton(ThemeRoles::callout(), &DesignSystem::Colors::mutedText, m_card);
    m_skip->setSourceText(L10n::mark("Skip"));
    m_header->addWidget(m_skip);
    column->addLayout(m_header);

    // Between the buttons, the slide: it scrolls when the window is too short
    // for it, the buttons above and below staying in view.
    m_area = new QScrollArea(m_card);
    m_area->setFrameShape(QFrame::NoFrame);
    m_area->setFocusPolicy(Qt::NoFocus);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_area->viewport()->setAutoFillBackground(false);
    m_slide = new QWidget;
    auto* slide = box(QBoxLayout::TopToBottom, m_slide, QMargins(0, 8, 0, 0), 16);
    const FeatureTourSlide& first = FeatureTourSlideCatalog::slides().at(m_tour.currentIndex());
    m_picture = new FeatureTourSlideVisual(first.kind, m_slide);
    slide->addWidget(m_picture);
    auto* texts = box(QBoxLayout::TopToBottom, nullptr, QMargins(24, 0, 24, 0), 8);
    m_title = wrappingLabel(ThemeRoles::designed(22, QFont::DemiBold), &DesignSystem::Colors::text,
                            m_slide);
    m_body = wrappingLabel(ThemeRoles::callout(), &DesignSystem::Colors::secondaryText, m_slide);
    texts->addWidget(m_title);
    texts->addWidget(m_body);
    slide->addLayout(texts);
    m_dots =
        new FeatureTourPageDots(FeatureTourSlideCatalog::count(), m_tour.currentIndex(), m_slide);
    auto* dots = box(QBoxLayout::LeftToRight, nullptr, QMargins(0, 0, 0, 16), 0);
    dots->addWidget(m_dots, 0, Qt::AlignHCenter);
    slide->addLayout(dots);
    m_area->setWidget(m_slide);
    m_slide->setAutoFillBackground(false);
    column->addWidget(m_area);

    m_footer = box(QBoxLayout::LeftToRight, nullptr, QMargins(24, 0, 24, 24), 16);
    m_back = new WelcomeButton(WelcomeButton::Style::Secondary, m_card);
    m_back->setSourceText(L10n::mark("Back"));
    m_primary = new WelcomeButton(WelcomeButton::Style::Primary, m_card);
    for (WelcomeButton* button : {m_back, m_primary})
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_footer->addWidget(m_back);
    m_footer->addStretch(1);
    m_footer->addWidget(m_primary);
    column->addLayout(m_footer);

    for (QWidget* button : {static_cast<QWidget*>(m_skip), static_cast<QWidget*>(m_back),
                            static_cast<QWidget*>(m_primary)})
        button->installEventFilter(this);
    connect(m_skip, &QAbstractButton::clicked, &m_tour, &FeatureTourController::skip);
    connect(m_back, &QAbstractButton::clicked, &m_tour, &FeatureTourController::goBack);
    connect(m_primary, &QAbstractButton::clicked, &m_tour, &FeatureTourController::advance);
}

void FeatureTourOverlay::showSlide(bool animated) {
    const int index = m_tour.currentIndex();
    const FeatureTourSlide& slide = FeatureTourSlideCatalog::slides().at(index);
    m_picture->setKind(slide.kind, animated);
    m_title->setText(slide.title);
    m_body->setText(slide.body);
    m_dots->setCurrent(index, animated);
    m_area->verticalScrollBar()->setValue(0);
    const bool first = index == 0;
    m_back->setEnabled(!first);
    m_back->setOpacity(first ? dimmedBackOpacity : 1.0);
    const bool last = index >= FeatureTourSlideCatalog::count() - 1;
    m_primary->setSourceText(last ? L10n::mark("Get Started") : L10n::mark("Continue"));
}

bool FeatureTourOverlay::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Every key but a plain Escape stays here instead of triggering the
        // window's shortcuts; Escape goes to the window's dispatcher.
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Escape && plain(key)) || passes(key))
            break;
        key->accept();
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::KeyRelease:
        // Whatever the card's parts leave ends here, not in the window below.
        event->accept();
        return true;
    default:
        break;
    }
    return QWidget::event(event);
}

void FeatureTourOverlay::setPassingActions(const QList<QAction*>& actions) {
    m_passing.clear();
    for (QAction* action : actions)
        m_passing.append(action);
}

bool FeatureTourOverlay::passes(const QKeyEvent* key) const {
    const QKeySequence pressed(key->keyCombination());
    for (const QPointer<QAction>& action : m_passing) {
        if (action && action->isEnabled() &&
            (action->shortcuts().contains(pressed) ||
             QKeySequence::mnemonic(action->text()) == pressed))
            return true;
    }
    return false;
}

bool FeatureTourOverlay::focusNextPrevChild(bool next) {
    // Tab goes round the card's buttons and never under the layer.
    QList<QWidget*> chain = {this, m_skip};
    if (m_back->isEnabled())
        chain.append(m_back);
    chain.append(m_primary);
    const qsizetype at = chain.indexOf(QApplication::focusWidget());
    const qsizetype count = chain.size();
    QWidget* target = chain.at(((at < 0 ? 0 : at) + (next ? 1 : count - 1)) % count);
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool FeatureTourOverlay::step(const QKeyEvent* event) {
    if (!plain(event))
        return false;
    switch (event->key()) {
    case Qt::Key_Left:
        m_tour.goBack();
        return true;
    case Qt::Key_Right:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_tour.advance();
        return true;
    default:
        return false;
    }
}

void FeatureTourOverlay::keyPressEvent(QKeyEvent* event) {
    step(event);
    event->accept();
}

void FeatureTourOverlay::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeCard();
}

void FeatureTourOverlay::placeCard() {
    const auto slideHeight = [this] {
        return LayoutHeight::forWidth(*m_slide->layout(), cardWidth);
    };
    const auto buttonsHeight = [this] {
        return m_header->sizeHint().height() + m_footer->sizeHint().height();
    };
    // A window too short for the full card at its least (the smallest
    // picture, the texts and the dots between the buttons) gets a compact
    // card: tighter rows round the buttons and no picture, so the slide's
    // texts come first.
    m_header->setContentsMargins(margin, 16, margin, 0);
    m_footer->setContentsMargins(margin, 0, margin, margin);
    const int spacing = m_slide->layout()->spacing();
    const int withoutPicture =
        slideHeight() - (m_picture->isHidden() ? 0 : m_picture->maximumHeight() + spacing);
    const bool compact = height() - 2 * minimumMargin - buttonsHeight() <
                         withoutPicture + spacing + minimumPictureHeight;
    if (compact) {
        m_header->setContentsMargins(margin, minimumMargin, margin, 0);
        m_footer->setContentsMargins(margin, 0, margin, compactFooterMargin);
    }
    m_picture->setVisible(!compact);
    // The buttons' rows and the slide without its picture, at the card's
    // fixed width. A short window first takes from the margins, then from
    // the picture, then scrolls the slide.
    const int buttons = buttonsHeight();
    const int full = FeatureTourSlideVisuals::height;
    const int rest = buttons + slideHeight() - (compact ? 0 : m_picture->maximumHeight());
    const int inset = qBound(int(minimumMargin), (height() - rest - full) / 2, int(margin));
    const int room = qMax(0, height() - 2 * inset);
    if (!compact)
        m_picture->setFixedHeight(qBound(int(minimumPictureHeight), room - rest, full));
    const int slide = slideHeight();
    m_slide->resize(cardWidth, slide);
    const int shown = qMax(0, qMin(slide, room - buttons));
    m_area->setFixedHeight(shown);
    const int card = buttons + shown;
    m_card->setGeometry((width() - cardWidth) / 2, inset + qMax(0, room - card) / 2, cardWidth,
                        card);
}

bool FeatureTourOverlay::eventFilter(QObject* watched, QEvent* event) {
    // A new slide's texts may need another height.
    if (watched == m_slide && event->type() == QEvent::LayoutRequest)
        QMetaObject::invokeMethod(this, &FeatureTourOverlay::placeCard, Qt::QueuedConnection);
    // A focused card button would take the arrows to move focus; they step
    // the tour wherever the focus is.
    if (event->type() == QEvent::KeyPress && step(static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void FeatureTourOverlay::dragEnterEvent(QDragEnterEvent* event) {
    // Refused here, so the window under the layer never sees the drag.
    event->ignore();
}

void FeatureTourOverlay::paintEvent(QPaintEvent*) {
    const ColorValue& background = AppearanceService::shared().designSystem().colors.background;
    QPainter painter(this);
    painter.fillRect(rect(), background.withAlpha(background.alpha * backdropOpacity));
}
