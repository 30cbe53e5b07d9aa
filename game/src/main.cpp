// The program "pimwarden": starts the game and runs it until the title menu is left.

#include <iostream>
#include <string>
#include <vector>

#include "options.hpp"
#include "pimwarden.hpp"

int main(int argc, char** argv) {
    const pimwarden::Options options =
        pimwarden::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    const int status = pimwarden::reportOptions(options, std::cout, std::cerr);
    if (status >= 0)
        return status;
    try {
        pimwarden::dataDirectory = pimwarden::resolveDataDirectory(PIMWARDEN_DATA_DIR);
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
