#pragma once

// Names shared by the application and the file-manager plug-in. Plain C so the
// plug-in, which links no Qt, compiles it too.
#define QUON_APP_ID "app.quon.Quon"
#define QUON_DBUS_PATH "/app/quon/Quon"
#define QUON_DBUS_INTERFACE "app.quon.Quon"
#define QUON_FINDER_MENU_SIGNAL "finderMenuSettings"
#define QUON_FINDER_MENU_NOTIFICATION QUON_APP_ID ".finderMenuSettings"
#define QUON_URL_SCHEME "quon"
#define QUON_NEW_FILE_HOST "new-file"
#define QUON_CONFIG_DIR "quon"

// The two switches of the file-manager menu, under the same keys in quon's
// preferences and in the plug-in's own key file.
#define QUON_FINDER_MENU_SHOW_NEW_FILE_KEY "finderMenuShowNewFile"
#define QUON_FINDER_MENU_SHOW_NEW_MARKDOWN_FILE_KEY "finderMenuShowNewMarkdownFile"
// The plug-in's key file under $XDG_CONFIG_HOME/QUON_CONFIG_DIR, and its group.
#define QUON_EXTENSION_CONFIG_FILE "file-manager-extension.conf"
#define QUON_EXTENSION_CONFIG_GROUP "FileManagerMenu"
// The Nautilus extension module as built and as installed in Nautilus's
// extension directory.
#define QUON_NAUTILUS_MODULE_FILE "libquon-nautilus.so"
