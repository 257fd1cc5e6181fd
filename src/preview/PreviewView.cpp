#include "preview/PreviewView.h"

#include "core/AppearanceService.h"
#include "core/Preferences.h"
#include "editor/EditorTheme.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewScrollHost.h"
#include "preview/ScrollSyncEngine.h"

#include <QVBoxLayout>

PreviewView::PreviewView(QWidget* parent) : QWidget(parent), m_host(new PreviewScrollHost(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_host);

    // The rows of each new tree are worked out on the parsing thread too,
    // against the tree before it, which the content shows by the time it comes.
    m_cache.setFollowup([](const ParsedMarkdown& before, const ParsedMarkdown& parsed) {
        return std::make_shared<const PreviewRowMatcher::Plan>(
            PreviewRowMatcher::plan(before, parsed, PreviewContentView::slicing));
    });
    connect(&m_cache, &MarkdownParseCache::changed, this, [this] {
        // A tree parsed here is shown at once; one from the parsing thread a slice at a time.
        const std::any followup = m_cache.takeFollowup();
        const auto* plan = std::any_cast<std::shared_ptr<const PreviewRowMatcher::Plan>>(&followup);
        if (plan)
            content()->showDocument(m_cache.document(), *plan);
        else
            content()->setDocument(m_cache.document());
    });
    m_sourceDebounce.setSingleShot(true);
    m_sourceDebounce.setInterval(MarkdownParseCache::debounceMs);
    // Edits are parsed on the parsing thread whatever their size: the UI
    // thread stays free for the next key.
    connect(&m_sourceDebounce, &QTimer::timeout, this, [this] {
        readSource();
        if (!m_cache.latestText().sameAs(m_markdown))
            m_cache.parseSoon(m_markdown);
    });
    connect(m_host, &PreviewScrollHost::scrollViewReady, this, &PreviewView::scrollViewReady);
    connect(m_host, &PreviewScrollHost::findInEditor, this, &PreviewView::findInEditor);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this, &PreviewView::restyle);
    connect(&Preferences::shared(), &Preferences::changed, this, [this](const QString& key) {
        if (key == QLatin1String(PreferenceKeys::previewFontSize))
            restyle();
    });
    applyStyle();
}

QAbstractScrollArea* PreviewView::scrollArea() const {
    return m_host;
}

PreviewContentView* PreviewView::content() const {
    return m_host->content();
}

void PreviewView::setScrollSync(ScrollSyncEngine* engine) {
    m_host->setScrollSync(engine);
}

void PreviewView::setMarkdown(const QString& text) {
    if (m_markdown.equals(text))
        return;
    m_markdown = text;
    if (isVisible())
        m_cache.scheduleParse(text);
}

void PreviewView::setMarkdownSource(std::function<TextSnapshot()> source) {
    m_source = std::move(source);
    markdownSourceChanged();
}

void PreviewView::markdownSourceChanged() {
    m_sourceChanged = true;
    if (isVisible())
        m_sourceDebounce.start();
}

// Takes the source's text when it changed since it was last read.
bool PreviewView::readSource() {
    if (!m_sourceChanged || !m_source)
        return false;
    m_sourceChanged = false;
    m_markdown = m_source();
    return true;
}

void PreviewView::setDocumentDirectory(const QString& folder) {
    if (folder == m_documentDirectory)
        return;
    m_documentDirectory = folder;
    restyle();
}

void PreviewView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    readSource();
    m_sourceDebounce.stop();
    if (m_restylePending)
        applyStyle();
    catchUp();
}

// Parses the text unless its parse is done or on its way.
void PreviewView::catchUp() {
    if (!m_cache.latestText().sameAs(m_markdown) || (m_cache.isPending() && !m_cache.isParsing()))
        m_cache.parseNow(m_markdown);
}

void PreviewView::updateNow() {
    readSource();
    m_sourceDebounce.stop();
    catchUp();
}

bool PreviewView::isUpdating() const {
    return m_sourceDebounce.isActive() || m_cache.isPending() || content()->isApplying();
}

void PreviewView::adoptSourceChange(const QString& text) {
    setMarkdown(text);
    Q_EMIT sourceChanged(text);
}

void PreviewView::restyle() {
    // A hidden pane restyles when it is shown again.
    if (isVisible())
        applyStyle();
    else
        m_restylePending = true;
}

void PreviewView::applyStyle() {
    m_restylePending = false;
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    MarkdownRendererContext context;
    context.designSystem = ds;
    context.previewFontSize = Preferences::shared().previewFontSize();
    context.documentDirectory = m_documentDirectory;
    context.onSourceChange = [this](const QString& text) { adoptSourceChange(text); };
    context.currentMarkdown = [this] {
        readSource();
        return m_markdown.toString();
    };
    context.onStaleSource = [this] { catchUp(); };
    content()->setRendererContext(context);
    m_host->setColours(ds.colors.accent, EditorTheme::from(ds));
}
