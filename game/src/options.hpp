#pragma once
// The program's command-line options. Without any, the game starts as it always has: windowed,
// at the framework's default frame rate.

#include <ostream>
#include <string>
#include <vector>

namespace pimwarden {

struct Options {
    enum Action { aRun, aHelp, aVersion, aUsageError };

    Action action = aRun;
    bool fullscreen = false;
    /// The frame-rate limit to set (lumo::frameRateLimit), or -1 to keep the framework's.
    int fps = -1;
    /// What was wrong, for aUsageError.
    std::string error;
};

/// Reads the arguments after the program name: --help, --version, --fullscreen, --windowed (the
/// later of those two wins), --fps N or --fps=N with N from 0 (unlimited) to 1000. --help and
/// --version win over everything after them; anything unknown or malformed gives aUsageError.
Options parseOptions(const std::vector<std::string>& args);

/// For every action but aRun: prints what it asks for (the help or the version to `out`; the
/// error and the usage line to `err`) and returns the exit status, 0, or 2 for a usage error.
/// Returns -1 for aRun.
int reportOptions(const Options& options, std::ostream& out, std::ostream& err);

/// Applies the options to the started game (its window is open): the frame-rate limit, and
/// full-screen mode, which when refused is logged as a warning while the game goes on windowed.
void applyOptions(const Options& options);

}  // namespace pimwarden
