#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <optional>

class QFileDialog;

// Runs a question's modal loop. A dialog goes with its parent window, also
// while its loop runs (a quit may close that window meanwhile), so it is made
// on the heap and read only while it still exists.
namespace ModalDialog {

// Runs the dialog, reads its answer with `read` and deletes it; no answer
// when the dialog went away before it was given one.
template <typename Dialog, typename Read>
auto exec(Dialog* dialog, Read read) -> std::optional<decltype(read(*dialog))> {
    const QPointer<Dialog> guard(dialog);
    dialog->exec();
    if (!guard)
        return std::nullopt;
    auto answer = read(*dialog);
    delete dialog;
    return answer;
}

// Runs the dialog and deletes it; false when it went away meanwhile.
template <typename Dialog> bool exec(Dialog* dialog) {
    return exec(dialog, [](Dialog&) { return true; }).has_value();
}

// Runs a message box: the role of the button the user answered with,
// InvalidRole when it went away unanswered. A role, as the buttons go with it.
QMessageBox::ButtonRole answeredRole(QMessageBox* box);
// Runs a file dialog: the files chosen, none when it was cancelled or went
// away.
QStringList chosenFiles(QFileDialog* dialog);

} // namespace ModalDialog
