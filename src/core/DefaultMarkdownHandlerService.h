#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Whether quon is the desktop's default application for Markdown files, and
// making it so, through xdg-mime. Nothing here blocks the event loop.
namespace DefaultMarkdownHandlerService {

// Called once from the event loop: empty on success, else the message to show.
using Completion = std::function<void(const QString& errorMessage)>;

QString noContentTypesMessage();

// "text/markdown", then the types the MIME database gives the four Markdown
// extensions: canonical names, no duplicates, never text/plain,
// application/octet-stream or an unknown type.
QStringList handlerTypes();

// Whether GIO, and so Files, opens Markdown with quon: `gio mime
// text/markdown` names quon's desktop entry as the default. False when the
// tool fails.
void isDefaultHandler(std::function<void(bool)> answer);
// The desktop entry `gio mime TYPE` names as the default; empty for none.
QString defaultApplicationInGioAnswer(const QByteArray& output);

// Makes sure quon has a desktop entry, then makes it the default for every
// handler type, one xdg-mime run after another. Success when any type was
// taken, else the first failure's message; with no types, the
// no-content-types message at once.
void setAsDefault(Completion completion);

} // namespace DefaultMarkdownHandlerService
