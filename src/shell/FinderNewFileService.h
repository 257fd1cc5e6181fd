#pragma once

#include <QString>
#include <functional>
#include <optional>

// Serves the file-manager plug-in's "quon://new-file?dir=FOLDER&md=0|1"
// requests: asks for a name, creates an empty file in the folder and opens
// it, hands it to its default application, or shows it in Files.
namespace FinderNewFileService {

struct Answer {
    bool create = false; // Create rather than Cancel
    QString name;        // as typed
    bool open = false;   // "Open file after creating"
};
// Asks for the name: the folder's name, whether Markdown is wanted and the
// checkbox's first state.
using Prompt = std::function<Answer(const QString& folderName, bool markdown, bool open)>;

// Ignores a request whose "dir" is not an absolute path to an existing
// folder. Otherwise the question comes from the event loop, never from
// inside this call (it may come from a socket callback), and `ended` runs
// after it when no document window came of it (cancelled, failed, the file
// shown in Files or handed to another application).
void handle(const QString& rawUrl, std::function<void()> ended = {});

// What a request asks for: the "dir" value fully decoded (not yet checked),
// and whether "md" is "1".
struct Request {
    QString dir;
    bool markdown = false;
};
Request request(const QString& rawUrl);

// The name to create, Markdown names ending in a Markdown extension; none
// for a name that is empty, holds "/" or a NUL, or starts with ".".
std::optional<QString> fileNameFor(const QString& typed, bool markdown);
// The n-th name tried in the folder: "name.ext" for n = 1, else "name n.ext".
QString candidatePath(const QString& folder, const QString& name, int n);

// Tests answer without a dialog; an empty prompt restores the dialog.
void setPrompt(Prompt prompt);

} // namespace FinderNewFileService
