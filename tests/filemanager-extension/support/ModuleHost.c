#include "ModuleHost.h"

#include "StandInFileInfo.h"

#include <gio/gio.h>
#include <glib/gstdio.h>
#include <gmodule.h>

// The file manager's own loader: a GTypeModule whose load opens the library and calls
// nautilus_module_initialize.
typedef struct {
    GTypeModule parent_instance;
    char* path;
    GModule* library;
    void (*initialize)(GTypeModule* module);
    void (*shutdown)(void);
    void (*list_types)(const GType** types, int* count);
} HostModule;

typedef GTypeModuleClass HostModuleClass;

G_DEFINE_TYPE(HostModule, host_module, G_TYPE_TYPE_MODULE)

static gboolean host_module_load(GTypeModule* type_module) {
    HostModule* self = (HostModule*)type_module;
    self->library = g_module_open(self->path, G_MODULE_BIND_LAZY | G_MODULE_BIND_LOCAL);
    if (self->library == NULL) {
        g_printerr("%s\n", g_module_error());
        return FALSE;
    }
    if (!g_module_symbol(self->library, "nautilus_module_initialize",
                         (gpointer*)&self->initialize) ||
        !g_module_symbol(self->library, "nautilus_module_shutdown", (gpointer*)&self->shutdown) ||
        !g_module_symbol(self->library, "nautilus_module_list_types",
                         (gpointer*)&self->list_types)) {
        g_printerr("%s\n", g_module_error());
        g_module_close(self->library);
        return FALSE;
    }
    self->initialize(type_module);
    return TRUE;
}

static void host_module_unload(GTypeModule* type_module) {
    HostModule* self = (HostModule*)type_module;
    self->shutdown();
    g_module_close(self->library);
}

static void host_module_class_init(HostModuleClass* klass) {
    klass->load = host_module_load;
    klass->unload = host_module_unload;
}

static void host_module_init(HostModule* self) {
    (void)self;
}

static NautilusMenuProvider* provider;

int host_load_module(const char* path) {
    if (provider != NULL)
        return 1;
    HostModule* module = g_object_new(host_module_get_type(), NULL);
    module->path = g_strdup(path);
    g_type_module_set_name(G_TYPE_MODULE(module), path);
    if (!g_type_module_use(G_TYPE_MODULE(module)))
        return 0;
    const GType* types = NULL;
    int count = 0;
    module->list_types(&types, &count);
    for (int i = 0; i < count && provider == NULL; ++i) {
        GObject* object = g_object_new(types[i], NULL);
        if (NAUTILUS_IS_MENU_PROVIDER(object))
            provider = NAUTILUS_MENU_PROVIDER(object);
        else
            g_object_unref(object);
    }
    // The provider's class keeps the module in use, as in the file manager.
    g_type_module_unuse(G_TYPE_MODULE(module));
    if (provider == NULL)
        g_printerr("%s: no menu provider among %d types\n", path, count);
    return provider != NULL;
}

struct HostMenu {
    GList* files;
    GList* items;
};

HostMenu* host_selection_menu(const HostItem* items, int count) {
    HostMenu* menu = g_new0(HostMenu, 1);
    for (int i = 0; i < count; ++i)
        menu->files = g_list_append(
            menu->files, stand_in_file_info_new(items[i].location, items[i].is_directory));
    menu->items = nautilus_menu_provider_get_file_items(provider, menu->files);
    return menu;
}

HostMenu* host_background_menu(const char* folder) {
    HostMenu* menu = g_new0(HostMenu, 1);
    menu->files = g_list_append(NULL, stand_in_file_info_new(folder, TRUE));
    menu->items = nautilus_menu_provider_get_background_items(provider, menu->files->data);
    return menu;
}

int host_menu_count(const HostMenu* menu) {
    return (int)g_list_length(menu->items);
}

static char* item_property(const HostMenu* menu, int index, const char* property) {
    char* value = NULL;
    g_object_get(g_list_nth_data(menu->items, (guint)index), property, &value, NULL);
    return value;
}

char* host_menu_label(const HostMenu* menu, int index) {
    return item_property(menu, index, "label");
}

char* host_menu_icon(const HostMenu* menu, int index) {
    return item_property(menu, index, "icon");
}

void host_menu_move_file(HostMenu* menu, int file_index, const char* location) {
    stand_in_file_info_move(g_list_nth_data(menu->files, (guint)file_index), location);
}

void host_menu_activate(HostMenu* menu, int index) {
    nautilus_menu_item_activate(g_list_nth_data(menu->items, (guint)index));
}

void host_menu_free(HostMenu* menu) {
    if (menu->items != NULL)
        nautilus_menu_item_list_free(menu->items);
    g_list_free_full(menu->files, g_object_unref);
    g_free(menu);
}

static char* capture_path(void) {
    return g_build_filename(g_get_user_data_dir(), "quon-handler", "url", NULL);
}

int host_install_url_handler(void) {
    g_autofree char* folder = g_build_filename(g_get_user_data_dir(), "quon-handler", NULL);
    g_autofree char* applications = g_build_filename(g_get_user_data_dir(), "applications", NULL);
    g_autofree char* script = g_build_filename(folder, "capture", NULL);
    g_autofree char* capture = capture_path();
    g_autofree char* quoted_capture = g_shell_quote(capture);
    // Written whole, then renamed, so a reader never sees half a URL.
    g_autofree char* script_text =
        g_strdup_printf("#!/bin/sh\nprintf '%%s' \"$1\" > %s.part && mv %s.part %s\n",
                        quoted_capture, quoted_capture, quoted_capture);
    g_autofree char* desktop = g_build_filename(applications, "quon-handler.desktop", NULL);
    g_autofree char* desktop_text =
        g_strdup_printf("[Desktop Entry]\nType=Application\nName=quon handler\nExec=%s %%u\n"
                        "MimeType=x-scheme-handler/quon;\nNoDisplay=true\n",
                        script);
    g_autofree char* mimeapps = g_build_filename(g_get_user_config_dir(), "mimeapps.list", NULL);
    const char* mimeapps_text =
        "[Default Applications]\nx-scheme-handler/quon=quon-handler.desktop\n";
    return g_mkdir_with_parents(folder, 0700) == 0 &&
           g_mkdir_with_parents(applications, 0700) == 0 &&
           g_mkdir_with_parents(g_get_user_config_dir(), 0700) == 0 &&
           g_file_set_contents(script, script_text, -1, NULL) && g_chmod(script, 0700) == 0 &&
           g_file_set_contents(desktop, desktop_text, -1, NULL) &&
           g_file_set_contents(mimeapps, mimeapps_text, -1, NULL);
}

int host_wait(int (*done)(void* data), void* data, int timeout_ms) {
    const gint64 deadline = g_get_monotonic_time() + (gint64)timeout_ms * 1000;
    while (!done(data) && g_get_monotonic_time() < deadline) {
        while (g_main_context_iteration(NULL, FALSE)) {
        }
        g_usleep(10000);
    }
    return done(data);
}

static int capture_exists(void* path) {
    return g_file_test(path, G_FILE_TEST_EXISTS);
}

char* host_next_url(int timeout_ms) {
    g_autofree char* capture = capture_path();
    if (!host_wait(capture_exists, capture, timeout_ms))
        return NULL;
    char* url = NULL;
    g_file_get_contents(capture, &url, NULL, NULL);
    g_unlink(capture);
    return url;
}

void host_free(void* pointer) {
    g_free(pointer);
}
