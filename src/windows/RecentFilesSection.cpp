#include "windows/RecentFilesSection.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "core/Motion.h"
#include "core/RecentFilesStore.h"
#include "shell/SnapshotFade.h"
#include "widgets/DividerLine.h"
#include "widgets/PlainButton.h"
#include "widgets/ThemedLabel.h"
#include "windows/RecentFileItem.h"
#include "windows/RecentFilesPresentation.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QVariantAnimation>

namespace {
constexpr double listCornerRadius = 10;

// The border of the list, drawn over the rows so a hovered row cannot hide it.
class ListBorder : public QWidget {
public:
    explicit ListBorder(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(AppearanceService::shared().designSystem().colors.divider), 1));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), listCornerRadius,
                                listCornerRadius);
    }
};

// The rounded panel that holds the rows.
class ListPanel : public QWidget {
public:
    explicit ListPanel(QWidget* parent) : QWidget(parent), m_border(new ListBorder(this)) {}

protected:
    void resizeEvent(QResizeEvent*) override {
        m_border->setGeometry(rect());
        m_border->raise();
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), listCornerRadius, listCornerRadius);
        painter.fillPath(shape,
                         QColor(AppearanceService::shared().designSystem().colors.previewSurface));
    }

private:
    ListBorder* m_border;
};
} // namespace

// Holds the list, the grid or the empty text at its own height, top-aligned;
// while they change, the slot's height moves from the old one's to the new
// one's and cuts the body off rather than squeezing it.
class RecentBodySlot : public QWidget {
public:
    explicit RecentBodySlot(QWidget* parent) : QWidget(parent) {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        m_height.setStartValue(0.0);
        m_height.setEndValue(1.0);
        connect(&m_height, &QVariantAnimation::valueChanged, this, [this] { updateGeometry(); });
    }

    QWidget* body() const { return m_body; }

    void setBody(QWidget* body, int durationMs, const QEasingCurve& curve) {
        const int from = height();
        m_body = body;
        body->setParent(this);
        body->show();
        m_height.stop();
        if (durationMs > 0 && isVisible()) {
            m_from = from;
            m_height.setDuration(durationMs);
            m_height.setEasingCurve(curve);
            m_height.start();
        }
        place();
        updateGeometry();
    }

    QSize sizeHint() const override {
        const int full = bodyHeight(width());
        if (m_height.state() != QAbstractAnimation::Running)
            return {bodyWidth(), full};
        const double t = m_height.currentValue().toDouble();
        return {bodyWidth(), qRound(m_from + (full - m_from) * t)};
    }
    QSize minimumSizeHint() const override { return {bodyWidth(), sizeHint().height()}; }

protected:
    void resizeEvent(QResizeEvent*) override { place(); }
    bool event(QEvent* event) override {
        // The body's own size changed (a language, a font).
        if (event->type() == QEvent::LayoutRequest) {
            updateGeometry();
            place();
        }
        return QWidget::event(event);
    }

private:
    int bodyWidth() const { return m_body ? m_body->minimumSizeHint().width() : 0; }
    int bodyHeight(int forWidth) const {
        if (!m_body)
            return 0;
        const int h = m_body->hasHeightForWidth() ? m_body->heightForWidth(forWidth) : -1;
        return h >= 0 ? h : m_body->sizeHint().height();
    }
    void place() {
        if (m_body)
            m_body->setGeometry(0, 0, width(), bodyHeight(width()));
    }

    QPointer<QWidget> m_body;
    QVariantAnimation m_height; // 0 to 1, from the old height to the new
    int m_from = 0;
};

RecentFilesSection::RecentFilesSection(RecentFilesStore& store, QWidget* parent)
    : QWidget(parent), m_store(store) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    auto* titleRow = new QHBoxLayout;
    auto* title = new ThemedLabel(ThemeRoles::designed(17, QFont::DemiBold),
                                  &DesignSystem::Colors::text, this);
    title->setSourceText(L10n::mark("Recent"));
    m_clear = new PlainButton(ThemeRoles::caption(), &DesignSystem::Colors::mutedText, this);
    m_clear->setSourceText(L10n::mark("Clear"));
    connect(m_clear, &PlainButton::clicked, this, [this] { m_store.clear(); });
    titleRow->addWidget(title);
    titleRow->addStretch(1);
    titleRow->addWidget(m_clear);
    layout->addLayout(titleRow);
    m_slot = new RecentBodySlot(this);
    layout->addWidget(m_slot);

    m_expandRow = new QWidget(this);
    auto* expandLayout = new QHBoxLayout(m_expandRow);
    expandLayout->setContentsMargins(0, 0, 0, 0);
    m_expand =
        new PlainButton(ThemeRoles::caption(), &DesignSystem::Colors::secondaryText, m_expandRow);
    connect(m_expand, &PlainButton::clicked, this, [this] { setShowsAll(!m_showAll); });
    expandLayout->addStretch(1);
    expandLayout->addWidget(m_expand);
    expandLayout->addStretch(1);
    layout->addWidget(m_expandRow);
    m_bodyFade = new SnapshotFade(m_slot, expandMs, Motion::easeOut());
    m_expandFade = new SnapshotFade(m_expandRow, expandMs, Motion::easeOut());

    connect(&m_store, &RecentFilesStore::changed, this, [this] { rebuild(); });
    rebuild();
}

void RecentFilesSection::setShowsAll(bool showAll) {
    if (m_showAll == showAll)
        return;
    m_showAll = showAll;
    rebuild(true);
}

QWidget* RecentFilesSection::bodySlot() const {
    return m_slot;
}

template <class Item> Item* RecentFilesSection::makeItem(const RecentFile& file, QWidget* parent) {
    auto* item = new Item(file, parent);
    const QUrl url = file.url;
    connect(item, &RecentFileItem::openRequested, this, [this, url] { Q_EMIT fileChosen(url); });
    connect(item, &RecentFileItem::removeRequested, this, [this, url] { m_store.remove(url); });
    return item;
}

QWidget* RecentFilesSection::buildList() {
    auto* panel = new ListPanel(m_slot);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QList<RecentFile> files = RecentFilesPresentation::collapsedFiles(m_store.files());
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (i > 0)
            layout->addWidget(new DividerLine(panel));
        layout->addWidget(makeItem<RecentFileRow>(files[i], panel));
    }
    return panel;
}

QWidget* RecentFilesSection::buildGrid() {
    auto* grid = new QWidget(m_slot);
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    const QList<RecentFile>& files = m_store.files();
    for (qsizetype i = 0; i < files.size(); ++i)
        layout->addWidget(makeItem<RecentFileCell>(files[i], grid), int(i / 2), int(i % 2));
    return grid;
}

void RecentFilesSection::rebuild(bool animated) {
    if (animated) {
        m_bodyFade->begin();
        m_expandFade->begin();
    }
    // The click that led here may come from a child of the old body.
    if (m_body) {
        m_body->hide();
        m_body->deleteLater();
    }
    const qsizetype count = m_store.files().size();
    if (count == 0) {
        auto* empty =
            new ThemedLabel(ThemeRoles::callout(), &DesignSystem::Colors::mutedText, m_slot);
        empty->setSourceText(L10n::mark("No recent files yet"));
        empty->setContentsMargins(0, 8, 0, 8);
        m_body = empty;
    } else {
        m_body = m_showAll ? buildGrid() : buildList();
    }
    m_slot->setBody(m_body, animated ? expandMs : 0, Motion::easeOut());

    m_clear->setVisible(count > 0);
    m_expandRow->setVisible(RecentFilesPresentation::showsExpandLink(count));
    if (m_showAll) {
        m_expand->setSourceText(L10n::mark("Show less"));
        m_expand->setSymbol(QStringLiteral("chevron.up"), 9);
    } else {
        m_expand->setSourceText(L10n::mark("Show more"));
        m_expand->setSymbol(QStringLiteral("chevron.down"), 9);
    }
}

QList<RecentFileRow*> RecentFilesSection::rows() const {
    return m_body ? m_body->findChildren<RecentFileRow*>() : QList<RecentFileRow*>();
}

QList<RecentFileCell*> RecentFilesSection::cells() const {
    return m_body ? m_body->findChildren<RecentFileCell*>() : QList<RecentFileCell*>();
}

int RecentFilesSection::dividerCount() const {
    return m_body ? int(m_body->findChildren<DividerLine*>().size()) : 0;
}

ThemedLabel* RecentFilesSection::emptyText() const {
    return qobject_cast<ThemedLabel*>(m_body);
}
