#include "preview/ScrollSyncEngine.h"

#include <QAbstractScrollArea>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <cmath>
#include <utility>

ScrollSyncEngine::ScrollSyncEngine(QObject* parent) : QObject(parent) {}

ScrollSyncEngine::~ScrollSyncEngine() {
    forget(m_editor);
    forget(m_preview);
}

void ScrollSyncEngine::linkEditor(QAbstractScrollArea* area) {
    link(m_editor, area, &ScrollSyncEngine::editorDidScroll);
}

void ScrollSyncEngine::linkPreview(QAbstractScrollArea* area) {
    link(m_preview, area, &ScrollSyncEngine::previewDidScroll);
}

void ScrollSyncEngine::link(Side& side, QAbstractScrollArea* area,
                            void (ScrollSyncEngine::*handler)()) {
    forget(side);
    if (!area)
        return;
    side.area = area;
    side.observations.append(
        connect(area->verticalScrollBar(), &QScrollBar::valueChanged, this, handler));
    // A plain-text editor moves its bar with the bar's signals blocked when it
    // scrolls by itself (keys, the caret kept in view); it reports the scroll
    // of its viewport instead.
    if (auto* text = qobject_cast<QPlainTextEdit*>(area))
        side.observations.append(connect(text, &QPlainTextEdit::updateRequest, this,
                                         [this, handler](const QRect&, int dy) {
                                             if (dy != 0)
                                                 (this->*handler)();
                                         }));
    side.ready = true;
    alignBothIfReady();
}

void ScrollSyncEngine::forget(Side& side) {
    for (const QMetaObject::Connection& observation : std::as_const(side.observations))
        disconnect(observation);
    side.observations.clear();
    side.area = nullptr;
    side.ready = false;
}

void ScrollSyncEngine::unlink() {
    forget(m_editor);
    forget(m_preview);
}

void ScrollSyncEngine::setEnabled(bool enabled) {
    m_enabled = enabled;
    if (enabled)
        alignBothIfReady();
    else
        unlink();
}

void ScrollSyncEngine::editorDidScroll() {
    mirror(m_editor, m_preview);
}

void ScrollSyncEngine::previewDidScroll() {
    mirror(m_preview, m_editor);
}

void ScrollSyncEngine::mirror(Side& from, Side& to) {
    if (!m_enabled || from.echoSuppressed || !from.area || !to.area)
        return;
    const double ratio = scrollRatio(from.area);
    // The target's own move arrives during this call and is ignored; the
    // source goes on being followed, so a burst of scrolls all arrive.
    suppressEchoUntilNextTurn(to);
    setScrollRatio(ratio, to.area);
}

void ScrollSyncEngine::performWithoutSync(const std::function<void()>& body) {
    // Only for the moves the body makes: a reader's scroll that set off the
    // relayout is still mirrored once it is done.
    const bool was = std::exchange(m_preview.echoSuppressed, true);
    body();
    m_preview.echoSuppressed = was;
}

void ScrollSyncEngine::suppressEchoUntilNextTurn(Side& side) {
    side.echoSuppressed = true;
    QTimer::singleShot(0, this, [&side] { side.echoSuppressed = false; });
}

void ScrollSyncEngine::alignBothIfReady() {
    if (!m_enabled || !m_editor.ready || !m_preview.ready || !m_editor.area || !m_preview.area)
        return;
    QTimer::singleShot(0, this, [this] {
        for (Side* side : {&m_editor, &m_preview}) {
            suppressEchoUntilNextTurn(*side);
            if (QAbstractScrollArea* area = side->area)
                area->verticalScrollBar()->setValue(area->verticalScrollBar()->minimum());
        }
    });
}

double ScrollSyncEngine::scrollRatio(const QScrollBar* bar) {
    if (!bar)
        return 0;
    const double range = double(bar->maximum()) - bar->minimum();
    if (range <= 0)
        return 0;
    return qBound(0.0, (double(bar->value()) - bar->minimum()) / range, 1.0);
}

double ScrollSyncEngine::scrollRatio(const QAbstractScrollArea* area) {
    return area ? scrollRatio(area->verticalScrollBar()) : 0;
}

void ScrollSyncEngine::setScrollRatio(double ratio, QScrollBar* bar) {
    if (!bar)
        return;
    const double range = double(bar->maximum()) - bar->minimum();
    if (range <= minimumRange) {
        bar->setValue(bar->minimum());
        return;
    }
    const double target = bar->minimum() + range * ratio;
    if (std::abs(bar->value() - target) > tolerance)
        bar->setValue(int(std::lround(target)));
}

void ScrollSyncEngine::setScrollRatio(double ratio, QAbstractScrollArea* area) {
    if (area)
        setScrollRatio(ratio, area->verticalScrollBar());
}
