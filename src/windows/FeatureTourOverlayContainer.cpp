#include "windows/FeatureTourOverlayContainer.h"

#include "core/FeatureTourController.h"
#include "core/Motion.h"
#include "shell/EscapeDispatcher.h"
#include "shell/WindowCommands.h"
#include "windows/FeatureTourAnimation.h"
#include "windows/FeatureTourOverlay.h"

#include <QApplication>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QMainWindow>
#include <QWidget>

FeatureTourOverlayContainer::FeatureTourOverlayContainer(QWidget* window, EscapeDispatcher& escape)
    : QObject(window), m_window(window), m_tour(FeatureTourController::shared()) {
    m_fade.setDuration(FeatureTourAnimation::fadeMs);
    m_fade.setEasingCurve(Motion::easeOut());
    connect(&m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        if (m_overlay)
            static_cast<QGraphicsOpacityEffect*>(m_overlay->graphicsEffect())
                ->setOpacity(value.toDouble());
    });
    connect(&m_fade, &QVariantAnimation::finished, this,
            &FeatureTourOverlayContainer::fadeFinished);
    FeatureTourController& tour = m_tour;
    connect(&tour, &FeatureTourController::isPresentedChanged, this,
            &FeatureTourOverlayContainer::presentedChanged);
    connect(qApp, &QApplication::focusChanged, this, &FeatureTourOverlayContainer::focusChanged);
    escape.setHandler(EscapeDispatcher::Stage::Tour, [&tour] {
        if (!tour.isPresented())
            return false;
        tour.skip();
        return true;
    });
    window->installEventFilter(this);
    if (QWidget* bar = menuBar())
        bar->installEventFilter(this);
    // A window opened while the tour shows joins in on the slide on show.
    if (tour.isPresented())
        appear(false);
}

void FeatureTourOverlayContainer::install(QWidget* window, EscapeDispatcher& escape) {
    new FeatureTourOverlayContainer(window, escape);
}

FeatureTourOverlay* FeatureTourOverlayContainer::overlay() const {
    return m_overlay;
}

double FeatureTourOverlayContainer::opacity() const {
    if (!m_overlay)
        return 0;
    const auto* effect = static_cast<QGraphicsOpacityEffect*>(m_overlay->graphicsEffect());
    return effect->isEnabled() ? effect->opacity() : 1.0;
}

QWidget* FeatureTourOverlayContainer::menuBar() const {
    auto* main = qobject_cast<QMainWindow*>(m_window);
    return main ? main->menuWidget() : nullptr;
}

QRect FeatureTourOverlayContainer::coveredRect() const {
    QRect covered = m_window->rect();
    if (const QWidget* bar = menuBar(); bar && !bar->isHidden())
        covered.setTop(bar->geometry().bottom() + 1);
    return covered;
}

QList<QAction*> FeatureTourOverlayContainer::passingActions() const {
    QList<QAction*> actions;
    // The application's own commands, not the document's.
    if (const auto* commands =
            m_window->findChild<WindowCommands*>(QString(), Qt::FindDirectChildrenOnly))
        actions = {commands->newDocument, commands->openDocument, commands->closeWindow,
                   commands->quit,        commands->settings,     commands->welcomeWindow};
    // The menus, by their mnemonics.
    if (QWidget* bar = menuBar())
        actions += bar->actions();
    return actions;
}

bool FeatureTourOverlayContainer::isShowing() const {
    return m_overlay && m_tour.isPresented();
}

void FeatureTourOverlayContainer::presentedChanged(bool presented) {
    if (presented)
        appear(true);
    else
        disappear();
}

void FeatureTourOverlayContainer::appear(bool animated) {
    double from = 0;
    if (!m_overlay) {
        m_overlay = new FeatureTourOverlay(m_tour, m_window);
        m_overlay->setGraphicsEffect(new QGraphicsOpacityEffect(m_overlay));
        m_overlay->setPassingActions(passingActions());
        m_overlay->setGeometry(coveredRect());
        m_overlay->show();
    } else {
        // Presented again while fading out: turn round from where it is.
        from = opacity();
        m_overlay->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        m_overlay->setAcceptDrops(true);
    }
    m_overlay->raise();
    QWidget* focused = m_window->focusWidget();
    if (focused && focused != m_overlay && !m_overlay->isAncestorOf(focused))
        m_restoreFocus = focused;
    m_overlay->setFocus(Qt::OtherFocusReason);

    m_fade.stop();
    auto* effect = static_cast<QGraphicsOpacityEffect*>(m_overlay->graphicsEffect());
    effect->setEnabled(animated);
    if (animated) {
        m_fade.setStartValue(from);
        m_fade.setEndValue(1.0);
        effect->setOpacity(from);
        m_fade.start();
    }
}

void FeatureTourOverlayContainer::disappear() {
    if (!m_overlay)
        return;
    // The window is the user's again at once; the card only fades.
    m_overlay->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    m_overlay->setAcceptDrops(false);
    QWidget* focused = m_window->focusWidget();
    if (focused == m_overlay || m_overlay->isAncestorOf(focused)) {
        if (m_restoreFocus && m_restoreFocus->isEnabled())
            m_restoreFocus->setFocus(Qt::OtherFocusReason);
        else
            m_overlay->clearFocus();
    }
    m_restoreFocus = nullptr;

    auto* effect = static_cast<QGraphicsOpacityEffect*>(m_overlay->graphicsEffect());
    const double from = opacity();
    effect->setEnabled(true);
    effect->setOpacity(from);
    m_fade.stop();
    m_fade.setStartValue(from);
    m_fade.setEndValue(0.0);
    m_fade.start();
}

void FeatureTourOverlayContainer::fadeFinished() {
    if (!m_overlay)
        return;
    if (m_tour.isPresented()) {
        // Fully shown: drawn directly, not through the effect.
        m_overlay->graphicsEffect()->setEnabled(false);
        return;
    }
    m_overlay->hide();
    m_overlay->deleteLater();
    m_overlay = nullptr;
}

bool FeatureTourOverlayContainer::isEscapeToFocusedBar(const QEvent* event) const {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return isShowing() && key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier &&
           menuBar()->hasFocus();
}

bool FeatureTourOverlayContainer::skipFromMenuBar(QEvent* event) {
    // A menu closed with Escape leaves its title lit with the focus on the
    // bar; the next Escape is the tour's, not one more step out of the bar.
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        // Leaving the bar ends its keyboard mode; the tour then gives the
        // focus back to where it was before the tour.
        m_overlay->setFocus(Qt::OtherFocusReason);
        m_tour.skip();
    }
    return true;
}

void FeatureTourOverlayContainer::focusChanged(QWidget*, QWidget* now) {
    // Focus that lands under the layer (the window coming to the front, a
    // pane taking it) goes back to the layer, and is what it returns to.
    QWidget* bar = menuBar();
    if (!isShowing() || !now || now->window() != m_window || now == m_overlay ||
        m_overlay->isAncestorOf(now) || (bar && (now == bar || bar->isAncestorOf(now))))
        return;
    m_restoreFocus = now;
    m_overlay->setFocus(Qt::OtherFocusReason);
}

bool FeatureTourOverlayContainer::eventFilter(QObject* watched, QEvent* event) {
    if (m_overlay && watched == menuBar()) {
        // The menu bar stays usable above the layer.
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move ||
            event->type() == QEvent::Show || event->type() == QEvent::Hide)
            m_overlay->setGeometry(coveredRect());
        else if (isEscapeToFocusedBar(event))
            return skipFromMenuBar(event);
    } else if (watched == m_window && m_overlay) {
        if (event->type() == QEvent::Resize)
            m_overlay->setGeometry(coveredRect());
        // A widget added to the window later would stack above the layer.
        else if (event->type() == QEvent::ChildAdded)
            QMetaObject::invokeMethod(m_overlay.data(), &QWidget::raise, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}
