#pragma once

#include <QString>

// The desktop's file manager.
namespace FileManager {

// Opens a file manager window with the file selected, through
// org.freedesktop.FileManager1; without one on the session bus, opens the
// file's folder instead. Returns at once.
void showItem(const QString& path);

} // namespace FileManager
