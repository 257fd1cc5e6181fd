#include "platform/ModalDialog.h"

#include <QFileDialog>
#include <QMessageBox>

QStringList ModalDialog::chosenFiles(QFileDialog* dialog) {
    return exec(dialog,
                [](QFileDialog& d) {
                    return d.result() == QDialog::Accepted ? d.selectedFiles() : QStringList();
                })
        .value_or(QStringList());
}

QAbstractButton* ModalDialog::clickedButton(QMessageBox* box) {
    return exec(box, [](QMessageBox& b) { return b.clickedButton(); }).value_or(nullptr);
}
