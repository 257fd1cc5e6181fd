#include "preview/PreviewScrollHost.h"

#include "editor/ScrollViewStyling.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewContextMenuBuilder.h"
#include "preview/PreviewSelectionReader.h"
#include "preview/ScrollSyncEngine.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>

PreviewScrollHost::PreviewScrollHost(QWidget* parent)
    : QAbstractScrollArea(parent), m_content(new PreviewContentView(viewport())) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(singleStep);
    // The preview surface, not the text-field colour a scroll area starts with.
    viewport()->setBackgroundRole(QPalette::Window);
    ScrollViewStyling::apply(this, palette().color(QPalette::Highlight));
    connect(m_content, &PreviewContentView::contentHeightChanged, this,
            &PreviewScrollHost::contentHeightChanged);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!m_adjusting)
            revealVisible();
    });
    updateWidth();
    QTimer::singleShot(0, this, [this] {
        updateWidth();
        Q_EMIT scrollViewReady(this);
    });
}

void PreviewScrollHost::setScrollSync(ScrollSyncEngine* sync) {
    m_sync = sync;
}

void PreviewScrollHost::setColours(const QColor& accent, const EditorTheme& theme) {
    ScrollViewStyling::apply(this, accent);
    m_theme = theme;
    QPalette surface = viewport()->palette();
    surface.setColor(QPalette::Window, m_content->palette().color(QPalette::Window));
    viewport()->setPalette(surface);
    viewport()->setAutoFillBackground(true);
}

void PreviewScrollHost::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    m_content->setGeometry(viewport()->rect());
    updateWidth();
}

void PreviewScrollHost::keyPressEvent(QKeyEvent* event) {
    // Home and End, with or without Ctrl, go to the top and to the end.
    const bool home = event->key() == Qt::Key_Home;
    if ((home || event->key() == Qt::Key_End) &&
        (event->modifiers() & ~Qt::ControlModifier) == Qt::NoModifier) {
        verticalScrollBar()->triggerAction(home ? QAbstractSlider::SliderToMinimum
                                                : QAbstractSlider::SliderToMaximum);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void PreviewScrollHost::scrollContentsBy(int, int) {
    // The content places its rows for the new position itself.
}

void PreviewScrollHost::updateWidth() {
    // The content reports its height at the new width, which lays it out.
    m_content->setLayoutWidth(qMax(1, viewport()->width()));
    if (m_reportedHeight > 1)
        applyLayout();
}

void PreviewScrollHost::contentHeightChanged(int height) {
    if (height <= 1 || height == m_reportedHeight)
        return;
    m_reportedHeight = height;
    applyLayout();
}

void PreviewScrollHost::withoutSync(const std::function<void()>& body) {
    const auto guarded = [&] {
        const bool was = std::exchange(m_adjusting, true);
        body();
        m_adjusting = was;
    };
    if (m_sync)
        m_sync->performWithoutSync(guarded);
    else
        guarded();
}

void PreviewScrollHost::updateRange() {
    QScrollBar* bar = verticalScrollBar();
    const int page = viewport()->height();
    bar->setPageStep(qMax(1, page));
    bar->setRange(0, qMax(0, m_reportedHeight - page));
}

void PreviewScrollHost::applyLayout() {
    if (m_reportedHeight <= 1)
        return;
    const double ratio = ScrollSyncEngine::scrollRatio(this);
    withoutSync([&] {
        updateRange();
        QScrollBar* bar = verticalScrollBar();
        if (!m_didInitialScroll) {
            bar->setValue(bar->minimum());
            m_didInitialScroll = true;
        } else if (ratio <= 0.001) {
            bar->setValue(bar->minimum());
        } else {
            ScrollSyncEngine::setScrollRatio(ratio, this);
        }
    });
    revealVisible();
}

void PreviewScrollHost::revealVisible() {
    if (m_reportedHeight <= 1)
        return;
    QScrollBar* bar = verticalScrollBar();
    // Views made near the visible part replace estimated heights; the rows
    // above it changing size must not move what the reader looks at.
    for (int round = 0; round < 4; ++round) {
        const int value = bar->value();
        // A reader at the end (a mirrored ratio of 1 too) stays at the end.
        const bool atEnd = value > bar->minimum() && value == bar->maximum();
        const int shift = m_content->setVisibleRange(value, viewport()->height());
        const int height = qMax(2, m_content->contentHeight());
        if (shift == 0 && height == m_reportedHeight)
            break;
        withoutSync([&] {
            m_reportedHeight = height;
            updateRange();
            bar->setValue(atEnd ? bar->maximum() : value + shift);
        });
    }
    if (m_content->visibleTop() != bar->value())
        m_content->setVisibleRange(bar->value(), viewport()->height());
}

QString PreviewScrollHost::menuSelection() const {
    const QWidget* top = window();
    QString text = PreviewSelectionReader::selectedTextFrom(top ? top->focusWidget() : nullptr);
    if (text.isNull())
        text = PreviewSelectionReader::selectedTextIn(top ? top : this);
    return text;
}

QMenu* PreviewScrollHost::makeContextMenu(const QString& selection) {
    const QPointer<PreviewScrollHost> self(this);
    return PreviewContextMenuBuilder::makeMenu(
        selection, m_theme, [](const QString& text) { QApplication::clipboard()->setText(text); },
        [self](const QString& text) {
            if (self)
                Q_EMIT self->findInEditor(text);
        },
        this);
}

void PreviewScrollHost::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = makeContextMenu(menuSelection());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}
