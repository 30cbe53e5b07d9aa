// The program "pimwarden": starts the game and runs it until the title menu is left.

#include <unistd.h>

#include <climits>
#include <iostream>
#include <string>
#include <vector>

#include "options.hpp"
#include "pimwarden.hpp"

namespace {

/// The data directory: PIMWARDEN_DATA_DIR as given when absolute, otherwise taken relative to
/// the directory of the running program (so an installed copy finds its data wherever it is
/// installed).
std::string findDataDirectory() {
    std::string dir = PIMWARDEN_DATA_DIR;
    if (dir.empty() || dir.front() == '/')
        return dir;
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return dir;
    std::string path(exe, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + dir;
}

}  // namespace

int main(int argc, char** argv) {
    const pimwarden::Options options =
        pimwarden::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    const int status = pimwarden::reportOptions(options, std::cout, std::cerr);
    if (status >= 0)
        return status;
    try {
        pimwarden::dataDirectory = findDataDirectory();
        lumo::application = new pimwarden::PimWarden;
        pimwarden::applyOptions(options);
        lumo::application->run();
        if (lumo::application) {
            delete lumo::application;
            lumo::application = nullptr;
        }
    } catch (const std::string& message) {
        std::cerr << message << std::endl;
    }
    return 1;
}
