#pragma once
// The framework's main header: start-up and shut-down, plus the shared value types.

#include "lumo/convert.hpp"
#include "lumo/types.hpp"
#include "math/random.hpp"

namespace lumo {

/// Subsystems to start; the values of SDL's initialisation flags.
enum SubSystem { ssNone = 0, ssVideo = 32, ssJoystick = 512 };

/// Names the framework's log groups, installs the crash handler (lumo/parachute.hpp) when
/// `debug` is set, logs the version and starts the given SDL subsystems (a combination of
/// SubSystem flags; none for ssNone). Throws SDL's error text when SDL cannot start.
void init(int systems, bool debug);
/// Shows the mouse cursor and deletes pending background tasks.
void cleanUp();
/// Cleans up (only the first time; a later call logs "Quit called again."), shuts SDL down and
/// ends the process with `status`: 0 for a normal end, non-zero after a failed start-up, 128 +
/// the signal number after a crash. Never returns.
[[noreturn]] void quit(int status = 0);

/// Set by the first quit().
extern bool quitting;

}  // namespace lumo
