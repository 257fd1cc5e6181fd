#pragma once

#include "MenuItems.h"

#include <gio/gio.h>

G_BEGIN_DECLS

// The plug-in's own copy of quon's two menu switches, kept in a key file.

// $XDG_CONFIG_HOME/quon/file-manager-extension.conf. Free with g_free.
char* quon_menu_switches_path(void);
// The switches stored at path; a missing or unreadable file holds none.
GKeyFile* quon_menu_switches_load(const char* path);
// On unless a Boolean off is stored.
gboolean quon_menu_switches_show(GKeyFile* switches, QuonMenuItem item);
// Takes the parameters of quon's broadcast, one a{sv}: each switch whose value there is
// a Boolean is stored; anything else changes nothing. TRUE when a switch was stored.
gboolean quon_menu_switches_apply(GKeyFile* switches, GVariant* parameters);
gboolean quon_menu_switches_save(GKeyFile* switches, const char* path, GError** error);

G_END_DECLS
