#pragma once

#include <glib.h>

G_BEGIN_DECLS

// One selected item as the file manager describes it.
typedef struct {
    const char* uri;
    gboolean is_directory;
} QuonSelectedItem;

// The folder a new file goes into, as an absolute local path (free with g_free), or NULL
// when there is none. A single selected folder is the target; a file or several items
// mean the folder they are shown in.
char* quon_new_file_target_for_selection(const QuonSelectedItem* items, gsize count);
// For the menu of the folder shown itself.
char* quon_new_file_target_for_folder(const char* folder_uri);

G_END_DECLS
