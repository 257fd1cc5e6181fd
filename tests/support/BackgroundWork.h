#pragma once

namespace TestSupport {

// True once the work quon hands to threads of its own is over: no
// code-colouring job is left and no parse runs. Handles what is due first,
// which drops the colouring jobs of views that are gone.
bool backgroundWorkIsOver();

} // namespace TestSupport
