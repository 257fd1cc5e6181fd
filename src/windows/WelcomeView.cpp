#include "windows/WelcomeView.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "widgets/ThemedLabel.h"
#include "windows/DropZoneView.h"
#include "windows/RecentFilesSection.h"
#include "windows/WelcomeButtonStyles.h"
#include "windows/WelcomeDrop.h"

#include <QBoxLayout>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollArea>

WelcomeView::WelcomeView(RecentFilesStore& store, QWidget* parent) : QWidget(parent) {
    setAcceptDrops(true);
    setMinimumSize(minimumWidth, minimumHeight);

    m_column = new QWidget;
    m_column->setMaximumWidth(maximumColumnWidth);
    m_column->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* column = new QVBoxLayout(m_column);
    column->setContentsMargins(48, 48, 48, 48);
    column->setSpacing(32);
    column->addWidget(buildHeader());
    column->addWidget(buildActionButtons());
    m_dropZone = new DropZoneView(m_column);
    column->addWidget(m_dropZone);
    m_recent = new RecentFilesSection(store, m_column);
    connect(m_recent, &RecentFilesSection::fileChosen, this, &WelcomeView::recentFileChosen);
    column->addWidget(m_recent);
    column->addStretch(1);

    // The column keeps to its width, centred however wide the window gets.
    auto* content = new QWidget;
    auto* centring = new QHBoxLayout(content);
    centring->setContentsMargins(0, 0, 0, 0);
    centring->addStretch(1);
    centring->addWidget(m_column, 10000);
    centring->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            qOverload<>(&QWidget::update));
}

QWidget* WelcomeView::buildHeader() {
    auto* header = new QWidget(m_column);
    auto* layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 16, 0, 0);
    layout->setSpacing(8);
    auto* name = new ThemedLabel(
        [](const DesignSystem&) {
            return DesignSystem::Typography::font(FontDesign::Serif, 31, QFont::Bold);
        },
        &DesignSystem::Colors::text, header);
    name->setSourceText(L10n::mark("quon"));
    name->setAlignment(Qt::AlignCenter);
    auto* tagline =
        new ThemedLabel(ThemeRoles::callout(), &DesignSystem::Colors::secondaryText, header);
    tagline->setSourceText(L10n::mark("Beautiful Markdown for Linux"));
    tagline->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    layout->addWidget(tagline);
    return header;
}

QWidget* WelcomeView::buildActionButtons() {
    auto* row = new QWidget(m_column);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    m_new = new WelcomeButton(WelcomeButton::Style::Primary, row);
    m_new->setSourceText(L10n::mark("New Document"));
    m_new->setSymbol(QStringLiteral("doc.badge.plus"));
    m_open = new WelcomeButton(WelcomeButton::Style::Secondary, row);
    m_open->setSourceText(L10n::mark("Open…"));
    m_open->setSymbol(QStringLiteral("folder"));
    connect(m_new, &WelcomeButton::clicked, this, &WelcomeView::newDocumentRequested);
    connect(m_open, &WelcomeButton::clicked, this, &WelcomeView::openDocumentRequested);
    layout->addWidget(m_new, 1);
    layout->addWidget(m_open, 1);
    return row;
}

void WelcomeView::dragEnterEvent(QDragEnterEvent* event) {
    if (!WelcomeDrop::offersFiles(event->mimeData()))
        return;
    event->acceptProposedAction();
    m_dropZone->setTargeted(true);
}

void WelcomeView::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void WelcomeView::dragLeaveEvent(QDragLeaveEvent*) {
    m_dropZone->setTargeted(false);
}

void WelcomeView::dropEvent(QDropEvent* event) {
    m_dropZone->setTargeted(false);
    const QList<QUrl> files = WelcomeDrop::fileUrls(event->mimeData());
    event->acceptProposedAction();
    Q_EMIT filesDropped(files);
}

void WelcomeView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(),
                            QColor(AppearanceService::shared().designSystem().colors.background));
}
