#include "lumo/parachute.hpp"

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
using lumo::testing::TempDir;

namespace {

struct ChildRun {
    int exitCode = -1;  // -1 when the child did not exit normally
    std::string err;
    std::string out;
};

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, n);
    return text;
}

// Runs `body` in a child process that starts the framework with the crash handler, and collects
// its standard error, its standard output and how it ended.
ChildRun runChild(const std::function<void()>& body) {
    TempDir dir;
    const std::string outPath = dir.file("stdout");
    int errPipe[2];
    if (pipe(errPipe) != 0)
        return {};
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(errPipe[0]);
        dup2(errPipe[1], STDERR_FILENO);
        if (!std::freopen(outPath.c_str(), "w", stdout))
            _exit(97);
        lumo::init(lumo::ssNone, true);
        body();
        _exit(98);  // the handler should never return
    }
    close(errPipe[1]);
    ChildRun run;
    run.err = readAll(errPipe[0]);
    close(errPipe[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    run.out = readFileText(outPath);
    return run;
}

// A pending task that says when it is deleted.
class LoudTask : public lumo::BackgroundTask {
  public:
    explicit LoudTask(char name) : BackgroundTask(nullptr), name(name) {}
    ~LoudTask() override { std::printf("deleted %c\n", name); }
    void perform(unsigned int) override {}
    char name;
};

void pushAB() {
    lumo::debug::addLiteralMessage("A");
    lumo::debug::addMessage("B");
}

}  // namespace

TEST(Parachute, ReportsTheMessageStackAndEndsWith128PlusTheSignal) {
    ChildRun interrupted = runChild([] {
        pushAB();
        std::raise(SIGINT);
    });
    EXPECT_EQ(
        "Lumo parachute deployed: Interactive attention.\n"
        "Source: B\n"
        "Stack trace:\n"
        "* B\n"
        "* A\n",
        interrupted.err);
    EXPECT_EQ(128 + SIGINT, interrupted.exitCode);
    // The start logged the version, and the end went through quit() and its clean-up.
    EXPECT_NE(std::string::npos, interrupted.out.find("[lumo:core] (info) Lumo version " +
                                                      lumo::getFullVersion() + ".\n"));
    EXPECT_NE(std::string::npos, interrupted.out.find("[lumo:core] (debug) Quitting program.\n"));
    EXPECT_NE(std::string::npos, interrupted.out.find("[lumo:core] (debug) Cleaning up.\n"));

    // A real fault rather than a raised signal.
    ChildRun faulted = runChild([] {
        pushAB();
        volatile std::uintptr_t unmapped = 8;  // volatile: keeps the compiler from seeing it
        *reinterpret_cast<volatile int*>(unmapped) = 1;
    });
    EXPECT_EQ(
        "Lumo parachute deployed: Segmentation fault.\n"
        "Source: B\n"
        "Stack trace:\n"
        "* B\n"
        "* A\n",
        faulted.err);
    EXPECT_EQ(128 + SIGSEGV, faulted.exitCode);
}

TEST(Parachute, DescribesEverySignalItHandles) {
    const struct {
        int sig;
        const char* text;
    } cases[] = {
        {SIGSEGV, "Segmentation fault.\n"},      {SIGILL, "Illegal instruction.\n"},
        {SIGFPE, "Floating point exception.\n"}, {SIGINT, "Interactive attention.\n"},
        {SIGTERM, "Termination request.\n"},     {SIGABRT, "Abnormal termination (abort).\n"}};
    for (const auto& c : cases) {
        const int sig = c.sig;
        ChildRun run = runChild([sig] { std::raise(sig); });
        EXPECT_EQ(std::string("Lumo parachute deployed: ") + c.text + "Source: \nStack trace:\n",
                  run.err)
            << "signal " << sig;
        EXPECT_EQ(128 + sig, run.exitCode) << "signal " << sig;
    }

    // A signal the handler was not installed for, handed to it directly.
    ChildRun other = runChild([] {
        lumo::debug::addLiteralMessage("only");
        lumo::handleSignal(SIGUSR1);
    });
    EXPECT_EQ("Lumo parachute deployed: Signal #" + std::to_string(SIGUSR1) +
                  ".\nSource: only\nStack trace:\n* only\n",
              other.err);
    EXPECT_EQ(128 + SIGUSR1, other.exitCode);
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

TEST(Quit, CleansUpOnceAndEndsWithTheGivenStatus) {
    ChildRun run = runChild([] {
        lumo::backgroundTasks.push_back(new LoudTask('1'));
        lumo::backgroundTasks.push_back(new LoudTask('2'));
        lumo::quit(3);
    });
    EXPECT_EQ(3, run.exitCode);
    EXPECT_EQ("", run.err);
    const std::size_t quitting = run.out.find("[lumo:core] (debug) Quitting program.\n");
    const std::size_t cleaning = run.out.find("[lumo:core] (debug) Cleaning up.\n");
    ASSERT_NE(std::string::npos, quitting);
    ASSERT_NE(std::string::npos, cleaning);
    EXPECT_LT(quitting, cleaning);
    // Pending tasks go last first.
    EXPECT_NE(std::string::npos, run.out.find("deleted 2\ndeleted 1\n", cleaning));

    // A crash during the clean-up reaches quit() again, which only warns before leaving.
    ChildRun twice = runChild([] {
        struct Crashing : lumo::BackgroundTask {
            Crashing() : BackgroundTask(nullptr) {}
            ~Crashing() override { std::raise(SIGTERM); }
            void perform(unsigned int) override {}
        };
        lumo::backgroundTasks.push_back(new Crashing);
        lumo::quit(0);
    });
    EXPECT_EQ(128 + SIGTERM, twice.exitCode);
    EXPECT_NE(std::string::npos, twice.out.find("[lumo:core] (warning) Quit called again.\n"));
}
