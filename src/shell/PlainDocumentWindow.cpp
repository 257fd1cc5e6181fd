#include "shell/PlainDocumentWindow.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "core/MarkdownDocument.h"

#include <QEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>

PlainDocumentWindow::PlainDocumentWindow(std::unique_ptr<MarkdownDocument> document,
                                         QWidget* parent)
    : QMainWindow(parent), m_document(std::move(document)) {
    m_editor = new QPlainTextEdit(this);
    m_editor->setPlainText(m_document->text());
    setCentralWidget(m_editor);
    connect(m_editor, &QPlainTextEdit::textChanged, this,
            [this] { m_document->setText(m_editor->document()->toRawText()); });

    m_fileMenu = menuBar()->addMenu(QString());
    m_save = m_fileMenu->addAction(QString());
    m_save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(m_save, &QAction::triggered, this, &PlainDocumentWindow::save);

    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            &PlainDocumentWindow::restyle);
    resize(900, 640);
    retranslate();
    restyle();
}

PlainDocumentWindow::~PlainDocumentWindow() = default;

void PlainDocumentWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void PlainDocumentWindow::retranslate() {
    const QUrl url = m_document->fileUrl();
    const QString name =
        url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName() : L10n::tr("Untitled");
    setWindowTitle(name);
    m_fileMenu->setTitle(L10n::tr("File"));
    m_save->setText(L10n::tr("Save"));
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

void PlainDocumentWindow::save() {
    const QUrl url = m_document->fileUrl();
    if (!url.isLocalFile())
        return;
    DocumentFileError error;
    if (!m_document->save(url.toLocalFile(), &error))
        QMessageBox::warning(this, L10n::tr("Could Not Save File"), error.message());
}
