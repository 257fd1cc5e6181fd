#include "shell/WorkspaceView.h"

#include "core/AppearanceService.h"
#include "core/MarkdownDocument.h"
#include "core/MarkdownFileTypes.h"
#include "core/Motion.h"
#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "export/DocumentExportContext.h"
#include "shell/CommandPaletteActionsBuilder.h"
#include "shell/CommandPaletteView.h"
#include "shell/EscapeDispatcher.h"
#include "shell/ModeSwitcher.h"
#include "shell/OutsideChangeWatch.h"
#include "shell/SnapshotFade.h"
#include "shell/StatusBarView.h"
#include "shell/TransitionSlot.h"
#include "shell/ViewModeMemory.h"
#include "shell/WindowCommands.h"
#include "shell/WindowMenuBar.h"
#include "shell/WindowToolbar.h"
#include "shell/WorkspaceAlerts.h"
#include "tools/DocumentSearch.h"
#include "tools/FindBarView.h"
#include "tools/SearchMatcher.h"
#include "tools/SlashCommandsHintToast.h"

#include <QApplication>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QVBoxLayout>

namespace {
constexpr int findBarTransitionMs = 150;
constexpr int slashHintTransitionMs = 200;
} // namespace

WorkspaceServices::WorkspaceServices()
    : alerts(&WorkspaceAlerts::standard()), application(ApplicationCommands::shared()) {}

WorkspaceView::WorkspaceView(MarkdownDocument& document, WorkspaceServices services,
                             QWidget* parent)
    : QMainWindow(parent), m_document(document), m_services(std::move(services)),
      m_fileUrl(document.fileUrl()) {
    Q_ASSERT(m_services.panes);
    buildContent();
    buildChrome();
    m_watch = new OutsideChangeWatch(document, *m_services.alerts, this, this);
    setUpEscape();
    if (m_services.overlays)
        m_services.overlays(this, *m_escape);
    connectPanes();
    connectFind();
    connectApplication();

    resize(1100, 720);
    // The window opens in its restored mode: a preview it does not show never
    // renders.
    m_mode = ViewModeMemory::restored();
    applyMode();
    updateChrome();
    restyle();
}

void WorkspaceView::buildContent() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("workspace"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_findSlot = new TransitionSlot(TransitionSlot::Edge::Top, findBarTransitionMs, central);
    m_findBar = new FindBarView;
    m_findSlot->setContent(m_findBar);
    column->addWidget(m_findSlot);
    m_search = new DocumentSearch([this] { return m_document.text(); }, this);

    column->addWidget(buildPanes(central), 1);
    column->addWidget(buildSlashHint(central));
    m_status = new StatusBarView(m_document, central);
    column->addWidget(m_status);
    setCentralWidget(central);
}

QWidget* WorkspaceView::buildPanes(QWidget* central) {
    m_panes = m_services.panes(central);
    m_panes->setParent(this);
    m_splitter = new QSplitter(Qt::Horizontal, central);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(1);
    m_splitter->addWidget(m_panes->editor());
    m_splitter->addWidget(m_panes->preview());
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    // Laying a large document out again every frame would stall typing: the
    // panes change at once, and a picture of the old ones fades out over them.
    m_modeFade = new SnapshotFade(m_splitter, viewModeTransitionMs, Motion::easeInOut());
    return m_splitter;
}

QWidget* WorkspaceView::buildSlashHint(QWidget* central) {
    // The hint comes out from behind the status bar and goes back there.
    m_hintSlot = new TransitionSlot(TransitionSlot::Edge::Bottom, slashHintTransitionMs, central);
    auto* hintBox = new QWidget;
    auto* hintLayout = new QVBoxLayout(hintBox);
    hintLayout->setContentsMargins(16, 4, 16, 0);
    auto* hint = new SlashCommandsHintToast(hintBox);
    hintLayout->addWidget(hint);
    m_hintSlot->setContent(hintBox);
    connect(hint, &SlashCommandsHintToast::dismissed, this, [] {
        Preferences::shared().setBoolean(PreferenceKeys::slashCommandsHintDismissed, true);
    });
    return m_hintSlot;
}

void WorkspaceView::buildChrome() {
    m_commands = new WindowCommands(this, focusedValues(), m_services.application);
    m_menuBar = new WindowMenuBar(*m_commands, this);
    setMenuBar(m_menuBar);
    m_toolbar = new WindowToolbar(*m_commands, this);
    addToolBar(Qt::TopToolBarArea, m_toolbar);
    connect(m_toolbar->modeSwitcher(), &ModeSwitcher::modeChosen, this,
            &WorkspaceView::setViewMode);
}

void WorkspaceView::setUpEscape() {
    m_escape = new EscapeDispatcher(this);
    m_escape->setHandler(EscapeDispatcher::Stage::SlashMenu,
                         [this] { return m_panes->closeSlashMenu(); });
    m_escape->setHandler(EscapeDispatcher::Stage::LinkField,
                         [this] { return m_panes->closeFormattingLinkField(); });
    m_escape->setHandler(EscapeDispatcher::Stage::CommandPalette, [this] {
        if (!m_paletteOpen)
            return false;
        setCommandPaletteOpen(false);
        return true;
    });
    m_escape->setHandler(EscapeDispatcher::Stage::FindBar, [this] {
        if (!isFindBarPresented())
            return false;
        closeFindBar();
        return true;
    });
    // The palette and the find bar take Escape first; focus mode waits for them.
    m_escape->setHandler(EscapeDispatcher::Stage::FocusMode, [this] {
        if (!m_focusMode || m_paletteOpen || isFindBarPresented())
            return false;
        setFocusMode(false);
        return true;
    });
}

void WorkspaceView::connectPanes() {
    m_panes->setEditorText(m_document.text());
    m_panes->setPreviewSource([this] { return m_document.snapshot(); });
    m_panes->setDocumentDirectory(documentDirectory());
    connect(m_panes, &WorkspacePanes::editorTextEdited, this, &WorkspaceView::editorTextEdited);
    connect(m_panes, &WorkspacePanes::previewSourceChanged, &m_document,
            &MarkdownDocument::setText);
    connect(&m_document, &MarkdownDocument::textEdited, this, &WorkspaceView::documentTextEdited);
    connect(&m_document, &MarkdownDocument::modifiedChanged, this, &QWidget::setWindowModified);
    connect(&m_document, &MarkdownDocument::fileUrlChanged, this, &WorkspaceView::fileUrlChanged);
}

void WorkspaceView::connectFind() {
    connect(m_panes, &WorkspacePanes::findRequested, this, &WorkspaceView::openFindBar);
    connect(m_panes, &WorkspacePanes::findInEditorRequested, this, &WorkspaceView::findInEditor);
    connect(m_panes, &WorkspacePanes::findSessionStarted, m_search,
            &DocumentSearch::handleFindSessionStarted);
    connect(m_search, &DocumentSearch::presentedChanged, this, &WorkspaceView::findBarPresented);
    connect(m_search, &DocumentSearch::stateChanged, this, &WorkspaceView::searchStateChanged);
    connect(m_search, &DocumentSearch::sessionStarted, m_panes, &WorkspacePanes::setFindSessionId);
    connect(m_findBar, &FindBarView::queryEdited, m_search, &DocumentSearch::setQuery);
    connect(m_findBar, &FindBarView::nextRequested, m_search,
            [this] { m_search->advanceFindMatch(true); });
    connect(m_findBar, &FindBarView::previousRequested, m_search,
            [this] { m_search->advanceFindMatch(false); });
    connect(m_findBar, &FindBarView::closeRequested, this, &WorkspaceView::closeFindBar);
}

void WorkspaceView::connectApplication() {
    connect(&Preferences::shared(), &Preferences::changed, this, [this](const QString& key) {
        if (key == QLatin1String(PreferenceKeys::slashCommandsHintDismissed))
            updateChrome();
    });
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            &WorkspaceView::restyle);
    // What the open palette lists follows the window while it is open.
    connect(this, &WorkspaceView::focusModeChanged, this, &WorkspaceView::refreshCommandPalette);
    connect(this, &WorkspaceView::findBarPresentedChanged, this,
            &WorkspaceView::refreshCommandPalette);
    connect(&RecentFilesStore::shared(), &RecentFilesStore::changed, this,
            &WorkspaceView::refreshCommandPalette);
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
        return DocumentExportContext::make(m_document, m_fileUrl,
                                           AppearanceService::shared().designSystem());
    });
}

FocusedValues WorkspaceView::focusedValues() {
    FocusedValues values;
    values.documentActions = documentActions();
    values.commandPaletteToggle = [this] { setCommandPaletteOpen(!m_paletteOpen); };
    values.focusModeToggle = [this] { setFocusMode(!m_focusMode); };
    values.documentSearchToggle = [this] {
        if (isFindBarPresented())
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
    m_modeFade->begin();
    const bool editorWasShown = m_mode != ViewMode::Preview;
    m_mode = mode;
    ViewModeMemory::remember(mode);
    applyMode();
    focusPaneForMode(editorWasShown);
    Q_EMIT viewModeChanged(mode);
}

void WorkspaceView::focusPaneForMode(bool editorWasShown) {
    QWidget* focus = QApplication::focusWidget();
    QWidget* editor = m_panes->editor();
    // The find field, the palette and other windows keep the keys.
    if (focus && !editor->isAncestorOf(focus) && !m_panes->preview()->isAncestorOf(focus))
        return;
    // Back from Preview the keys go to the editor, which the user came to type in;
    // a pane that went away hands them to the one left.
    if (!editorWasShown && editor->isVisibleTo(this))
        editor->setFocus();
    else if (!focus || !focus->isVisibleTo(this))
        (editor->isVisibleTo(this) ? editor : m_panes->preview())->setFocus();
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
    if (open) {
        // The slash menu and the formatting bar would float over the palette
        // and take its keys.
        m_panes->closeEditorPopovers();
        m_palette =
            new CommandPaletteView([this] { return commandPaletteActions(); }, centralWidget());
        connect(m_palette, &CommandPaletteView::dismissRequested, this,
                [this] { setCommandPaletteOpen(false); });
    } else if (m_palette) {
        std::exchange(m_palette, nullptr)->dismiss();
    }
    Q_EMIT commandPaletteOpenChanged(open);
}

CommandPaletteView* WorkspaceView::commandPalette() const {
    return m_palette;
}

QList<CommandPaletteAction> WorkspaceView::commandPaletteActions() const {
    CommandPaletteState state;
    state.focusMode = m_focusMode;
    state.findBarPresented = isFindBarPresented();
    state.fileUrl = m_fileUrl;
    state.recentFiles = RecentFilesStore::shared().files();
    state.dismissWelcomeWindow = m_services.dismissWelcomeWindow;
    return CommandPaletteActionsBuilder::build(*m_commands, state);
}

void WorkspaceView::refreshCommandPalette() {
    if (m_palette)
        m_palette->refresh();
}

bool WorkspaceView::isFindBarPresented() const {
    return m_search->isPresented();
}

void WorkspaceView::showEditorForFind() {
    setCommandPaletteOpen(false);
    if (m_mode == ViewMode::Preview)
        setViewMode(ViewMode::Split);
}

void WorkspaceView::openFindBar() {
    showEditorForFind();
    m_search->openFindBar();
}

void WorkspaceView::findInEditor(const QString& text) {
    if (SearchMatcher::searchedQuery(text).isEmpty())
        return;
    showEditorForFind();
    m_search->findInEditor(text);
}

void WorkspaceView::closeFindBar() {
    m_search->closeFindBar();
}

void WorkspaceView::findBarPresented(bool presented) {
    m_panes->setFindActive(presented);
    m_findSlot->setShown(presented);
    if (presented) {
        m_findBar->field()->setFocus();
    } else if (m_findBar->isAncestorOf(QApplication::focusWidget())) {
        // Typing goes on where it was before the bar took it.
        QWidget* pane = m_mode == ViewMode::Preview ? m_panes->preview() : m_panes->editor();
        pane->setFocus();
    }
    updateChrome();
    Q_EMIT findBarPresentedChanged(presented);
}

void WorkspaceView::searchStateChanged() {
    const DocumentSearchState& state = m_search->state();
    m_panes->setSearchState(state);
    m_findBar->setState(state.query, int(state.matches.size()), state.currentIndex);
}

bool WorkspaceView::showsSlashCommandsHint() const {
    return !Preferences::shared().slashCommandsHintDismissed() && !m_focusMode &&
           m_mode != ViewMode::Preview;
}

void WorkspaceView::updateChrome() {
    m_toolbar->setVisible(!m_focusMode);
    m_status->setVisible(!m_focusMode);
    m_toolbar->setFindBarPresented(isFindBarPresented());
    m_hintSlot->setShown(showsSlashCommandsHint());
}

void WorkspaceView::fileUrlChanged() {
    m_fileUrl = m_document.fileUrl();
    if (m_fileUrl.isLocalFile())
        RecentFilesStore::shared().record(m_fileUrl);
    m_panes->setDocumentDirectory(documentDirectory());
    m_commands->refresh();
    refreshCommandPalette();
    if (m_appeared)
        m_watch->start(m_fileUrl);
}

void WorkspaceView::editorTextEdited(int position, int removed, const QString& added) {
    // Whatever the mode, an edit the editor reports is the user's text: the
    // document takes it, so a save never writes an older one.
    const QScopedValueRollback<bool> applying(m_applyingEditorEdit, true);
    m_document.applyEditorEdit(position, removed, added);
}

void WorkspaceView::documentTextEdited(qsizetype position, qsizetype removed,
                                       const QString& added) {
    // An edit from the editor ends here; one from elsewhere reaches it once.
    if (!m_applyingEditorEdit)
        m_panes->editEditorText(int(position), int(removed), added);
    // The search reads the text only while the find bar shows.
    m_search->textChanged({int(position), int(removed), int(added.size())});
    if (m_panes->preview()->isVisibleTo(this))
        pushPreview();
    else
        m_previewStale = true;
}

void WorkspaceView::pushPreview() {
    m_previewStale = false;
    m_panes->previewTextChanged();
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
