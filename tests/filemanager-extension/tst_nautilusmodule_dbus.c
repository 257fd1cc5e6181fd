// The built plug-in loaded as the file manager loads it, asked for menus over stand-in
// files, its items chosen, and quon's broadcast sent on the session bus.
#include "ModuleHost.h"
#include "common/AppIdentity.h"

#include <gio/gio.h>

#define TIMEOUT_MS 10000

typedef struct {
    const char* name;
    HostItem files[2];
    int count; // 0: the background menu of files[0]
    const char* dir;
} MenuCase;

static void expect_items(HostMenu* menu, const char* const* labels) {
    const int count = (int)g_strv_length((char**)labels);
    g_assert_cmpint(host_menu_count(menu), ==, count);
    for (int i = 0; i < count; ++i) {
        g_autofree char* label = host_menu_label(menu, i);
        g_assert_cmpstr(label, ==, labels[i]);
    }
}

static const char* const both_items[] = {"New File Here", "New Markdown File Here", NULL};
static const char* const no_items[] = {NULL};

static HostMenu* menu_for(const MenuCase* c) {
    return c->count == 0 ? host_background_menu(c->files[0].location)
                         : host_selection_menu(c->files, c->count);
}

static void menus_and_hand_off(void) {
    // Which folder a selection means is the logic test's; here each way in.
    static const MenuCase cases[] = {
        {"one file", {{"/srv/notes/a.md", 0}}, 1, "/srv/notes"},
        {"two folders", {{"/srv/notes/a", 1}, {"/srv/notes/b", 1}}, 2, "/srv/notes"},
        {"background", {{"/srv/notes", 1}}, 0, "/srv/notes"},
        {"files in two folders", {{"/srv/a/x.md", 0}, {"/srv/b/y.md", 0}}, 2, NULL},
    };
    for (gsize i = 0; i < G_N_ELEMENTS(cases); ++i) {
        g_test_message("%s", cases[i].name);
        HostMenu* menu = menu_for(&cases[i]);
        if (cases[i].dir == NULL) {
            expect_items(menu, no_items);
            host_menu_free(menu);
            continue;
        }
        expect_items(menu, both_items);
        g_autofree char* plain_icon = host_menu_icon(menu, 0);
        g_autofree char* markdown_icon = host_menu_icon(menu, 1);
        g_assert_cmpstr(plain_icon, ==, "document-new-symbolic");
        g_assert_cmpstr(markdown_icon, ==, "text-x-generic-symbolic");
        for (int item = 0; item < 2; ++item) {
            host_menu_activate(menu, item);
            g_autofree char* url = host_next_url(TIMEOUT_MS);
            g_autofree char* want =
                g_strdup_printf("quon://new-file?dir=%s&md=%d", cases[i].dir, item);
            g_assert_cmpstr(url, ==, want);
        }
        host_menu_free(menu);
    }
}

// The folder is looked up again when the item is chosen, not when the menu was built.
static void target_recomputed_on_activation(void) {
    const HostItem folder = {"/srv/notes", 1};
    HostMenu* menu = host_selection_menu(&folder, 1);
    host_menu_move_file(menu, 0, "/srv/renamed");
    host_menu_activate(menu, 1);
    g_autofree char* url = host_next_url(TIMEOUT_MS);
    g_assert_cmpstr(url, ==, "quon://new-file?dir=/srv/renamed&md=1");

    // Moved somewhere quon cannot create files: nothing is handed off.
    host_menu_move_file(menu, 0, "sftp://host/srv/notes");
    host_menu_activate(menu, 0);
    g_autofree char* none = host_next_url(500);
    g_assert_null(none);
    host_menu_free(menu);
}

static void labels_follow_the_language(void) {
    g_setenv("LANGUAGE", "pl_PL:pl", TRUE);
    HostMenu* menu = host_background_menu("/srv/notes");
    const char* const polish[] = {"Nowy plik tutaj", "Nowy plik Markdown tutaj", NULL};
    expect_items(menu, polish);
    host_menu_free(menu);
    g_unsetenv("LANGUAGE");
}

typedef struct {
    GDBusConnection* quon;
    gboolean show_new_file;
    int expected_items;
} Broadcast;

// quon, on a connection of its own, sends until the menu shows the expected items: the
// plug-in's match rule may reach the bus after the first signal.
static int menu_follows(void* data) {
    Broadcast* broadcast = data;
    GVariantBuilder values;
    g_variant_builder_init(&values, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&values, "{sv}", QUON_FINDER_MENU_SHOW_NEW_FILE_KEY,
                          g_variant_new_boolean(broadcast->show_new_file));
    g_variant_builder_add(&values, "{sv}", QUON_FINDER_MENU_SHOW_NEW_MARKDOWN_FILE_KEY,
                          g_variant_new_boolean(TRUE));
    g_dbus_connection_emit_signal(broadcast->quon, NULL, QUON_DBUS_PATH, QUON_DBUS_INTERFACE,
                                  QUON_FINDER_MENU_SIGNAL, g_variant_new("(a{sv})", &values), NULL);
    g_dbus_connection_flush_sync(broadcast->quon, NULL, NULL);
    g_usleep(50000);
    while (g_main_context_iteration(NULL, FALSE)) {
    }
    HostMenu* menu = host_background_menu("/srv/notes");
    const int count = host_menu_count(menu);
    host_menu_free(menu);
    return count == broadcast->expected_items;
}

static void broadcast_switches_items(void) {
    g_autoptr(GError) error = NULL;
    g_autofree char* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, NULL, &error);
    g_assert_no_error(error);
    Broadcast broadcast = {NULL, FALSE, 1};
    broadcast.quon =
        g_dbus_connection_new_for_address_sync(address,
                                               G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                   G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION,
                                               NULL, NULL, &error);
    g_assert_no_error(error);

    g_assert_true(host_wait(menu_follows, &broadcast, TIMEOUT_MS));
    HostMenu* menu = host_selection_menu(&(HostItem){"/srv/notes/a.md", 0}, 1);
    const char* const markdown_only[] = {"New Markdown File Here", NULL};
    expect_items(menu, markdown_only);
    host_menu_activate(menu, 0);
    g_autofree char* url = host_next_url(TIMEOUT_MS);
    g_assert_cmpstr(url, ==, "quon://new-file?dir=/srv/notes&md=1");
    host_menu_free(menu);

    // Stored for the next start of the file manager.
    g_autofree char* path = g_build_filename(g_get_user_config_dir(), QUON_CONFIG_DIR,
                                             QUON_EXTENSION_CONFIG_FILE, NULL);
    g_autoptr(GKeyFile) stored = g_key_file_new();
    g_assert_true(g_key_file_load_from_file(stored, path, G_KEY_FILE_NONE, NULL));
    g_assert_false(g_key_file_get_boolean(stored, QUON_EXTENSION_CONFIG_GROUP,
                                          QUON_FINDER_MENU_SHOW_NEW_FILE_KEY, NULL));

    broadcast.show_new_file = TRUE;
    broadcast.expected_items = 2;
    g_assert_true(host_wait(menu_follows, &broadcast, TIMEOUT_MS));
    g_object_unref(broadcast.quon);
}

int main(int argc, char** argv) {
    g_test_init(&argc, &argv, NULL);
    if (!host_install_url_handler() || !host_load_module(QUON_NAUTILUS_MODULE))
        return 1;
    g_test_add_func("/nautilusmodule/menus-and-hand-off", menus_and_hand_off);
    g_test_add_func("/nautilusmodule/target-recomputed-on-activation",
                    target_recomputed_on_activation);
    g_test_add_func("/nautilusmodule/labels-follow-the-language", labels_follow_the_language);
    g_test_add_func("/nautilusmodule/broadcast-switches-items", broadcast_switches_items);
    return g_test_run();
}
