#pragma once
// The crash handler ("parachute"): on a fatal signal it prints the calling thread's message
// stack to standard error and ends the process through quit() with status 128 + the signal.

namespace lumo {

/// Installs handleSignal() for SIGSEGV, SIGILL, SIGFPE, SIGINT, SIGTERM and SIGABRT. The handler
/// may be re-entered by a signal raised while it runs (a fault inside the report).
void installParachute();

/// The handler. Writes its report with write(2) and pops the message stack without allocating;
/// then calls quit(128 + sig). A second entry resets the six signals to their default
/// handling, reports "Recursive call." and quits the same way. Never returns.
[[noreturn]] void handleSignal(int sig);

}  // namespace lumo
