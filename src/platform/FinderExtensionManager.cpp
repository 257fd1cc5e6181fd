#include "platform/FinderExtensionManager.h"

#include "BuildInfo.h"
#include "common/AppIdentity.h"
#include "platform/DesktopEntry.h"
#include "platform/InstallLayout.h"
#include "platform/SchemeHandlerState.h"
#include "platform/ToolRunner.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <optional>

namespace {

constexpr char schemeHandlerType[] = "x-scheme-handler/" QUON_URL_SCHEME;
// Long enough for the administrator's password.
constexpr int enableTimeoutMs = 180000;

std::optional<FinderExtensionManager::Locations>& overridden() {
    static std::optional<FinderExtensionManager::Locations> locations;
    return locations;
}

QString moduleIn(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral(QUON_NAUTILUS_MODULE_FILE));
}

QString shellQuoted(const QString& text) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./+:@%=-]+$"));
    if (plain.match(text).hasMatch())
        return text;
    QString quoted = text;
    return QLatin1Char('\'') + quoted.replace(QLatin1String("'"), QLatin1String("'\\''")) +
           QLatin1Char('\'');
}

} // namespace

FinderExtensionManager::Locations FinderExtensionManager::locations() {
    if (overridden())
        return *overridden();
    return locationsFor(QCoreApplication::applicationDirPath());
}

FinderExtensionManager::Locations
FinderExtensionManager::locationsFor(const QString& executableFolder) {
    const QString source = InstallLayout::companionFolder(
        executableFolder, QString::fromUtf8(BuildInfo::buildPluginModuleDir));
    return {QString::fromUtf8(BuildInfo::nautilusExtensionDir), moduleIn(source)};
}

void FinderExtensionManager::setLocations(const Locations& locations) {
    if (locations.extensionDirectory.isEmpty() && locations.moduleSource.isEmpty())
        overridden().reset();
    else
        overridden() = locations;
}

void FinderExtensionManager::registerIfNeeded() {
    // At every launch: quon's own entry follows the running executable and
    // makes way for an installed one.
    if (!DesktopEntry::ensureInstalled())
        return;
    // xdg-mime starts dozens of processes: only when its answer can differ.
    const QByteArray state = SchemeHandlerState::current();
    if (state != SchemeHandlerState::remembered())
        registerHandler();
}

void FinderExtensionManager::registerHandler() {
    const QString tool = QStringLiteral("xdg-mime");
    const QString type = QLatin1String(schemeHandlerType);
    ToolRunner::run(
        tool, {QStringLiteral("query"), QStringLiteral("default"), type},
        [tool, type](const ToolRunner::Result& result) {
            // Some versions answer "none" with a failure status; a tool
            // that never ran or hung says nothing, so nothing changes
            // and the next launch asks again.
            if (!result.started || result.timedOut)
                return;
            if (!result.output.trimmed().isEmpty()) {
                SchemeHandlerState::remember(SchemeHandlerState::current());
                return;
            }
            ToolRunner::run(
                tool, {QStringLiteral("default"), QLatin1String(DesktopEntry::fileName), type},
                [](const ToolRunner::Result& set) {
                    // Taken after the write, which changes the state.
                    if (set.succeeded())
                        SchemeHandlerState::remember(SchemeHandlerState::current());
                });
        });
}

bool FinderExtensionManager::isEnabled() {
    const QString folder = locations().extensionDirectory;
    return !folder.isEmpty() && QFileInfo::exists(moduleIn(folder));
}

bool FinderExtensionManager::isFileManagerInstalled() {
    return !QStandardPaths::findExecutable(QStringLiteral("nautilus")).isEmpty();
}

void FinderExtensionManager::enable(std::function<void(bool enabled)> done) {
    auto report = [done](const ToolRunner::Result&) {
        if (done)
            done(isEnabled());
    };
    const Locations where = locations();
    if (where.extensionDirectory.isEmpty() || !QFileInfo::exists(where.moduleSource)) {
        QTimer::singleShot(0, qApp, [report] { report({}); });
        return;
    }
    ToolRunner::run(QStringLiteral("pkexec"),
                    {QStringLiteral("install"), QStringLiteral("-m"), QStringLiteral("644"),
                     where.moduleSource, where.extensionDirectory + QLatin1Char('/')},
                    report, enableTimeoutMs);
}

void FinderExtensionManager::restartFinder() {
    ToolRunner::run(QStringLiteral("nautilus"), {QStringLiteral("-q")});
}

QString FinderExtensionManager::manualInstallCommand() {
    const Locations where = locations();
    return QStringLiteral("sudo install -m 644 %1 %2")
        .arg(shellQuoted(where.moduleSource),
             shellQuoted(where.extensionDirectory + QLatin1Char('/')));
}

void FinderExtensionManager::openSystemSettings(const InstallCommandTexts& texts, QWidget* parent) {
    auto* dialog = new QDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(texts.title);
    auto* layout = new QVBoxLayout(dialog);
    auto* text = new QLabel(texts.explanation, dialog);
    text->setWordWrap(true);
    auto* command = new QLineEdit(manualInstallCommand(), dialog);
    command->setReadOnly(true);
    command->setMinimumWidth(480);
    command->selectAll();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(texts.ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    layout->addWidget(text);
    layout->addWidget(command);
    layout->addWidget(buttons);
    // Not modal: the command stays on screen while the user types it elsewhere.
    dialog->show();
    command->setFocus();
}
