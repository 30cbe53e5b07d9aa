#pragma once
// Decodes a PNG file into 8-bit RGBA for tests that check what was written.

#include <png.h>

#include <array>
#include <string>
#include <vector>

namespace lumo {
namespace testing {

struct PngFile {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;  // top row first
    std::string error;                // set when the file could not be read

    /// The red, green, blue and alpha of pixel (x, y), y counted from the top.
    std::array<int, 4> at(int x, int y) const {
        const unsigned char* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
};

inline PngFile readPng(const std::string& path) {
    PngFile result;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        result.error = image.message;
        return result;
    }
    image.format = PNG_FORMAT_RGBA;
    result.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, result.rgba.data(), 0, nullptr)) {
        result.error = image.message;
        return result;
    }
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    return result;
}

}  // namespace testing
}  // namespace lumo
