#include "buildinfo/build_info.hpp"

#ifndef LUMO_VERSION_MAJOR
#error "LUMO_VERSION_MAJOR must be defined by the build"
#endif
#ifndef LUMO_VERSION_MINOR
#error "LUMO_VERSION_MINOR must be defined by the build"
#endif

#define LUMO_STRINGIFY2(x) #x
#define LUMO_STRINGIFY(x) LUMO_STRINGIFY2(x)

namespace lumo {

std::string getVersion() {
    return LUMO_STRINGIFY(LUMO_VERSION_MAJOR) "." LUMO_STRINGIFY(LUMO_VERSION_MINOR);
}

// __DATE__ and __TIME__ are taken here on purpose: this file is the one place that records when
// the library was built.
std::string getBuildDate() {
    return __DATE__;
}

std::string getBuildTime() {
    return __TIME__;
}

std::string getFullVersion() {
    return getVersion() + " (" + getBuildDate() + ", " + getBuildTime() + ")";
}

}  // namespace lumo
