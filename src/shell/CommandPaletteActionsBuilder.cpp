#include "shell/CommandPaletteActionsBuilder.h"

#include "core/FeatureTourController.h"
#include "core/L10n.h"
#include "core/MarkdownFileTypes.h"
#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "shell/DocumentOpener.h"
#include "shell/WindowCommands.h"

#include <QAction>

namespace {

std::optional<QString> text(const char* source) {
    return source ? std::optional<QString>(L10n::tr(source)) : std::nullopt;
}

} // namespace

std::optional<QString> CommandPaletteActionsBuilder::shortcutHint(const QAction* action) {
    if (!action || action->shortcut().isEmpty())
        return std::nullopt;
    return action->shortcut().toString(QKeySequence::NativeText);
}

QList<CommandPaletteAction> CommandPaletteActionsBuilder::build(const WindowCommands& commands,
                                                                const CommandPaletteState& state) {
    // Rows that run one of the window's commands; `keys` is the command
    // whose shortcut the row shows, if any.
    struct Row {
        const char* id;
        const char* title;
        const char* subtitle;
        const char* symbol;
        QAction* keys;
        std::function<void()> perform;
    };
    const auto trigger = [](QAction* action) { return [action] { action->trigger(); }; };
    const auto afterDismissing = [dismiss = state.dismissWelcomeWindow](QAction* action) {
        return [dismiss, action] {
            if (dismiss)
                dismiss();
            action->trigger();
        };
    };
    const auto showWelcome = commands.application().showWelcomeWindow;
    const QList<Row> rows{
        {"mode.edit", L10n::mark("Edit"), L10n::mark("Switch to Edit mode"), "pencil",
         commands.modeEdit, trigger(commands.modeEdit)},
        {"mode.split", L10n::mark("Split"), L10n::mark("Switch to Split mode"),
         "rectangle.split.2x1", commands.modeSplit, trigger(commands.modeSplit)},
        {"mode.preview", L10n::mark("Preview"), L10n::mark("Switch to Preview mode"), "eye",
         commands.modePreview, trigger(commands.modePreview)},
        {"focus.toggle",
         state.focusMode ? L10n::mark("Exit Focus Mode") : L10n::mark("Enter Focus Mode"), nullptr,
         "arrow.up.left.and.arrow.down.right", commands.focusMode, trigger(commands.focusMode)},
        {"find.toggle",
         state.findBarPresented ? L10n::mark("Close Find Bar") : L10n::mark("Find in Document"),
         L10n::mark("Search in the current document"), "magnifyingglass", commands.find,
         trigger(commands.find)},
        {"slash.hint", L10n::mark("Slash Commands"),
         L10n::mark("Type / in the editor for Markdown blocks"), "slash.circle", nullptr,
         [] {
             Preferences::shared().setBoolean(PreferenceKeys::slashCommandsHintDismissed, false);
         }},
        {"doc.saveAs", L10n::mark("Save As…"), nullptr, "square.and.arrow.down", commands.saveAs,
         trigger(commands.saveAs)},
        {"doc.duplicate", L10n::mark("Duplicate"), nullptr, "plus.square.on.square",
         commands.duplicate, trigger(commands.duplicate)},
        {"export.pdf", L10n::mark("Export as PDF…"), nullptr, "doc.richtext", nullptr,
         trigger(commands.exportPDF)},
        {"export.html", L10n::mark("Export as HTML…"), nullptr, "chevron.left.slash.chevron.right",
         nullptr, trigger(commands.exportHTML)},
        {"export.markdown", L10n::mark("Save Markdown Copy…"), nullptr, "doc.text", nullptr,
         trigger(commands.exportMarkdownCopy)},
        {"export.plainText", L10n::mark("Export as Plain Text…"), nullptr, "doc.plaintext", nullptr,
         trigger(commands.exportPlainText)},
        {"export.copyHTML", L10n::mark("Copy as HTML"), nullptr, "doc.on.clipboard", nullptr,
         trigger(commands.copyHTML)},
        {"nav.home", L10n::mark("Home"), L10n::mark("Show Welcome window"), "house", nullptr,
         [showWelcome] {
             if (showWelcome)
                 showWelcome();
         }},
        {"nav.new", L10n::mark("New Document"), nullptr, "doc.badge.plus", commands.newDocument,
         afterDismissing(commands.newDocument)},
        {"nav.open", L10n::mark("Open…"), nullptr, "folder", commands.openDocument,
         afterDismissing(commands.openDocument)},
        {"nav.settings", L10n::mark("Settings"), nullptr, "gearshape", nullptr,
         trigger(commands.settings)},
        {"nav.featureTour", L10n::mark("Show Feature Tour"),
         L10n::mark("Replay the welcome guided tour"), "hand.wave", nullptr,
         [] { FeatureTourController::shared().present(); }},
    };

    QList<CommandPaletteAction> actions;
    for (const Row& row : rows)
        actions.append({QString::fromLatin1(row.id), L10n::tr(row.title), text(row.subtitle),
                        QString::fromLatin1(row.symbol), shortcutHint(row.keys), row.perform});
    if (state.fileUrl.isLocalFile())
        actions.append({QStringLiteral("doc.reveal"), L10n::tr("Reveal in Files"), std::nullopt,
                        QStringLiteral("folder"), std::nullopt, trigger(commands.reveal)});
    actions.append(recentFileActions(state.recentFiles, state.fileUrl));
    return actions;
}

QList<CommandPaletteAction>
CommandPaletteActionsBuilder::recentFileActions(const QList<RecentFile>& files, const QUrl& own) {
    const QUrl ownFile = own.isLocalFile() ? RecentFilesStore::standardized(own) : QUrl();
    QList<CommandPaletteAction> actions;
    for (const RecentFile& file : files.mid(0, maximumRecentFiles)) {
        const QUrl url = RecentFilesStore::standardized(file.url);
        if (!ownFile.isEmpty() && url == ownFile)
            continue;
        const QString path = url.toLocalFile();
        actions.append({QStringLiteral("recent.") + file.id(), documentBaseName(url),
                        documentDirectory(url), QStringLiteral("clock"), std::nullopt,
                        [path] { DocumentOpener::open(path); }, url.fileName()});
    }
    return actions;
}
