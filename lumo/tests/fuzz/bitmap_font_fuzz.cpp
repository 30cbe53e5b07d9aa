// libFuzzer target for a bitmap font definition: the input is "bitmapfont.xml" in a font
// directory that also holds (a link to) the game's font picture, read by a BitmapFont as a font
// bank does. Afterwards every byte's width is asked for and a text of all bytes measured: the
// width table must cover exactly the codes the font says it defines.

#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.hpp"
#include "gfx/fonts/bitmap_font.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string dir = lumo::fuzzing::scratchDir() + "/font";
    if (::mkdir(dir.c_str(), 0700) != 0)
        std::abort();
    lumo::fuzzing::linkIntoScratch("font/arial10.png",
                                   LUMO_FUZZ_GAME_DATA "/fonts/arial10/arial10.png");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumo::fuzzing::writeInput("font/bitmapfont.xml", data, size);
    lumo::fonts::BitmapFont font(lumo::fuzzing::scratchDir() + "/font/");

    const int first = font.getFirstChar(), count = font.getCharCount();
    if (count < 0 || first + count > 256)
        lumo::fuzzing::violated("character range " + std::to_string(first) + " + " +
                                std::to_string(count));
    std::string all;
    unsigned int sum = 0;
    for (int c = 1; c < 256; ++c) {
        all += static_cast<char>(c);
        const unsigned char code = static_cast<unsigned char>(c);
        const bool defined = c >= first && c < first + count;
        if (!defined && font.getCharWidth(code) != 0)
            lumo::fuzzing::violated("a width for undefined code " + std::to_string(c));
        sum += font.getCharWidth(code) + font.getSpacing();
    }
    if (font.getWidth(all.c_str()) != static_cast<std::uint16_t>(sum))
        lumo::fuzzing::violated("the width of a text is not the sum of its characters'");
    font.getWidth(nullptr);
    return 0;
}
