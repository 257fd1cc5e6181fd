#include "shell/NewFileDialog.h"

#include "core/L10n.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NewFileDialog::NewFileDialog(const QString& folderName, bool markdown, bool openAfterCreating,
                             QWidget* parent)
    : QDialog(parent) {
    const QString title = markdown ? L10n::tr("New Markdown File") : L10n::tr("New File");
    setWindowTitle(title);

    m_message = new QLabel(title, this);
    m_message->setTextFormat(Qt::PlainText);
    QFont bold = m_message->font();
    bold.setBold(true);
    m_message->setFont(bold);
    m_informative =
        new QLabel(L10n::tr("The file will be created in \"%1\".").arg(folderName), this);
    m_informative->setTextFormat(Qt::PlainText);
    m_informative->setWordWrap(true);

    m_name = new QLineEdit(
        markdown ? QStringLiteral("untitled.md") : QStringLiteral("untitled.txt"), this);
    m_name->setPlaceholderText(markdown ? QStringLiteral("notes.md") : QStringLiteral("index.js"));
    m_name->setFixedWidth(fieldWidth);
    m_name->selectAll();

    m_open = new QCheckBox(L10n::tr("Open file after creating"), this);
    m_open->setChecked(openAfterCreating);

    auto* buttons = new QDialogButtonBox(this);
    m_create = buttons->addButton(L10n::tr("Create"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(L10n::tr("Cancel"), QDialogButtonBox::RejectRole);
    m_create->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(m_informative);
    layout->addSpacing(6);
    auto* accessory = new QVBoxLayout;
    accessory->setSpacing(10);
    accessory->addWidget(m_name);
    accessory->addWidget(m_open);
    layout->addLayout(accessory);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_name->setFocus();
}

QString NewFileDialog::message() const {
    return m_message->text();
}

QString NewFileDialog::informativeText() const {
    return m_informative->text();
}
