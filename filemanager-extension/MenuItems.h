#pragma once

#include <glib.h>

G_BEGIN_DECLS

// The plug-in's menu items, in menu order.
typedef enum {
    QUON_MENU_NEW_FILE,
    QUON_MENU_NEW_MARKDOWN_FILE,
} QuonMenuItem;

#define QUON_MENU_ITEM_COUNT 2

// The label in the first of language_names (as g_get_language_names() gives them) that
// the plug-in speaks; English when it speaks none of them.
const char* quon_menu_item_label(QuonMenuItem item, const char* const* language_names);
// An icon-theme name.
const char* quon_menu_item_icon(QuonMenuItem item);
// The switch that shows the item, the same key in quon's preferences and the broadcast.
const char* quon_menu_item_switch_key(QuonMenuItem item);

G_END_DECLS
