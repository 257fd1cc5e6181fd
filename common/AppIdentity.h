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
