#include "shell/WorkspaceView.h"

#include "core/AppearanceService.h"
#include "core/MarkdownDocument.h"
#include "core/MarkdownFileTypes.h"
#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "export/DocumentExportContext.h"
#include "shell/EscapeDispatcher.h"
#include "shell/ModeSwitcher.h"
#include "shell/OutsideChangeWatch.h"
#include "shell/StatusBarView.h"
#include "shell/ViewModeMemory.h"
#include "shell/WindowCommands.h"
#include "shell/WindowMenuBar.h"
#include "shell/WindowToolbar.h"
#include "shell/WorkspaceAlerts.h"

#include <QSplitter>
#include <QVBoxLayout>

WorkspaceServices::WorkspaceServices()
    : alerts(&WorkspaceAlerts::standard()), application(ApplicationCommands::shared()) {}

WorkspaceView::WorkspaceView(MarkdownDocument& document, WorkspaceServices services,
                             QWidget* parent)
    : QMainWindow(parent), m_document(document), m_services(std::move(services)),
      m_fileUrl(document.fileUrl()), m_editorText(document.text()) {
    Q_ASSERT(m_services.panes);
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("workspace"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_findSlot = new QWidget(central);
    new QVBoxLayout(m_findSlot);
    m_findSlot->layout()->setContentsMargins(0, 0, 0, 0);
    m_findSlot->hide();
    column->addWidget(m_findSlot);

    m_panes = m_services.panes(central);
    m_panes->setParent(this);
    m_splitter = new QSplitter(Qt::Horizontal, central);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(1);
    m_splitter->addWidget(m_panes->editor());
    m_splitter->addWidget(m_panes->preview());
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    column->addWidget(m_splitter, 1);

    m_hintSlot = new QWidget(central);
    new QVBoxLayout(m_hintSlot);
    m_hintSlot->layout()->setContentsMargins(16, 4, 16, 0);
    column->addWidget(m_hintSlot);

    m_status = new StatusBarView(document, central);
    column->addWidget(m_status);
    setCentralWidget(central);

    m_commands = new WindowCommands(this, focusedValues(), m_services.application);
    m_menuBar = new WindowMenuBar(*m_commands, this);
    setMenuBar(m_menuBar);
    m_toolbar = new WindowToolbar(*m_commands, this);
    addToolBar(Qt::TopToolBarArea, m_toolbar);
    connect(m_toolbar->modeSwitcher(), &ModeSwitcher::modeChosen, this,
            &WorkspaceView::setViewMode);

    m_watch = new OutsideChangeWatch(document, *m_services.alerts, this, this);
    m_watch->applyText = [this](const QString& text) { setDocumentText(text); };
    connect(m_watch, &OutsideChangeWatch::savedStateChanged, this,
            [this] { setWindowModified(m_document.isModified()); });

    m_escape = new EscapeDispatcher(this);
    // The palette and the find bar take Escape first; focus mode waits for them.
    m_escape->setHandler(EscapeDispatcher::Stage::FocusMode, [this] {
        if (!m_focusMode || m_paletteOpen || m_findBarPresented)
            return false;
        setFocusMode(false);
        return true;
    });

    m_panes->setEditorText(m_editorText);
    m_panes->setDocumentDirectory(documentDirectory());
    connect(m_panes, &WorkspacePanes::editorTextEdited, this, &WorkspaceView::editorTextEdited);
    connect(m_panes, &WorkspacePanes::previewSourceChanged, this, &WorkspaceView::setDocumentText);
    connect(&document, &MarkdownDocument::textChanged, this, &WorkspaceView::documentTextChanged);
    connect(&document, &MarkdownDocument::fileUrlChanged, this, &WorkspaceView::fileUrlChanged);
    connect(&Preferences::shared(), &Preferences::changed, this, [this](const QString& key) {
        if (key == QLatin1String(PreferenceKeys::slashCommandsHintDismissed))
            updateChrome();
    });
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            &WorkspaceView::restyle);

    resize(1100, 720);
    // The window opens in its restored mode: a preview it does not show never
    // renders.
    m_mode = ViewModeMemory::restored();
    applyMode();
    updateChrome();
    restyle();
}

WorkspaceView::~WorkspaceView() {
    m_watch->stop();
}

QString WorkspaceView::documentDirectory() const {
    return ::documentDirectory(m_fileUrl);
}

DocumentActions WorkspaceView::documentActions() {
    // Read at the moment of use: an export takes the text, file and look of then.
    return DocumentActions(this, [this] {
        return DocumentExportContext::make(m_document.text(), m_fileUrl,
                                           AppearanceService::shared().designSystem());
    });
}

FocusedValues WorkspaceView::focusedValues() {
    FocusedValues values;
    values.documentActions = documentActions();
    values.commandPaletteToggle = [this] { setCommandPaletteOpen(!m_paletteOpen); };
    values.focusModeToggle = [this] { setFocusMode(!m_focusMode); };
    values.documentSearchToggle = [this] {
        if (m_findBarPresented)
            closeFindBar();
        else
            openFindBar();
    };
    values.viewModeSwitch = [this](ViewMode mode) { setViewMode(mode); };
    values.saveDocument = m_services.saveDocument;
    values.saveDocumentAs = m_services.saveDocumentAs;
    values.duplicateDocument = m_services.duplicateDocument;
    return values;
}

void WorkspaceView::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_appeared) {
        m_appeared = true;
        appear();
    }
}

void WorkspaceView::appear() {
    if (m_services.dismissWelcomeWindow)
        m_services.dismissWelcomeWindow();
    if (m_fileUrl.isLocalFile())
        RecentFilesStore::shared().record(m_fileUrl);
    // Restoring is not a choice of the user's: "lastViewMode" stays as stored.
    m_mode = ViewModeMemory::restored();
    applyMode();
    m_watch->start(m_fileUrl);
}

void WorkspaceView::setViewMode(ViewMode mode) {
    if (mode == m_mode)
        return;
    m_mode = mode;
    ViewModeMemory::remember(mode);
    applyMode();
    Q_EMIT viewModeChanged(mode);
}

void WorkspaceView::applyMode() {
    const bool editor = m_mode != ViewMode::Preview;
    const bool preview = m_mode != ViewMode::Edit;
    const int minimum = m_mode == ViewMode::Split ? minimumPaneWidth : 0;
    m_panes->editor()->setMinimumWidth(minimum);
    m_panes->preview()->setMinimumWidth(minimum);
    // Given its text before it shows, the preview renders it at once, once.
    if (preview && m_previewStale)
        pushPreview();
    m_panes->editor()->setVisible(editor);
    m_panes->preview()->setVisible(preview);
    if (m_mode == ViewMode::Split) {
        const int half = qMax(m_splitter->width() / 2, minimumPaneWidth);
        m_splitter->setSizes({half, half});
    }
    m_panes->setScrollSyncEnabled(m_mode == ViewMode::Split);
    m_toolbar->modeSwitcher()->setMode(m_mode);
    updateChrome();
}

void WorkspaceView::setFocusMode(bool on) {
    if (on == m_focusMode)
        return;
    m_focusMode = on;
    updateChrome();
    Q_EMIT focusModeChanged(on);
}

void WorkspaceView::setCommandPaletteOpen(bool open) {
    if (open == m_paletteOpen)
        return;
    m_paletteOpen = open;
    Q_EMIT commandPaletteOpenChanged(open);
}

void WorkspaceView::openFindBar() {
    setCommandPaletteOpen(false);
    if (m_mode == ViewMode::Preview)
        setViewMode(ViewMode::Split);
    if (m_findBarPresented)
        return;
    m_findBarPresented = true;
    updateChrome();
    Q_EMIT findBarPresentedChanged(true);
}

void WorkspaceView::closeFindBar() {
    if (!m_findBarPresented)
        return;
    m_findBarPresented = false;
    updateChrome();
    Q_EMIT findBarPresentedChanged(false);
}

bool WorkspaceView::showsSlashCommandsHint() const {
    return !Preferences::shared().slashCommandsHintDismissed() && !m_focusMode &&
           m_mode != ViewMode::Preview;
}

void WorkspaceView::updateChrome() {
    m_toolbar->setVisible(!m_focusMode);
    m_status->setVisible(!m_focusMode);
    m_toolbar->setFindBarPresented(m_findBarPresented);
    m_findSlot->setVisible(m_findBarPresented && !m_findSlot->layout()->isEmpty());
    m_hintSlot->setVisible(showsSlashCommandsHint() && !m_hintSlot->layout()->isEmpty());
}

void WorkspaceView::fileUrlChanged() {
    m_fileUrl = m_document.fileUrl();
    if (m_fileUrl.isLocalFile())
        RecentFilesStore::shared().record(m_fileUrl);
    m_panes->setDocumentDirectory(documentDirectory());
    m_commands->refresh();
    if (m_appeared)
        m_watch->start(m_fileUrl);
}

void WorkspaceView::editorTextEdited(const QString& text) {
    // Whatever the mode, an edit the editor reports is the user's text: the
    // document takes it, so a save never writes an older one.
    m_editorText = text;
    m_document.setText(text);
}

void WorkspaceView::setDocumentText(const QString& text) {
    m_document.setText(text);
}

void WorkspaceView::documentTextChanged() {
    const QString text = m_document.text();
    // An edit from the editor ends here; one from elsewhere reaches it once.
    if (text != m_editorText) {
        m_editorText = text;
        m_panes->setEditorText(text);
    }
    if (m_panes->preview()->isVisibleTo(this))
        pushPreview();
    else
        m_previewStale = true;
}

void WorkspaceView::pushPreview() {
    m_previewStale = false;
    m_panes->setPreviewMarkdown(m_document.text());
}

void WorkspaceView::restyle() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    // Only the role set here: the panes keep the colours they set themselves.
    QPalette p;
    p.setColor(QPalette::Window, ds.colors.background);
    centralWidget()->setPalette(p);
    centralWidget()->setAutoFillBackground(true);
    // A palette, not a style sheet: style sheets would take over the panes' palettes.
    QSplitterHandle* handle = m_splitter->handle(1);
    QPalette line = handle->palette();
    line.setColor(QPalette::Window, ds.colors.divider);
    handle->setPalette(line);
    handle->setAutoFillBackground(true);
}
