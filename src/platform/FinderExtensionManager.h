#pragma once

#include <QString>
#include <functional>

class QWidget;

// quon's side of the Files (Nautilus) plug-in: the quon:// handler it hands
// requests to, and the module in Nautilus's extension folder.
namespace FinderExtensionManager {

struct Locations {
    QString extensionDirectory; // where Nautilus loads extension modules from
    QString moduleSource;       // the module quon installs from
};

// Nautilus's folder, and quon's own copy of the module beside the running
// executable's install (the build tree's when quon runs from its build folder).
Locations locations();
// The same for an executable in the given folder: "PREFIX/bin" keeps the
// module in "PREFIX/lib/quon".
Locations locationsFor(const QString& executableFolder);
// Tests point both elsewhere; an empty Locations restores the defaults.
void setLocations(const Locations& locations);

// Makes quon the handler of quon:// URLs when nothing handles them yet;
// asks the desktop only when what its answer rests on changed since the
// answer was last settled.
void registerIfNeeded();
// The same, asking in any case.
void registerHandler();
// The module is present in Nautilus's extension folder.
bool isEnabled();
// Nautilus itself is on this system (its program is on the PATH).
bool isFileManagerInstalled();
// Copies the module there with administrator rights (pkexec). `done` gets
// isEnabled() once the attempt is over; it is called from the event loop.
void enable(std::function<void(bool enabled)> done = {});
// Quits Nautilus, which comes back with the module loaded; not awaited.
void restartFinder();
// There is no settings pane for file-manager extensions: shows the command
// that installs the module by hand, ready to copy, in the caller's words
// (translated above this layer).
struct InstallCommandTexts {
    QString title;
    QString explanation;
    QString ok;
};
void openSystemSettings(const InstallCommandTexts& texts, QWidget* parent = nullptr);
QString manualInstallCommand();

} // namespace FinderExtensionManager
