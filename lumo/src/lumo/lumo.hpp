#pragma once
// The framework's main header: start-up and shut-down, plus the shared value types.

#include "lumo/convert.hpp"
#include "lumo/types.hpp"
#include "math/random.hpp"

namespace lumo {

/// Subsystems to start; the values of SDL's initialisation flags.
enum SubSystem { ssNone = 0, ssVideo = 32, ssJoystick = 512 };

/// Names the framework's log groups, installs the crash handler when `debug` is set, and starts
/// the given SDL subsystems. Throws SDL's error text when SDL cannot start.
void init(int systems, bool debug);
/// Shows the cursor and frees pending background tasks.
void cleanUp();
/// Cleans up (only the first time), shuts SDL down and ends the process with `status`
/// (0 for a normal end). Never returns.
[[noreturn]] void quit(int status = 0);

/// Set by the first quit().
extern bool quitting;

}  // namespace lumo
