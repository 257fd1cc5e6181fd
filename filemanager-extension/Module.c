// The entry points the file manager looks up when it loads the plug-in; the only
// symbols the module exports (see exports.map).
#include "MenuProvider.h"

#include <nautilus-extension.h>

static GType types[1];

void nautilus_module_initialize(GTypeModule* module) {
    quon_menu_provider_register(module);
    types[0] = quon_menu_provider_get_type();
}

void nautilus_module_shutdown(void) {}

void nautilus_module_list_types(const GType** module_types, int* count) {
    *module_types = types;
    *count = G_N_ELEMENTS(types);
}
