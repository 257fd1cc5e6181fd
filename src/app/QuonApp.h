#pragma once

// The application: one process per session, its delegate, its scenes and the
// document controller, run until quit.
namespace QuonApp {
int run(int argc, char** argv);
} // namespace QuonApp
