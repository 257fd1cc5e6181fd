#pragma once

#include <glib.h>

G_BEGIN_DECLS

// The request to quon to create a file in the folder at the absolute path dir:
// quon://new-file?dir=<dir>&md=<0|1>, the path percent-encoded except for its slashes.
// NULL when dir is not an absolute path. Free with g_free.
char* quon_new_file_url(const char* dir, gboolean markdown);

G_END_DECLS
