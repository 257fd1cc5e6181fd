#pragma once

#include <nautilus-extension.h>

G_BEGIN_DECLS

// A file as the file manager hands it to a menu provider, without the file manager:
// a location (a path or a URI) that need not exist, and whether it is a folder.
NautilusFileInfo* stand_in_file_info_new(const char* location, gboolean is_directory);
// The file was renamed or moved.
void stand_in_file_info_move(NautilusFileInfo* info, const char* location);

G_END_DECLS
