// The plug-in's logic without the file manager: the target folder, the hand-off URL,
// the stored switches and the labels.
#include "MenuItems.h"
#include "MenuSwitches.h"
#include "NewFileTarget.h"
#include "NewFileUrl.h"
#include "common/AppIdentity.h"

#include <glib/gstdio.h>

typedef struct {
    const char* name;
    QuonSelectedItem items[3];
    gsize count;
    const char* target;
} TargetCase;

static void target_choice(void) {
    static const TargetCase cases[] = {
        {"one folder", {{"file:///srv/notes", TRUE}}, 1, "/srv/notes"},
        {"one file", {{"file:///srv/notes/a.md", FALSE}}, 1, "/srv/notes"},
        {"folder and file",
         {{"file:///srv/notes/sub", TRUE}, {"file:///srv/notes/a.md", FALSE}},
         2,
         "/srv/notes"},
        {"two folders", {{"file:///srv/a", TRUE}, {"file:///srv/b", TRUE}}, 2, "/srv"},
        {"items in two folders",
         {{"file:///srv/a/x.md", FALSE}, {"file:///srv/b/y.md", FALSE}},
         2,
         NULL},
        {"root", {{"file:///", TRUE}}, 1, "/"},
        {"escaped name", {{"file:///srv/a%20b%23c", TRUE}}, 1, "/srv/a b#c"},
        {"remote folder", {{"sftp://host/srv/notes", TRUE}}, 1, NULL},
        {"trash", {{"trash:///a.md", FALSE}}, 1, NULL},
        {"nothing", {{NULL, FALSE}}, 0, NULL},
    };
    for (gsize i = 0; i < G_N_ELEMENTS(cases); ++i) {
        g_test_message("%s", cases[i].name);
        g_autofree char* target =
            quon_new_file_target_for_selection(cases[i].items, cases[i].count);
        g_assert_cmpstr(target, ==, cases[i].target);
    }
    g_autofree char* shown = quon_new_file_target_for_folder("file:///srv/notes/");
    g_assert_cmpstr(shown, ==, "/srv/notes");
    g_autofree char* remote = quon_new_file_target_for_folder("smb://host/share");
    g_assert_null(remote);
}

// The URLs themselves are the module test's and, parsed back by quon, the hand-off test's.
static void hand_off_url(void) {
    g_autofree char* relative = quon_new_file_url("relative/dir", TRUE);
    g_assert_null(relative);
    g_autofree char* none = quon_new_file_url(NULL, TRUE);
    g_assert_null(none);
}

// A path in a folder of its own that does not exist yet, holding contents if any.
static char* scratch_file(const char* contents) {
    static int count;
    g_autofree char* folder = g_strdup_printf("%s/switches-%d", g_get_user_cache_dir(), ++count);
    char* path = g_build_filename(folder, "sub", "switches.conf", NULL);
    if (contents != NULL) {
        g_autofree char* parent = g_path_get_dirname(path);
        g_assert_cmpint(g_mkdir_with_parents(parent, 0700), ==, 0);
        g_assert_true(g_file_set_contents(path, contents, -1, NULL));
    }
    return path;
}

#define STORED(file, markdown)                                                                     \
    "[" QUON_EXTENSION_CONFIG_GROUP "]\n" QUON_FINDER_MENU_SHOW_NEW_FILE_KEY "=" file              \
    "\n" QUON_FINDER_MENU_SHOW_NEW_MARKDOWN_FILE_KEY "=" markdown "\n"

static void stored_switches(void) {
    static const struct {
        const char* name;
        const char* contents;
        gboolean file;
        gboolean markdown;
    } cases[] = {
        {"no file", NULL, TRUE, TRUE},
        {"empty", "", TRUE, TRUE},
        {"both off", STORED("false", "false"), FALSE, FALSE},
        {"one off", STORED("true", "false"), TRUE, FALSE},
        {"not Booleans", STORED("no", "off"), TRUE, TRUE},
        {"other group", "[Other]\n" QUON_FINDER_MENU_SHOW_NEW_FILE_KEY "=false\n", TRUE, TRUE},
        {"not a key file", "\x01\x02 garbage\n", TRUE, TRUE},
    };
    for (gsize i = 0; i < G_N_ELEMENTS(cases); ++i) {
        g_test_message("%s", cases[i].name);
        g_autofree char* path = scratch_file(cases[i].contents);
        GKeyFile* switches = quon_menu_switches_load(path);
        g_assert_cmpint(quon_menu_switches_show(switches, QUON_MENU_NEW_FILE), ==, cases[i].file);
        g_assert_cmpint(quon_menu_switches_show(switches, QUON_MENU_NEW_MARKDOWN_FILE), ==,
                        cases[i].markdown);
        g_key_file_free(switches);
    }
    g_autofree char* path = quon_menu_switches_path();
    g_autofree char* want =
        g_build_filename(g_get_user_config_dir(), "quon", "file-manager-extension.conf", NULL);
    g_assert_cmpstr(path, ==, want);
}

static GVariant* broadcast(const char* text) {
    return text != NULL ? g_variant_ref_sink(g_variant_new_parsed(text)) : NULL;
}

// Each broadcast is applied over stored switches "New File" on and "Markdown" off.
static void received_switches(void) {
    static const struct {
        const char* name;
        const char* parameters;
        gboolean stored;
        gboolean file;
        gboolean markdown;
    } cases[] = {
        {"both", "({'finderMenuShowNewFile': <false>, 'finderMenuShowNewMarkdownFile': <true>},)",
         TRUE, FALSE, TRUE},
        {"only New File", "({'finderMenuShowNewFile': <false>},)", TRUE, FALSE, FALSE},
        {"texts",
         "({'finderMenuShowNewFile': <'false'>, 'finderMenuShowNewMarkdownFile': "
         "<'true'>},)",
         FALSE, TRUE, FALSE},
        {"numbers", "({'finderMenuShowNewFile': <0>},)", FALSE, TRUE, FALSE},
        {"other keys", "({'somethingElse': <false>},)", FALSE, TRUE, FALSE},
        {"empty", "(@a{sv} {},)", FALSE, TRUE, FALSE},
        {"no payload", NULL, FALSE, TRUE, FALSE},
        {"not a dictionary", "('finderMenuShowNewFile',)", FALSE, TRUE, FALSE},
        {"bare dictionary", "{'finderMenuShowNewFile': <false>}", FALSE, TRUE, FALSE},
    };
    for (gsize i = 0; i < G_N_ELEMENTS(cases); ++i) {
        g_test_message("%s", cases[i].name);
        g_autofree char* path = scratch_file(STORED("true", "false"));
        GKeyFile* switches = quon_menu_switches_load(path);
        g_autoptr(GVariant) parameters = broadcast(cases[i].parameters);
        g_assert_cmpint(quon_menu_switches_apply(switches, parameters), ==, cases[i].stored);
        g_assert_true(quon_menu_switches_save(switches, path, NULL));
        g_key_file_free(switches);

        // What the next start of the file manager reads.
        switches = quon_menu_switches_load(path);
        g_assert_cmpint(quon_menu_switches_show(switches, QUON_MENU_NEW_FILE), ==, cases[i].file);
        g_assert_cmpint(quon_menu_switches_show(switches, QUON_MENU_NEW_MARKDOWN_FILE), ==,
                        cases[i].markdown);
        g_assert_false(
            g_key_file_has_key(switches, QUON_EXTENSION_CONFIG_GROUP, "somethingElse", NULL));
        g_key_file_free(switches);
    }
}

static void labels(void) {
    static const struct {
        const char* languages;
        const char* new_file;
        const char* new_markdown_file;
    } cases[] = {
        {"C", "New File Here", "New Markdown File Here"},
        {"", "New File Here", "New Markdown File Here"},
        {"en_GB.UTF-8 en_GB en C", "New File Here", "New Markdown File Here"},
        {"pl_PL.UTF-8 pl_PL pl.UTF-8 pl C", "Nowy plik tutaj", "Nowy plik Markdown tutaj"},
        {"es_ES@euro es C", "Nuevo archivo aquí", "Nuevo archivo Markdown aquí"},
        {"de_DE de pl C", "Nowy plik tutaj", "Nowy plik Markdown tutaj"},
        {"plx C", "New File Here", "New Markdown File Here"},
    };
    for (gsize i = 0; i < G_N_ELEMENTS(cases); ++i) {
        g_auto(GStrv) languages = g_strsplit(cases[i].languages, " ", -1);
        g_assert_cmpstr(quon_menu_item_label(QUON_MENU_NEW_FILE, (const char* const*)languages), ==,
                        cases[i].new_file);
        g_assert_cmpstr(
            quon_menu_item_label(QUON_MENU_NEW_MARKDOWN_FILE, (const char* const*)languages), ==,
            cases[i].new_markdown_file);
    }
}

int main(int argc, char** argv) {
    g_test_init(&argc, &argv, NULL);
    g_test_add_func("/menulogic/target-choice", target_choice);
    g_test_add_func("/menulogic/hand-off-url", hand_off_url);
    g_test_add_func("/menulogic/stored-switches", stored_switches);
    g_test_add_func("/menulogic/received-switches", received_switches);
    g_test_add_func("/menulogic/labels", labels);
    return g_test_run();
}
