#include "core/DefaultMarkdownHandlerService.h"

#include "core/L10n.h"
#include "core/MarkdownFileTypes.h"
#include "platform/DesktopEntry.h"
#include "platform/ToolRunner.h"

#include <QMimeDatabase>
#include <QSet>

namespace {

const QString xdgMime = QStringLiteral("xdg-mime");

QString failureMessage(const QString& type, const ToolRunner::Result& result) {
    if (!result.started)
        return L10n::tr("The xdg-mime tool could not be run.");
    return L10n::tr("The system did not accept quon as the default application for %1.").arg(type);
}

// One type after another; a failure does not stop the types after it.
void setDefault(const QStringList& types, int index, bool anySuccess, const QString& firstError,
                const DefaultMarkdownHandlerService::Completion& completion) {
    const QString type = types.at(index);
    ToolRunner::run(xdgMime,
                    {QStringLiteral("default"), QLatin1String(DesktopEntry::fileName), type},
                    [=](const ToolRunner::Result& result) {
                        const bool success = anySuccess || result.succeeded();
                        const QString error = firstError.isEmpty() && !result.succeeded()
                                                  ? failureMessage(type, result)
                                                  : firstError;
                        if (index + 1 < types.size())
                            setDefault(types, index + 1, success, error, completion);
                        else
                            completion(success ? QString() : error);
                    });
}

} // namespace

QString DefaultMarkdownHandlerService::noContentTypesMessage() {
    return L10n::tr("No Markdown content types are available on this system.");
}

QStringList DefaultMarkdownHandlerService::handlerTypes() {
    const QMimeDatabase database;
    QStringList types;
    QSet<QString> seen;
    auto add = [&](const QMimeType& type) {
        if (!type.isValid() || type.isDefault())
            return;
        const QString name = type.name();
        if (name == QLatin1String(MarkdownFileTypes::plainTextMimeType) || seen.contains(name))
            return;
        seen.insert(name);
        types.append(name);
    };
    add(database.mimeTypeForName(QLatin1String(MarkdownFileTypes::markdownMimeType)));
    for (const QString& extension : MarkdownFileTypes::extensions())
        add(database.mimeTypeForFile(QStringLiteral("x.") + extension,
                                     QMimeDatabase::MatchExtension));
    return types;
}

QString DefaultMarkdownHandlerService::defaultApplicationInGioAnswer(const QByteArray& output) {
    // "Default application for “TYPE”: ID.desktop"; nothing of the kind when
    // there is none.
    for (const QByteArray& line : output.split('\n')) {
        const qsizetype colon = line.lastIndexOf(": ");
        if (line.startsWith("Default application for ") && colon > 0)
            return QString::fromUtf8(line.mid(colon + 2).trimmed());
    }
    return {};
}

void DefaultMarkdownHandlerService::isDefaultHandler(std::function<void(bool)> answer) {
    // GIO's own lookup (mimeapps.list, entries that can run, parent types),
    // which xdg-mime outside GNOME does not repeat. Its untranslated answer.
    ToolRunner::run(QStringLiteral("env"),
                    {QStringLiteral("LC_ALL=C.UTF-8"), QStringLiteral("gio"),
                     QStringLiteral("mime"), QLatin1String(MarkdownFileTypes::markdownMimeType)},
                    [answer](const ToolRunner::Result& result) {
                        // env's 127: no gio here; xdg-mime is the desktop's answer then.
                        if (result.started && !result.timedOut && result.exitCode == 127) {
                            ToolRunner::run(xdgMime,
                                            {QStringLiteral("query"), QStringLiteral("default"),
                                             QLatin1String(MarkdownFileTypes::markdownMimeType)},
                                            [answer](const ToolRunner::Result& queried) {
                                                answer(queried.succeeded() &&
                                                       queried.output.trimmed() ==
                                                           DesktopEntry::fileName);
                                            });
                            return;
                        }
                        answer(result.succeeded() && defaultApplicationInGioAnswer(result.output) ==
                                                         QLatin1String(DesktopEntry::fileName));
                    });
}

void DefaultMarkdownHandlerService::setAsDefault(Completion completion) {
    // A default naming an entry the desktop cannot find would do nothing.
    // Writing it can only fail where xdg-mime fails too, so that is what reports.
    DesktopEntry::ensureInstalled();
    const QStringList types = handlerTypes();
    if (types.isEmpty()) {
        completion(noContentTypesMessage());
        return;
    }
    setDefault(types, 0, false, QString(), completion);
}
