#include "windows/SettingsDialogs.h"

#include "core/L10n.h"
#include "platform/ModalDialog.h"
#include "shell/DocumentDialogs.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

class MessageBoxSettingsDialogs : public SettingsDialogs {
public:
    bool confirmClearAppData(QWidget* parent, const QStringList& keptCopies) override {
        const QString title = L10n::tr("Clear App Data?");
        auto* box =
            new QMessageBox(QMessageBox::Warning, title, title, QMessageBox::NoButton, parent);
        // clang-format off
        box->setInformativeText(L10n::tr("This will reset quon to a fresh install — settings, recent files, and the feature tour will be cleared. The app will quit immediately."));
        // clang-format on
        if (!keptCopies.isEmpty())
            box->setInformativeText(
                box->informativeText() + QStringLiteral("\n\n") +
                L10n::tr("These copies of texts whose save didn’t finish are kept:") +
                QLatin1Char('\n') + keptCopies.join(QLatin1Char('\n')));
        // "&&": a lone "&" would make the next character a mnemonic and vanish.
        QString clearTitle = L10n::tr("Clear & Quit");
        box->addButton(clearTitle.replace(QLatin1Char('&'), QLatin1String("&&")),
                       QMessageBox::DestructiveRole);
        QPushButton* cancel = box->addButton(L10n::tr("Cancel"), QMessageBox::RejectRole);
        // Nothing destructive on a stray Return.
        box->setDefaultButton(cancel);
        box->setEscapeButton(cancel);
        return ModalDialog::answeredRole(box) == QMessageBox::DestructiveRole;
    }

    void showDefaultAppError(QWidget* parent, const QString& message) override {
        WidgetDocumentDialogs().showAlert(parent, L10n::tr("Could Not Set Default App"), message);
    }
};

} // namespace

SettingsDialogs& SettingsDialogs::standard() {
    static MessageBoxSettingsDialogs dialogs;
    return dialogs;
}
