#include "platform/ModalDialog.h"

#include <QFileDialog>

QStringList ModalDialog::chosenFiles(QFileDialog* dialog) {
    return exec(dialog,
                [](QFileDialog& d) {
                    return d.result() == QDialog::Accepted ? d.selectedFiles() : QStringList();
                })
        .value_or(QStringList());
}

QMessageBox::ButtonRole ModalDialog::answeredRole(QMessageBox* box) {
    return exec(box, [](QMessageBox& b) { return b.buttonRole(b.clickedButton()); })
        .value_or(QMessageBox::InvalidRole);
}
