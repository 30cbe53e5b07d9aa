#include "gfx/images/image.hpp"

namespace lumo {
namespace gfx {

const char* const STR_IMAGEFILTER[4] = {"none", "linear", "bilinear", "trilinear"};

bool imageFilterFromString(const std::string& name, ImageFilter& filter) {
    for (int i = ifNone; i <= ifTrilinear; ++i) {
        if (name == STR_IMAGEFILTER[i]) {
            filter = static_cast<ImageFilter>(i);
            return true;
        }
    }
    return false;
}

void Image::perform(float) {}

}  // namespace gfx
}  // namespace lumo
