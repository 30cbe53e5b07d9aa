#pragma once
// What the loaders' libFuzzer targets share: each input is written to a file in a scratch
// directory and goes through the real loading path, as a packager's or a player's edited file
// would.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace lumo {
namespace fuzzing {

/// A directory of its own under $TMPDIR (scripts/fuzz.sh points it at memory and removes it
/// afterwards; libFuzzer ends without running static destructors). Aborts when it cannot be
/// made, since no input could be tried.
inline const std::string& scratchDir() {
    static const std::string dir = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/lumo-fuzz-XXXXXX";
        if (!::mkdtemp(&pattern[0]))
            std::abort();
        return pattern;
    }();
    return dir;
}

/// Writes the input to `name` in the scratch directory and returns its path.
inline std::string writeInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
    std::string path = scratchDir() + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !ok)
        std::abort();
    return path;
}

/// Makes `name` in the scratch directory a link to `target` (data the input may refer to).
inline void linkIntoScratch(const std::string& name, const std::string& target) {
    std::string path = scratchDir() + "/" + name;
    ::unlink(path.c_str());
    if (::symlink(target.c_str(), path.c_str()) != 0)
        std::abort();
}

/// Ends the run with `what` when a property of the loaders does not hold.
[[noreturn]] inline void violated(const std::string& what) {
    std::fprintf(stderr, "loader guarantee violated: %s\n", what.c_str());
    std::abort();
}

}  // namespace fuzzing
}  // namespace lumo
