// The crash handler and quit(), each run in a child process that starts the framework with the
// handler installed.

#include "lumo/parachute.hpp"

#include <fcntl.h>
#include <fnmatch.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "buildinfo/build_info.hpp"
#include "debug/message_stack.hpp"
#include "lumo/lumo.hpp"
#include "resources/background_task.hpp"
#include "support/temp_dir.hpp"

using lumo::testing::readFileText;

namespace {

struct ChildRun {
    int exitCode = -1;  // -1 when the child did not exit normally
    std::string err, out;
};

// Runs `body` in a child that starts the framework with the crash handler, and collects its
// standard error, its standard output and its exit status.
ChildRun runChild(const std::function<void()>& body) {
    lumo::testing::TempDir dir;
    const std::string errPath = dir.file("err"), outPath = dir.file("out");
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        // The handler writes straight to the descriptor, past stdio.
        if (dup2(open(errPath.c_str(), O_WRONLY | O_CREAT, 0600), STDERR_FILENO) < 0 ||
            dup2(open(outPath.c_str(), O_WRONLY | O_CREAT, 0600), STDOUT_FILENO) < 0)
            _exit(97);
        lumo::init(lumo::ssNone, true);
        body();
        _exit(98);  // the handler never returns
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ChildRun run;
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    run.err = readFileText(errPath);
    run.out = readFileText(outPath);
    return run;
}

// A pending task that runs `onDelete` when it is deleted.
struct Task : lumo::BackgroundTask {
    explicit Task(std::function<void()> onDelete)
        : BackgroundTask(nullptr), onDelete(std::move(onDelete)) {}
    ~Task() override { onDelete(); }
    void perform(unsigned int) override {}
    std::function<void()> onDelete;
};

}  // namespace

TEST(Parachute, ReportsTheMessageStackAndEndsWith128PlusTheSignal) {
    const struct {
        int sig;
        std::string text;
    } cases[] = {{SIGSEGV, "Segmentation fault."},
                 {SIGILL, "Illegal instruction."},
                 {SIGFPE, "Floating point exception."},
                 {SIGINT, "Interactive attention."},
                 {SIGTERM, "Termination request."},
                 {SIGABRT, "Abnormal termination (abort)."},
                 {SIGUSR1, "Signal #" + std::to_string(SIGUSR1) + "."}};
    for (const auto& c : cases) {
        const int sig = c.sig;
        ChildRun run = runChild([sig] {
            lumo::debug::addLiteralMessage("A");
            lumo::debug::addMessage("B");
            volatile std::uintptr_t unmapped = 8;  // volatile: hidden from the compiler
            if (sig == SIGSEGV)
                *reinterpret_cast<volatile int*>(unmapped) = 1;  // a real fault
            else if (sig == SIGUSR1)
                lumo::handleSignal(sig);  // one the handler is not installed for
            else
                std::raise(sig);
        });
        EXPECT_EQ("Lumo parachute deployed: " + c.text + "\nSource: B\nStack trace:\n* B\n* A\n",
                  run.err)
            << "signal " << sig;
        EXPECT_EQ(128 + sig, run.exitCode) << "signal " << sig;
        EXPECT_NE(std::string::npos, run.out.find("[lumo:core] (debug) Quitting program.\n"));
    }
}

TEST(Parachute, FaultDuringTheReportTakesTheRecursiveBranch) {
    // An entry that points nowhere makes the report itself fault while printing the source.
    ChildRun run = runChild([] {
        lumo::debug::addLiteralMessage("A");
        lumo::debug::addLiteralMessage(reinterpret_cast<const char*>(std::uintptr_t{8}));
        std::raise(SIGSEGV);
    });
    EXPECT_EQ(
        "Lumo parachute deployed: Segmentation fault.\n"
        "Source: Lumo parachute deployed: Recursive call.\n",
        run.err);
    EXPECT_EQ(128 + SIGSEGV, run.exitCode);
}

TEST(Quit, LogsTheVersionCleansUpOnceAndEndsWithTheGivenStatus) {
    ChildRun run = runChild([] {
        lumo::backgroundTasks.push_back(new Task([] { std::printf("deleted 1\n"); }));
        lumo::backgroundTasks.push_back(new Task([] { std::printf("deleted 2\n"); }));
        lumo::quit(3);
    });
    EXPECT_EQ(3, run.exitCode);
    EXPECT_EQ("", run.err);
    // init logged the version, with the compiler's date ("Jun  3 2005") and time.
    const std::string version = lumo::getFullVersion();
    EXPECT_EQ(0, fnmatch("0.0 ([A-Z][a-z][a-z] [ 1-3][0-9] [0-9][0-9][0-9][0-9], "
                         "[0-2][0-9]:[0-5][0-9]:[0-6][0-9])",
                         version.c_str(), 0))
        << version;
    EXPECT_NE(std::string::npos,
              run.out.find("[lumo:core] (info) Lumo version " + version + ".\n"));
    // Pending tasks go last first, after the two clean-up lines.
    EXPECT_NE(std::string::npos, run.out.find("[lumo:core] (debug) Quitting program.\n"
                                              "[lumo:core] (debug) Cleaning up.\n"
                                              "deleted 2\ndeleted 1\n"))
        << run.out;

    // A crash during the clean-up reaches quit() again, which only warns before leaving.
    ChildRun twice = runChild([] {
        lumo::backgroundTasks.push_back(new Task([] { std::raise(SIGTERM); }));
        lumo::quit(0);
    });
    EXPECT_EQ("Lumo parachute deployed: Termination request.\nSource: \nStack trace:\n", twice.err);
    EXPECT_EQ(128 + SIGTERM, twice.exitCode);
    EXPECT_NE(std::string::npos, twice.out.find("[lumo:core] (warning) Quit called again.\n"));
}
