#include "NewFileUrl.h"

#include "common/AppIdentity.h"

char* quon_new_file_url(const char* dir, gboolean markdown) {
    if (dir == NULL || !g_path_is_absolute(dir))
        return NULL;
    // Everything but unreserved characters and "/" is escaped, so "&", "=", "#", "+"
    // and "%" in a folder name cannot end the value or be read as a form's space.
    g_autofree char* escaped = g_uri_escape_string(dir, "/", FALSE);
    return g_strconcat(QUON_URL_SCHEME "://" QUON_NEW_FILE_HOST "?dir=", escaped,
                       markdown ? "&md=1" : "&md=0", NULL);
}
