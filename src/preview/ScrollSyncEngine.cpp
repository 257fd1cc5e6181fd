#include "preview/ScrollSyncEngine.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <cmath>

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
    side.observation = connect(area->verticalScrollBar(), &QScrollBar::valueChanged, this, handler);
    side.ready = true;
    alignBothIfReady();
}

void ScrollSyncEngine::forget(Side& side) {
    disconnect(side.observation);
    side.observation = {};
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
    mirror(m_editor.area, m_preview.area);
}

void ScrollSyncEngine::previewDidScroll() {
    mirror(m_preview.area, m_editor.area);
}

void ScrollSyncEngine::mirror(QAbstractScrollArea* from, QAbstractScrollArea* to) {
    if (!m_enabled || m_echoSuppressed || !from || !to)
        return;
    const double ratio = scrollRatio(from);
    m_echoSuppressed = true;
    // The target's own valueChanged arrives during this call and is ignored.
    setScrollRatio(ratio, to);
    suppressEchoUntilNextTurn();
}

void ScrollSyncEngine::performWithoutSync(const std::function<void()>& body) {
    m_echoSuppressed = true;
    body();
    suppressEchoUntilNextTurn();
}

void ScrollSyncEngine::suppressEchoUntilNextTurn() {
    QTimer::singleShot(0, this, [this] { m_echoSuppressed = false; });
}

void ScrollSyncEngine::alignBothIfReady() {
    if (!m_enabled || !m_editor.ready || !m_preview.ready || !m_editor.area || !m_preview.area)
        return;
    QTimer::singleShot(0, this, [this, editor = m_editor.area, preview = m_preview.area] {
        m_echoSuppressed = true;
        for (QAbstractScrollArea* area : {editor.data(), preview.data()})
            if (area)
                area->verticalScrollBar()->setValue(area->verticalScrollBar()->minimum());
        suppressEchoUntilNextTurn();
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
