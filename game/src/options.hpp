#pragma once
// The program's command-line options. Without any, the game starts as it always has: in the
// mode its settings give (windowed at first), at the framework's default frame rate.

#include <ostream>
#include <string>
#include <vector>

namespace pimwarden {

struct Options {
    enum Action { aRun, aHelp, aVersion, aUsageError };
    /// The window mode asked for; smSettings leaves it to the settings.
    enum ScreenMode { smSettings, smFullscreen, smWindowed };

    Action action = aRun;
    ScreenMode screen = smSettings;
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

/// Applies the options to the started game (its window is open, its settings applied): the
/// frame-rate limit and the window mode; a mode that SDL refuses is logged as a warning and the
/// game goes on in the other.
void applyOptions(const Options& options);

}  // namespace pimwarden
