#include "shell/PlainDocumentWindow.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "core/MarkdownDocument.h"
#include "shell/AppNotifications.h"
#include "shell/DocumentController.h"

#include <QEvent>
#include <QMenuBar>
#include <QPlainTextEdit>

PlainDocumentWindow::PlainDocumentWindow(MarkdownDocument& document, DocumentController& controller,
                                         QWidget* parent)
    : QMainWindow(parent), m_document(document), m_controller(controller) {
    m_editor = new QPlainTextEdit(this);
    m_editor->setPlainText(m_document.text());
    setCentralWidget(m_editor);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        // Raw text keeps NBSP and U+2028; only block breaks become LF.
        QString text = m_editor->document()->toRawText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        m_document.setText(text);
    });

    m_fileMenu = menuBar()->addMenu(QString());
    m_new = addCommand(QKeySequence(Qt::CTRL | Qt::Key_N),
                       [](PlainDocumentWindow& w) { w.m_controller.newDocument(); });
    m_open = addCommand(QKeySequence(Qt::CTRL | Qt::Key_O),
                        [](PlainDocumentWindow& w) { w.m_controller.openWithDialog(&w); });
    m_fileMenu->addSeparator();
    m_save = addCommand(QKeySequence(Qt::CTRL | Qt::Key_S),
                        [](PlainDocumentWindow& w) { w.m_controller.save(&w.m_document); });
    m_saveAs = addCommand(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                          [](PlainDocumentWindow& w) { w.m_controller.saveAs(&w.m_document); });
    m_duplicate =
        addCommand(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D),
                   [](PlainDocumentWindow& w) { w.m_controller.duplicate(&w.m_document); });
    m_fileMenu->addSeparator();
    m_close = addCommand(QKeySequence(Qt::CTRL | Qt::Key_W),
                         [](PlainDocumentWindow& w) { w.m_controller.close(&w.m_document); });
    m_quit = addCommand(QKeySequence(Qt::CTRL | Qt::Key_Q),
                        [](PlainDocumentWindow& w) { w.m_controller.quit(); });

    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            &PlainDocumentWindow::restyle);
    retranslate();
    restyle();
}

PlainDocumentWindow::~PlainDocumentWindow() = default;

QAction* PlainDocumentWindow::addCommand(const QKeySequence& shortcut,
                                         void (*run)(PlainDocumentWindow&)) {
    QAction* action = m_fileMenu->addAction(QString());
    action->setShortcut(shortcut);
    // Queued: a command that closes this window must not run inside its menu.
    connect(
        action, &QAction::triggered, this, [this, run] { run(*this); }, Qt::QueuedConnection);
    return action;
}

void PlainDocumentWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void PlainDocumentWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        AppNotifications::postDismissWelcomeWindow();
    }
}

void PlainDocumentWindow::retranslate() {
    m_fileMenu->setTitle(L10n::tr("File"));
    m_new->setText(L10n::tr("New"));
    m_open->setText(L10n::tr("Open…"));
    m_save->setText(L10n::tr("Save"));
    m_saveAs->setText(L10n::tr("Save As…"));
    m_duplicate->setText(L10n::tr("Duplicate"));
    m_close->setText(L10n::tr("Close"));
    m_quit->setText(L10n::tr("Quit"));
}

void PlainDocumentWindow::restyle() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    QFont code = DesignSystem::Typography::font(FontDesign::Monospaced, 14);
    m_editor->setFont(code);
    QPalette p = m_editor->palette();
    p.setColor(QPalette::Base, ds.colors.editorSurface);
    p.setColor(QPalette::Text, ds.colors.text);
    m_editor->setPalette(p);
}
