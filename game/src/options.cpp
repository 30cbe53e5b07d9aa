#include "options.hpp"

#include <cerrno>
#include <cstdlib>

#include "buildinfo/build_info.hpp"
#include "debug/log.hpp"
#include "framework/frame_pacer.hpp"
#include "lumo/video.hpp"
#include "pimwarden.hpp"

namespace pimwarden {

namespace {

const char* const USAGE =
    "usage: pimwarden [--fullscreen | --windowed] [--fps N] [--help] [--version]";

const int MAX_FPS = 1000;

/// `text` as a whole decimal number from 0 to MAX_FPS, or -1.
int parseFps(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return errno == 0 && value <= MAX_FPS ? static_cast<int>(value) : -1;
}

Options usageError(const std::string& error) {
    Options options;
    options.action = Options::aUsageError;
    options.error = error;
    return options;
}

}  // namespace

Options parseOptions(const std::vector<std::string>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help") {
            options.action = Options::aHelp;
            return options;
        }
        if (arg == "--version") {
            options.action = Options::aVersion;
            return options;
        }
        if (arg == "--fullscreen" || arg == "--windowed") {
            options.screen = arg == "--fullscreen" ? Options::smFullscreen : Options::smWindowed;
        } else if (arg == "--fps" || arg.compare(0, 6, "--fps=") == 0) {
            std::string value;
            if (arg == "--fps") {
                if (i + 1 == args.size())
                    return usageError("option --fps needs a number");
                value = args[++i];
            } else {
                value = arg.substr(6);
            }
            options.fps = parseFps(value);
            if (options.fps < 0)
                return usageError("--fps wants a whole number from 0 to " +
                                  std::to_string(MAX_FPS) + ", not '" + value + "'");
        } else {
            return usageError("unknown option '" + arg + "'");
        }
    }
    return options;
}

int reportOptions(const Options& options, std::ostream& out, std::ostream& err) {
    switch (options.action) {
        case Options::aRun:
            return -1;
        case Options::aHelp:
            out << USAGE << "\n\n"
                << "Pim Warden: drop stones on the foes that climb the wall.\n\n"
                << "  --fullscreen  start in full-screen mode\n"
                << "  --windowed    start in an 800x600 window (without either: as last time)\n"
                << "  --fps N       frames per second when the display does not pace the game\n"
                << "                (default 60; 0 = as fast as possible)\n"
                << "  --help        print this help and exit\n"
                << "  --version     print the version and exit\n\n"
                << "Keys: Space or Return starts, Left/Right or A/D walk, Space or Down drops\n"
                << "the stone, P pauses, O opens the options, F switches full screen, Escape\n"
                << "leaves. High scores and settings are kept in ~/.pimwarden/.\n";
            return 0;
        case Options::aVersion:
            out << "Pim Warden " << lumo::getVersion() << " (lumo " << lumo::getVersion()
                << ", built " << lumo::getBuildDate() << ", " << lumo::getBuildTime() << ")\n";
            return 0;
        case Options::aUsageError:
            err << "pimwarden: " << options.error << "\n" << USAGE << "\n";
            return 2;
    }
    return 2;
}

void applyOptions(const Options& options) {
    if (options.fps >= 0)
        lumo::frameRateLimit = options.fps;
    if (options.screen == Options::smSettings)
        return;
    try {
        lumo::setFullscreen(options.screen == Options::smFullscreen);
    } catch (const std::string& message) {
        lumo::debug::warning(dbgCore, "%s", message.c_str());
    }
}

}  // namespace pimwarden
