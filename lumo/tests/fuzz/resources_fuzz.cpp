// libFuzzer target for a resource description: the input is "resources.xml" read by a
// ResourceManager, so that every bank type (images, animations, fonts, samples, input
// evaluators, GUI) reads its own vocabulary. Beside it in the scratch directory lie links to the
// game's fonts, images, sounds and music, so that seeds taken from the game reach real files.
// No window and no OpenAL device: what needs them (textures, sound buffers) is not created.
// After loading, small image banks are refreshed (pictures decoded and bitmasks built; without
// a context the OpenGL calls do nothing), then every animation is played for a few steps, since
// its delays come from the input too.

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.hpp"
#include "gfx/animations/animation.hpp"
#include "gfx/animations/animation_bank.hpp"
#include "gfx/animations/animation_reference.hpp"
#include "gfx/images/image_bank.hpp"
#include "gfx/images/image_resource.hpp"
#include "gui/core/gui.hpp"
#include "resources/resource_manager.hpp"

namespace {

// Whether `path` is a regular file under `dir` (both resolved); the input must not make an image
// bank read a device or a pipe, which would only test the harness.
bool fileUnder(const std::string& path, const std::string& dir) {
    char resolved[PATH_MAX], base[PATH_MAX];
    struct stat info;
    if (!::realpath(path.c_str(), resolved) || !::realpath(dir.c_str(), base) ||
        ::stat(resolved, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const std::string file = resolved, root = std::string(base) + "/";
    return file.compare(0, root.size(), root) == 0;
}

// Decoding every picture of the game's bank takes a tenth of a second; small banks suffice.
void refreshImages(lumo::gfx::ImageBank& bank) {
    if (bank.size() > 4)
        return;
    for (auto it = bank.begin(); it != bank.end(); ++it) {
        const std::string& file = (*it)->getFilename();
        if (!fileUnder(file, lumo::fuzzing::scratchDir()) && !fileUnder(file, LUMO_FUZZ_GAME_DATA))
            return;
        // Mipmaps are built by GLU, which asks the (absent) context and fails without one.
        if ((*it)->getFilter() > lumo::gfx::ifLinear)
            (*it)->setFilterChoice(lumo::gfx::ifLinear);
    }
    try {
        bank.refresh(nullptr);
    } catch (const std::string&) {
        // A picture that cannot be read is reported with a message.
    }
}

void playAnimations(lumo::gfx::AnimationBank& bank) {
    static const float ticks[] = {0.0f, 1.0f, 16.0f, 1e-30f, 1e30f, 250.0f};
    for (auto it = bank.begin(); it != bank.end(); ++it) {
        std::unique_ptr<lumo::gfx::AnimationReference> ref((*it)->getReference(1.0f));
        for (float t : ticks)
            ref->perform(t);
        ref->isFinished();
    }
}

// Banks outlive their manager; the game keeps them until it ends. Here they go after each
// input, those that point into others (the GUI at fonts and triggers, animations at images)
// first.
void destroyBanks(lumo::ResourceManager& manager) {
    std::vector<lumo::BasicResourceBank*> first, rest;
    for (auto& entry : manager.banks) {
        lumo::BasicResourceBank* bank = entry.second;
        if (dynamic_cast<lumo::gui::GUI*>(bank) || dynamic_cast<lumo::gfx::AnimationBank*>(bank))
            first.push_back(bank);
        else
            rest.push_back(bank);
    }
    manager.clear();
    for (auto* bank : first)
        delete bank;
    for (auto* bank : rest)
        delete bank;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (const char* dir : {"fonts", "images", "sounds", "music"})
        lumo::fuzzing::linkIntoScratch(dir, std::string(LUMO_FUZZ_GAME_DATA "/") + dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = lumo::fuzzing::writeInput("resources.xml", data, size);
    lumo::ResourceManager manager;
    try {
        manager.load(file, "");
    } catch (const std::string&) {
        // Unreadable or malformed files and failing banks end the load with a message.
    }
    for (auto& entry : manager.banks)
        if (auto* images = dynamic_cast<lumo::gfx::ImageBank*>(entry.second))
            refreshImages(*images);
    for (auto& entry : manager.banks)
        if (auto* animations = dynamic_cast<lumo::gfx::AnimationBank*>(entry.second))
            playAnimations(*animations);
    destroyBanks(manager);
    return 0;
}
