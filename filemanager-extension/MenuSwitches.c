#include "MenuSwitches.h"

#include "common/AppIdentity.h"

#include <errno.h>
#include <glib/gstdio.h>

char* quon_menu_switches_path(void) {
    return g_build_filename(g_get_user_config_dir(), QUON_CONFIG_DIR, QUON_EXTENSION_CONFIG_FILE,
                            NULL);
}

GKeyFile* quon_menu_switches_load(const char* path) {
    GKeyFile* switches = g_key_file_new();
    if (!g_key_file_load_from_file(switches, path, G_KEY_FILE_KEEP_COMMENTS, NULL)) {
        // A half-parsed file may hold some groups already; start clean.
        g_key_file_free(switches);
        switches = g_key_file_new();
    }
    return switches;
}

gboolean quon_menu_switches_show(GKeyFile* switches, QuonMenuItem item) {
    g_autoptr(GError) error = NULL;
    const gboolean shown = g_key_file_get_boolean(switches, QUON_EXTENSION_CONFIG_GROUP,
                                                  quon_menu_item_switch_key(item), &error);
    return error != NULL || shown;
}

gboolean quon_menu_switches_apply(GKeyFile* switches, GVariant* parameters) {
    if (parameters == NULL || !g_variant_is_of_type(parameters, G_VARIANT_TYPE("(a{sv})")))
        return FALSE;
    g_autoptr(GVariant) values = g_variant_get_child_value(parameters, 0);
    gboolean stored = FALSE;
    for (int item = 0; item < QUON_MENU_ITEM_COUNT; ++item) {
        const char* key = quon_menu_item_switch_key((QuonMenuItem)item);
        gboolean value;
        if (g_variant_lookup(values, key, "b", &value)) {
            g_key_file_set_boolean(switches, QUON_EXTENSION_CONFIG_GROUP, key, value);
            stored = TRUE;
        }
    }
    return stored;
}

gboolean quon_menu_switches_save(GKeyFile* switches, const char* path, GError** error) {
    g_autofree char* folder = g_path_get_dirname(path);
    if (g_mkdir_with_parents(folder, 0700) != 0) {
        const int code = errno;
        g_set_error(error, G_FILE_ERROR, g_file_error_from_errno(code), "%s: %s", folder,
                    g_strerror(code));
        return FALSE;
    }
    return g_key_file_save_to_file(switches, path, error);
}
