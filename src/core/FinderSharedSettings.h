#pragma once

// The two switches of the file-manager plug-in's menu, and how quon tells the
// plug-in about them: one D-Bus signal on the session bus (path
// QUON_DBUS_PATH, interface QUON_DBUS_INTERFACE, member
// QUON_FINDER_MENU_SIGNAL) carrying both values as one a{sv}.
namespace FinderSharedSettings {

// True unless a real Boolean false is stored.
bool showNewFile();
bool showNewMarkdownFile();

// Sends both current values. Without a session bus nothing is sent and
// nothing fails. After launch and after either switch changes.
void broadcastFromApp();

} // namespace FinderSharedSettings
