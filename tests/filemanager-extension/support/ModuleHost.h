#pragma once

// Loads the plug-in the way the file manager does and asks its menu provider for items
// over stand-in files. Plain C without GLib types, so Qt tests can use it too.

#ifdef __cplusplus
extern "C" {
#endif

// A selected item: an absolute path or a URI, and whether it is a folder.
typedef struct {
    const char* location;
    int is_directory;
} HostItem;

typedef struct HostMenu HostMenu;

// Loads the module at path once per process (a GTypeModule, nautilus_module_initialize,
// nautilus_module_list_types) and makes its menu provider. 0 on failure, with a message.
int host_load_module(const char* path);

// The items of the menu for a selection, or for the background of the folder shown.
HostMenu* host_selection_menu(const HostItem* items, int count);
HostMenu* host_background_menu(const char* folder);
int host_menu_count(const HostMenu* menu);
// The item's label or icon name; free with host_free.
char* host_menu_label(const HostMenu* menu, int index);
char* host_menu_icon(const HostMenu* menu, int index);
// The menu's stand-in file number file_index is moved to location.
void host_menu_move_file(HostMenu* menu, int file_index, const char* location);
void host_menu_activate(HostMenu* menu, int index);
void host_menu_free(HostMenu* menu);

// Makes a stand-in handler of quon:// URLs the default one in the private XDG folders:
// it writes each URL it is started with to a file. 0 on failure.
int host_install_url_handler(void);
// The next URL the handler was started with, or NULL after timeout_ms. Free with host_free.
char* host_next_url(int timeout_ms);
// Runs the main loop until done(data) holds or timeout_ms pass; returns done(data).
int host_wait(int (*done)(void* data), void* data, int timeout_ms);

void host_free(void* pointer);

#ifdef __cplusplus
}
#endif
