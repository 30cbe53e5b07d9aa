// libFuzzer target for the XML reader (built with -DLUMO_FUZZ=ON; see scripts/fuzz.sh).
// Each input goes through the real path, a file read by loadXML; besides crashes, leaks and
// sanitizer reports, a violated load guarantee (load_properties.hpp) aborts.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "xml/load_properties.hpp"

namespace {

// scripts/fuzz.sh points TMPDIR at a directory in memory that it removes afterwards (libFuzzer
// ends without running static destructors). A disk file system can make rewriting the file
// thousands of times a second flush on every close, slowing the fuzzer down a hundredfold.
std::string tempDirectory() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

std::string makeTempFile() {
    std::string pattern = tempDirectory() + "/lumo-xml-fuzz-XXXXXX";
    int fd = ::mkstemp(&pattern[0]);
    if (fd < 0)
        std::abort();
    ::close(fd);
    return pattern;
}

struct TempFiles {
    std::string input = makeTempFile();
    std::string scratch = makeTempFile();
    ~TempFiles() {
        ::unlink(input.c_str());
        ::unlink(scratch.c_str());
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TempFiles files;
    if (!lumo::testing::detail::writeText(files.input,
                                          std::string(reinterpret_cast<const char*>(data), size)))
        std::abort();
    std::string violated = lumo::testing::checkLoadProperties(files.input, files.scratch);
    if (!violated.empty()) {
        std::fprintf(stderr, "load guarantee violated: %s\n", violated.c_str());
        std::abort();
    }
    return 0;
}
