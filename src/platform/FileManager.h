#pragma once

#include <QString>
#include <functional>

// The desktop's file manager.
namespace FileManager {

// Opens a file manager window with the file selected, through
// org.freedesktop.FileManager1; without one on the session bus, opens the
// file's folder instead. Returns at once; `shown` runs once the request is
// handed over (or the folder opened).
void showItem(const QString& path, const std::function<void()>& shown = {});

} // namespace FileManager
