#include "MenuProvider.h"

#include "MenuItems.h"
#include "MenuSwitches.h"
#include "NewFileTarget.h"
#include "NewFileUrl.h"
#include "common/AppIdentity.h"

#include <nautilus-extension.h>

typedef struct {
    GObject parent_instance;
    GKeyFile* switches;
    char* switches_path;
    GDBusConnection* bus;
    guint subscription;
} QuonMenuProvider;

typedef GObjectClass QuonMenuProviderClass;

static void quon_menu_provider_iface_init(NautilusMenuProviderInterface* iface);

G_DEFINE_DYNAMIC_TYPE_EXTENDED(QuonMenuProvider, quon_menu_provider, G_TYPE_OBJECT, 0,
                               G_IMPLEMENT_INTERFACE_DYNAMIC(NAUTILUS_TYPE_MENU_PROVIDER,
                                                             quon_menu_provider_iface_init))

// What an item keeps to find its folder again when it is chosen.
#define ITEM_FILES "quon-files"
#define ITEM_BACKGROUND "quon-background"

static char* target_of(GList* files, gboolean background) {
    if (background) {
        NautilusFileInfo* folder = files->data;
        if (nautilus_file_info_is_gone(folder))
            return NULL;
        g_autofree char* uri = nautilus_file_info_get_uri(folder);
        return quon_new_file_target_for_folder(uri);
    }
    g_autoptr(GPtrArray) uris = g_ptr_array_new_with_free_func(g_free);
    g_autoptr(GArray) items = g_array_new(FALSE, TRUE, sizeof(QuonSelectedItem));
    for (GList* link = files; link != NULL; link = link->next) {
        NautilusFileInfo* file = link->data;
        char* uri = nautilus_file_info_get_uri(file);
        g_ptr_array_add(uris, uri);
        const QuonSelectedItem item = {uri, !nautilus_file_info_is_gone(file) &&
                                                nautilus_file_info_is_directory(file)};
        g_array_append_val(items, item);
    }
    return quon_new_file_target_for_selection((const QuonSelectedItem*)items->data, items->len);
}

static void on_item_activated(NautilusMenuItem* menu_item, gpointer markdown) {
    GList* files = g_object_get_data(G_OBJECT(menu_item), ITEM_FILES);
    const gboolean background =
        GPOINTER_TO_INT(g_object_get_data(G_OBJECT(menu_item), ITEM_BACKGROUND));
    // The folder may have been renamed or removed since the menu was built.
    g_autofree char* dir = target_of(files, background);
    g_autofree char* url = quon_new_file_url(dir, GPOINTER_TO_INT(markdown));
    if (url == NULL)
        return;
    // quon owns the rest, including every message; a failed hand-off is dropped.
    g_app_info_launch_default_for_uri(url, NULL, NULL);
}

static GList* menu_items(QuonMenuProvider* self, GList* files, gboolean background) {
    g_autofree char* dir = files != NULL ? target_of(files, background) : NULL;
    if (dir == NULL)
        return NULL;
    GList* menu = NULL;
    for (int i = 0; i < QUON_MENU_ITEM_COUNT; ++i) {
        const QuonMenuItem item = (QuonMenuItem)i;
        if (!quon_menu_switches_show(self->switches, item))
            continue;
        g_autofree char* name =
            g_strdup_printf("QuonMenuProvider::%s::%d", background ? "background" : "selection", i);
        const char* label = quon_menu_item_label(item, g_get_language_names());
        NautilusMenuItem* menu_item =
            nautilus_menu_item_new(name, label, NULL, quon_menu_item_icon(item));
        g_object_set_data_full(G_OBJECT(menu_item), ITEM_FILES, nautilus_file_info_list_copy(files),
                               (GDestroyNotify)nautilus_file_info_list_free);
        g_object_set_data(G_OBJECT(menu_item), ITEM_BACKGROUND, GINT_TO_POINTER(background));
        g_signal_connect(menu_item, "activate", G_CALLBACK(on_item_activated),
                         GINT_TO_POINTER(item == QUON_MENU_NEW_MARKDOWN_FILE));
        menu = g_list_append(menu, menu_item);
    }
    return menu;
}

static GList* get_file_items(NautilusMenuProvider* provider, GList* files) {
    return menu_items((QuonMenuProvider*)provider, files, FALSE);
}

static GList* get_background_items(NautilusMenuProvider* provider,
                                   NautilusFileInfo* current_folder) {
    GList folder = {current_folder, NULL, NULL};
    return menu_items((QuonMenuProvider*)provider, current_folder != NULL ? &folder : NULL, TRUE);
}

static void on_broadcast(GDBusConnection* bus, const char* sender, const char* path,
                         const char* interface, const char* signal, GVariant* parameters,
                         gpointer user_data) {
    (void)bus, (void)sender, (void)path, (void)interface, (void)signal;
    QuonMenuProvider* self = user_data;
    // Kept in memory too, so the menus follow the switches even when the file cannot
    // be written.
    if (quon_menu_switches_apply(self->switches, parameters))
        quon_menu_switches_save(self->switches, self->switches_path, NULL);
}

static void quon_menu_provider_init(QuonMenuProvider* self) {
    self->switches_path = quon_menu_switches_path();
    self->switches = quon_menu_switches_load(self->switches_path);
    // The file manager holds the session bus already, so this returns its connection at
    // once. Without a bus the stored switches stand.
    self->bus = g_bus_get_sync(G_BUS_TYPE_SESSION, NULL, NULL);
    if (self->bus != NULL)
        self->subscription = g_dbus_connection_signal_subscribe(
            self->bus, NULL, QUON_DBUS_INTERFACE, QUON_FINDER_MENU_SIGNAL, QUON_DBUS_PATH, NULL,
            G_DBUS_SIGNAL_FLAGS_NONE, on_broadcast, self, NULL);
}

static void quon_menu_provider_finalize(GObject* object) {
    QuonMenuProvider* self = (QuonMenuProvider*)object;
    if (self->subscription != 0)
        g_dbus_connection_signal_unsubscribe(self->bus, self->subscription);
    g_clear_object(&self->bus);
    g_key_file_free(self->switches);
    g_free(self->switches_path);
    G_OBJECT_CLASS(quon_menu_provider_parent_class)->finalize(object);
}

static void quon_menu_provider_class_init(QuonMenuProviderClass* klass) {
    klass->finalize = quon_menu_provider_finalize;
}

static void quon_menu_provider_class_finalize(QuonMenuProviderClass* klass) {
    (void)klass;
}

static void quon_menu_provider_iface_init(NautilusMenuProviderInterface* iface) {
    iface->get_file_items = get_file_items;
    iface->get_background_items = get_background_items;
}

void quon_menu_provider_register(GTypeModule* module) {
    quon_menu_provider_register_type(module);
}
