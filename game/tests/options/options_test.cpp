#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "buildinfo/build_info.hpp"
#include "options.hpp"

using pimwarden::Options;
using pimwarden::parseOptions;

TEST(OptionsTest, ParsesEveryOptionAndRejectsTheRest) {
    struct Case {
        std::vector<std::string> args;
        Options::Action action;
        Options::ScreenMode screen;
        int fps;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{}, Options::aRun, Options::smSettings, -1, ""},
        {{"--fullscreen"}, Options::aRun, Options::smFullscreen, -1, ""},
        {{"--fullscreen", "--windowed"}, Options::aRun, Options::smWindowed, -1, ""},
        {{"--windowed", "--fullscreen"}, Options::aRun, Options::smFullscreen, -1, ""},
        {{"--fps", "0"}, Options::aRun, Options::smSettings, 0, ""},
        {{"--fps=144", "--fullscreen"}, Options::aRun, Options::smFullscreen, 144, ""},
        {{"--fps", "30", "--fps", "1000"}, Options::aRun, Options::smSettings, 1000, ""},
        {{"--help"}, Options::aHelp, Options::smSettings, -1, ""},
        {{"--fullscreen", "--version", "--bogus"},
         Options::aVersion,
         Options::smFullscreen,
         -1,
         ""},
        {{"--bogus"}, Options::aUsageError, Options::smSettings, -1, "unknown option '--bogus'"},
        {{"-h"}, Options::aUsageError, Options::smSettings, -1, "unknown option '-h'"},
        {{"fullscreen"},
         Options::aUsageError,
         Options::smSettings,
         -1,
         "unknown option 'fullscreen'"},
        {{"--fps"}, Options::aUsageError, Options::smSettings, -1, "option --fps needs a number"},
        {{"--fps", "-1"},
         Options::aUsageError,
         Options::smSettings,
         -1,
         "--fps wants a whole number from 0 to 1000, not '-1'"},
        {{"--fps=1001"},
         Options::aUsageError,
         Options::smSettings,
         -1,
         "--fps wants a whole number from 0 to 1000, not '1001'"},
        {{"--fps", "60fps"},
         Options::aUsageError,
         Options::smSettings,
         -1,
         "--fps wants a whole number from 0 to 1000, not '60fps'"},
        {{"--fps="},
         Options::aUsageError,
         Options::smSettings,
         -1,
         "--fps wants a whole number from 0 to 1000, not ''"},
        {{"--fps", "99999999999999999999"},
         Options::aUsageError,
         Options::smSettings,
         -1,
         "--fps wants a whole number from 0 to 1000, not '99999999999999999999'"},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& a : c.args)
            joined += a + " ";
        SCOPED_TRACE(joined);
        const Options o = parseOptions(c.args);
        EXPECT_EQ(o.action, c.action);
        if (o.action != Options::aUsageError) {
            EXPECT_EQ(o.screen, c.screen);
            EXPECT_EQ(o.fps, c.fps);
        }
        EXPECT_EQ(o.error, c.error);
    }
}

namespace {

struct ProgramRun {
    int status;
    std::string output;  // standard output and standard error
};

ProgramRun runProgram(const std::string& args) {
    const std::string command = std::string(PIMWARDEN_PROGRAM) + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ProgramRun run{-1, ""};
    if (!pipe)
        return run;
    std::array<char, 256> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

}  // namespace

TEST(OptionsTest, TheProgramAnswersHelpVersionAndBadOptionsWithoutOpeningAWindow) {
    // No display at all: any attempt to start the game would fail with status 1.
    unsetenv("DISPLAY");
    const std::string usage =
        "usage: pimwarden [--fullscreen | --windowed] [--fps N] [--help] [--version]\n";

    ProgramRun help = runProgram("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.output.rfind(usage, 0), 0u) << help.output;
    EXPECT_NE(help.output.find("--fps N"), std::string::npos);

    ProgramRun version = runProgram("--windowed --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "Pim Warden " + lumo::getVersion() + " (lumo " + lumo::getVersion() +
                                  ", built " + lumo::getBuildDate() + ", " + lumo::getBuildTime() +
                                  ")\n");

    for (const char* bad : {"--bogus", "--fps", "--fps fast", "--help=1"}) {
        SCOPED_TRACE(bad);
        ProgramRun run = runProgram(bad);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.output.rfind("pimwarden: ", 0), 0u) << run.output;
        EXPECT_EQ(run.output.substr(run.output.find('\n') + 1), usage);
    }
}
