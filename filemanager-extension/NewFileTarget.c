#include "NewFileTarget.h"

#include <gio/gio.h>

// Only file:// locations: quon creates the file with plain file I/O, so a path from a
// gvfs FUSE mount of some remote location would not do.
static char* local_path(GFile* location) {
    if (location == NULL || !g_file_has_uri_scheme(location, "file"))
        return NULL;
    return g_file_get_path(location);
}

char* quon_new_file_target_for_folder(const char* folder_uri) {
    if (folder_uri == NULL)
        return NULL;
    g_autoptr(GFile) folder = g_file_new_for_uri(folder_uri);
    return local_path(folder);
}

char* quon_new_file_target_for_selection(const QuonSelectedItem* items, gsize count) {
    if (count == 0)
        return NULL;
    if (count == 1 && items[0].is_directory)
        return quon_new_file_target_for_folder(items[0].uri);

    // The menu does not say which folder is shown; it is the parent the items share.
    // Items from several folders (search results, an expanded tree) have no one folder.
    g_autoptr(GFile) shown = NULL;
    for (gsize i = 0; i < count; ++i) {
        if (items[i].uri == NULL)
            return NULL;
        g_autoptr(GFile) item = g_file_new_for_uri(items[i].uri);
        g_autoptr(GFile) parent = g_file_get_parent(item);
        if (parent == NULL)
            return NULL;
        if (shown == NULL)
            shown = g_steal_pointer(&parent);
        else if (!g_file_equal(shown, parent))
            return NULL;
    }
    return local_path(shown);
}
