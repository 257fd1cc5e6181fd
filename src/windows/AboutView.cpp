#include "windows/AboutView.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "platform/AppIcon.h"
#include "widgets/DividerLine.h"
#include "widgets/PlainButton.h"
#include "widgets/ThemedLabel.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int iconSize = 96;
constexpr double iconCornerRadius = 14;

// The application's icon, rounded.
class AppIconView : public QWidget {
public:
    explicit AppIconView(QWidget* parent) : QWidget(parent) {
        setFixedSize(iconSize, iconSize);
        auto* shadow = new QGraphicsDropShadowEffect(this);
        shadow->setColor(QColor::fromRgbF(0, 0, 0, 0.2));
        shadow->setBlurRadius(24);
        shadow->setOffset(0, 6);
        setGraphicsEffect(shadow);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const QIcon icon = AppIcon::icon();
        if (icon.isNull())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath clip;
        clip.addRoundedRect(QRectF(rect()), iconCornerRadius, iconCornerRadius);
        painter.setClipPath(clip);
        icon.paint(&painter, rect());
    }
};

QVBoxLayout* group(int spacing) {
    auto* layout = new QVBoxLayout;
    layout->setSpacing(spacing);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

ThemedLabel* centredLabel(FontRole font, ColorRole color, QWidget* parent) {
    auto* label = new ThemedLabel(std::move(font), color, parent);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}
} // namespace

AboutView::AboutView(const AboutInfo& info, QWidget* parent) : QWidget(parent), m_info(info) {
    using C = DesignSystem::Colors;
    setFixedWidth(fixedWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(32, 32, 32, 32);
    column->setSpacing(16);

    // Centred when the window is taller than the content.
    column->setAlignment(Qt::AlignVCenter);
    column->addWidget(new AppIconView(this), 0, Qt::AlignHCenter);

    auto* titles = group(4);
    auto* name = centredLabel(ThemeRoles::designed(31, QFont::Bold), &C::text, this);
    name->setSourceText(L10n::mark("quon"));
    auto* tagline = centredLabel(ThemeRoles::callout(), &C::secondaryText, this);
    tagline->setSourceText(L10n::mark("Beautiful Markdown for Linux"));
    titles->addWidget(name);
    titles->addWidget(tagline);
    column->addLayout(titles);

    m_version = centredLabel(ThemeRoles::caption(), &C::mutedText, this);
    column->addWidget(m_version);

    auto* divider = new QHBoxLayout;
    divider->setContentsMargins(32, 0, 32, 0);
    divider->addWidget(new DividerLine(this));
    column->addLayout(divider);

    auto* credits = group(8);
    auto* builtWith = centredLabel(ThemeRoles::caption(), &C::mutedText, this);
    builtWith->setSourceText(L10n::mark("Built with cmark-gfm and highlight.js."));
    builtWith->setWordWrap(true);
    credits->addWidget(builtWith);
    auto* links = new QHBoxLayout;
    links->setSpacing(16);
    links->addStretch(1);
    links->addWidget(creditLink(AboutCredits::markdownLibrary, AboutCredits::markdownLibraryUrl));
    links->addWidget(creditLink(AboutCredits::highlightLibrary, AboutCredits::highlightLibraryUrl));
    links->addStretch(1);
    credits->addLayout(links);
    column->addLayout(credits);

    if (!m_info.copyright.isEmpty()) {
        m_copyright = centredLabel(ThemeRoles::caption(), &C::mutedText, this);
        m_copyright->setText(m_info.copyright);
        m_copyright->setWordWrap(true);
        column->addWidget(m_copyright);
    }

    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            qOverload<>(&QWidget::update));
    retranslate();
}

PlainButton* AboutView::creditLink(const char* title, const char* url) {
    auto* link =
        new PlainButton(ThemeRoles::caption(QFont::Medium), &DesignSystem::Colors::accent, this);
    link->setText(QString::fromLatin1(title));
    link->setCursor(Qt::PointingHandCursor);
    link->setToolTip(QString::fromLatin1(url));
    const QUrl address(QString::fromLatin1(url));
    connect(link, &PlainButton::clicked, this, [address] { QDesktopServices::openUrl(address); });
    m_links.append(link);
    return link;
}

void AboutView::retranslate() {
    m_version->setText(m_info.versionLabel());
    setWindowTitle(L10n::tr("About quon"));
}

void AboutView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void AboutView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(),
                            QColor(AppearanceService::shared().designSystem().colors.background));
}
