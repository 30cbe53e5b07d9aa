#include "lumo/parachute.hpp"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "debug/message_stack.hpp"
#include "lumo/lumo.hpp"

namespace lumo {

namespace {

const int parachuteSignals[] = {SIGSEGV, SIGILL, SIGFPE, SIGINT, SIGTERM, SIGABRT};

volatile sig_atomic_t handlerEntries = 0;

// stdio may be the very thing that crashed (or hold a lock the crashed code held); write(2) is
// safe in a signal handler.
void say(const char* text) {
    std::size_t left = std::strlen(text);
    while (left > 0) {
        ssize_t n = write(STDERR_FILENO, text, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        text += n;
        left -= static_cast<std::size_t>(n);
    }
}

void sayUnknownSignal(int sig) {
    char digits[16];
    char* p = digits + sizeof digits;
    *--p = '\0';
    unsigned int n = sig < 0 ? 0u - static_cast<unsigned int>(sig) : static_cast<unsigned int>(sig);
    do {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n > 0);
    if (sig < 0)
        *--p = '-';
    say("Signal #");
    say(p);
    say(".\n");
}

const char* describe(int sig) {
    switch (sig) {
        case SIGINT:
            return "Interactive attention.\n";
        case SIGILL:
            return "Illegal instruction.\n";
        case SIGABRT:
            return "Abnormal termination (abort).\n";
        case SIGFPE:
            return "Floating point exception.\n";
        case SIGSEGV:
            return "Segmentation fault.\n";
        case SIGTERM:
            return "Termination request.\n";
        default:
            return nullptr;
    }
}

}  // namespace

void installParachute() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = handleSignal;
    sigemptyset(&action.sa_mask);
    // Without SA_NODEFER a fault inside the handler, while its own signal is blocked, would kill
    // the process outright instead of reaching the "Recursive call." branch.
    action.sa_flags = SA_NODEFER;
    for (int sig : parachuteSignals)
        sigaction(sig, &action, nullptr);
}

void handleSignal(int sig) {
    say("Lumo parachute deployed: ");
    if (handlerEntries++ > 0) {
        for (int s : parachuteSignals)
            std::signal(s, SIG_DFL);
        say("Recursive call.\n");
        std::fflush(stderr);
        quit(128 + sig);
    }

    if (const char* description = describe(sig))
        say(description);
    else
        sayUnknownSignal(sig);

    const char* source = debug::latestMessageRaw();
    say("Source: ");
    say(source ? source : "");
    say("\n");

    say("Stack trace:\n");
    while (const char* entry = debug::popMessageRaw()) {
        say("* ");
        say(entry);
        say("\n");
    }

    std::fflush(stderr);
    quit(128 + sig);
}

}  // namespace lumo
