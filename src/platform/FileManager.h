#pragma once

#include <QString>
#include <functional>

// The desktop's file manager.
namespace FileManager {

// Opens a file manager window with the file selected, through
// org.freedesktop.FileManager1; when none answers on the session bus, opens
// the file's folder with xdg-open. Returns at once; `done` runs from the event
// loop once the request is handed over, false when nothing could show it.
void showItem(const QString& path, const std::function<void(bool shown)>& done = {});

} // namespace FileManager
