#pragma once

class QWidget;

// Bringing a window to the user.
namespace WindowFront {

// Shows the window, back from minimized in the state it had (maximized
// stays maximized), raises and activates it, with a question open over it
// on top.
void bring(QWidget* window);

} // namespace WindowFront
