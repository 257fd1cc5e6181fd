#pragma once

#include <glib-object.h>

G_BEGIN_DECLS

// The plug-in's menu provider: "New File Here" and "New Markdown File Here" in the
// selection and background menus, each while its switch is on.
void quon_menu_provider_register(GTypeModule* module);
GType quon_menu_provider_get_type(void);

G_END_DECLS
