#pragma once

#include <QByteArray>
#include <QString>

// What the desktop's answer to "which program opens quon:// URLs" rests on:
// the running executable, the desktop in use, and every file and folder the
// default-application lookup reads, each by path and change stamp. A launch
// that finds the same state as the last settled answer needs not ask again.
namespace SchemeHandlerState {

// The state now. Reads only file metadata: no tool runs.
QByteArray current();
// The state kept when the answer was last settled; empty when there is none.
QByteArray remembered();
// Keeps the state in quon's cache folder; false when it cannot be written.
bool remember(const QByteArray& state);
// Where it is kept.
QString path();

} // namespace SchemeHandlerState
