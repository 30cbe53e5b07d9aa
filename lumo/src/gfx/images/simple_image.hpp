#pragma once
// An image file loaded through SDL_image into one texture whose sides are padded to powers of
// two. Main thread only, with a current OpenGL context for load, refresh, release and
// setFilter.

#include "gfx/images/single_texture_image.hpp"

namespace lumo {
namespace gfx {

class SimpleImage : public SingleTextureImage {
  public:
    using SingleTextureImage::SingleTextureImage;

    /// Surfaces whose pixels are not plain RGB or RGBA bytes (palettes, 16-bit, BGR, 32-bit
    /// without alpha) are converted to RGBA first, so every readable file shows its colours.
    void load(bool last, bool createBitmask) override;
    void refresh(bool last) override;
    void release(bool last) override;
    void setFilter(ImageFilter filter) override;
};

/// The smallest power of two (1, 2, 4, ...) that is at least `size`.
Uint32 textureSize(Uint32 size);

}  // namespace gfx
}  // namespace lumo
