#pragma once

// Process start: application object, language, appearance, first windows.
namespace Startup {
int run(int argc, char** argv);
} // namespace Startup
