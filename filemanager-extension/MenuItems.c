#include "MenuItems.h"

#include "common/AppIdentity.h"

#include <string.h>

typedef struct {
    const char* language;
    const char* labels[QUON_MENU_ITEM_COUNT];
} Translation;

// English first: the fallback.
static const Translation translations[] = {
    {"en", {"New File Here", "New Markdown File Here"}},
    {"pl", {"Nowy plik tutaj", "Nowy plik Markdown tutaj"}},
    {"es", {"Nuevo archivo aquí", "Nuevo archivo Markdown aquí"}},
};

static const Translation* translation_for(const char* const* language_names) {
    for (; language_names != NULL && *language_names != NULL; ++language_names) {
        // "pl_PL.UTF-8@euro" speaks "pl".
        const char* name = *language_names;
        const size_t length = strcspn(name, "_.@");
        for (gsize i = 0; i < G_N_ELEMENTS(translations); ++i) {
            if (strlen(translations[i].language) == length &&
                strncmp(translations[i].language, name, length) == 0)
                return &translations[i];
        }
    }
    return &translations[0];
}

const char* quon_menu_item_label(QuonMenuItem item, const char* const* language_names) {
    return translation_for(language_names)->labels[item];
}

const char* quon_menu_item_icon(QuonMenuItem item) {
    return item == QUON_MENU_NEW_FILE ? "document-new-symbolic" : "text-x-generic-symbolic";
}

const char* quon_menu_item_switch_key(QuonMenuItem item) {
    return item == QUON_MENU_NEW_FILE ? QUON_FINDER_MENU_SHOW_NEW_FILE_KEY
                                      : QUON_FINDER_MENU_SHOW_NEW_MARKDOWN_FILE_KEY;
}
