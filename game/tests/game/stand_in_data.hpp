#pragma once
// A small data set for the game's tests, written into a scratch directory: plain pictures in
// place of the art, no sounds, and the game's real font, GUI layout and controls.

#include <unistd.h>

#include <string>
#include <vector>

#include "support/gl_test_window.hpp"
#include "support/temp_dir.hpp"

namespace pimwarden {
namespace testing {

/// What to leave out of the data set, to see start-up fail.
struct StandInOptions {
    bool withGui = true;
    std::string missingImage;
};

inline std::string readSourceFile(const std::string& relative) {
    return lumo::testing::readFileText(std::string(PIMWARDEN_SOURCE_DIR) + "/" + relative);
}

/// Writes the data set into `dir` (resources.xml at its top). The pictures are drawn with
/// lumo's PNG writer, so SDL must be able to make surfaces (no window needed).
inline void writeStandInData(const lumo::testing::TempDir& dir, const StandInOptions& options) {
    using lumo::testing::Rgba;
    struct Picture {
        const char* name;
        int w, h;
        Rgba colour;
        const char* extra;
    };
    const std::vector<Picture> pictures = {
        {"wall", 64, 64, {90, 90, 100, 255}, ""},
        {"stone", 8, 8, {200, 200, 200, 255}, " hotX=\"4\" hotY=\"4\" bitmaskThreshold=\"0.5\""},
        {"trunk", 16, 16, {140, 90, 40, 255}, " hotX=\"8\" hotY=\"8\" bitmaskThreshold=\"0.5\""},
        {"foe_base", 8, 8, {0, 200, 0, 255}, ""},
        {"greatPim", 32, 32, {255, 200, 0, 255}, ""},
        {"title", 32, 16, {255, 255, 255, 255}, ""},
        {"credits", 32, 8, {255, 255, 255, 255}, ""},
        {"gameover", 32, 16, {255, 255, 255, 255}, ""},
        {"pim1", 16, 16, {250, 120, 120, 255}, " hotX=\"8\" hotY=\"16\" bitmaskThreshold=\"0.5\""},
        {"foe1", 16, 24, {0, 160, 0, 255}, " hotX=\"8\" hotY=\"24\" bitmaskThreshold=\"0.5\""},
    };
    ::mkdir(dir.file("images").c_str(), 0700);
    std::string images = "<images name=\"images\" dir=\"images/\">\n";
    for (const Picture& p : pictures) {
        lumo::testing::writePicture(dir.file(std::string("images/") + p.name + ".png"), p.w, p.h,
                                    [&](int, int) { return p.colour; });
        if (options.missingImage != p.name)
            images += std::string("<image name=\"") + p.name + "\" filename=\"" + p.name +
                      ".png\"" + p.extra + "/>\n";
    }
    images += "</images>\n";
    std::string animations = "<animations name=\"animations\" imageBank=\"images\">\n";
    for (const char* name : {"foe_climb", "foe_strafe", "foe_fall", "foe_victory"})
        animations += std::string("<animation name=\"") + name +
                      "\" loop=\"true\"><frame image=\"foe1\"/></animation>\n";
    animations += "<animation name=\"pim\" loop=\"true\"><frame image=\"pim1\"/></animation>\n";
    animations += "</animations>\n";

    const std::string fonts = std::string(PIMWARDEN_SOURCE_DIR) + "/game/data/fonts";
    ::symlink(fonts.c_str(), dir.file("fonts").c_str());
    dir.write("resources.xml",
              "<resources>\n" + readSourceFile("tools/resources/fonts.xml") + images + animations +
                  "<samples name=\"sounds\"/>\n<samples name=\"music\"/>\n" +
                  readSourceFile("tools/resources/controls.xml") +
                  (options.withGui ? readSourceFile("tools/resources/gui.xml") : "") +
                  "</resources>\n");
}

}  // namespace testing
}  // namespace pimwarden
