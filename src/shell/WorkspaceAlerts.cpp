#include "shell/WorkspaceAlerts.h"

#include "core/L10n.h"
#include "platform/ModalDialog.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

class MessageBoxAlerts : public WorkspaceAlerts {
public:
    OutsideChangeChoice askAboutOutsideChange(QWidget* window, bool saving) override {
        auto* box = new QMessageBox(window);
        box->setIcon(QMessageBox::Warning);
        box->setWindowTitle(L10n::tr("File Changed on Disk"));
        box->setText(L10n::tr("File Changed on Disk"));
        // clang-format off
        if (saving) {
            box->setInformativeText(L10n::tr("Another application changed this file. Saving will replace its change with your version."));
            box->addButton(L10n::tr("Save Anyway"), QMessageBox::AcceptRole);
        } else {
            box->setInformativeText(L10n::tr("This file was modified by another application. Reload to see the latest version, or keep editing your current version."));
        }
        // clang-format on
        // Escape, as ever, leaves everything as it is: over a save, the
        // file keeps the other program's change.
        QPushButton* stay = box->addButton(
            saving ? L10n::tr("Cancel") : L10n::tr("Keep My Version"), QMessageBox::RejectRole);
        box->addButton(L10n::tr("Reload"), QMessageBox::DestructiveRole);
        box->setDefaultButton(stay);
        box->setEscapeButton(stay);
        box->setWindowModality(Qt::WindowModal);
        switch (ModalDialog::answeredRole(box)) {
        case QMessageBox::AcceptRole:
            return OutsideChangeChoice::KeepMyVersion;
        case QMessageBox::DestructiveRole:
            return OutsideChangeChoice::Reload;
        case QMessageBox::RejectRole:
            return saving ? OutsideChangeChoice::Cancel : OutsideChangeChoice::KeepMyVersion;
        default:
            return OutsideChangeChoice::Unanswered;
        }
    }

    void reloadFailed(QWidget* window, const QString& message) override {
        auto* box = new QMessageBox(window);
        box->setIcon(QMessageBox::Warning);
        box->setWindowTitle(L10n::tr("Could Not Reload File"));
        box->setText(L10n::tr("Could Not Reload File"));
        box->setInformativeText(message);
        box->addButton(L10n::tr("OK"), QMessageBox::RejectRole);
        box->setWindowModality(Qt::WindowModal);
        ModalDialog::exec(box);
    }
};

} // namespace

WorkspaceAlerts& WorkspaceAlerts::standard() {
    static MessageBoxAlerts alerts;
    return alerts;
}
