#pragma once
// An image held by name in an image bank and loaded from a file when the bank is refreshed.
// Loading and releasing touch OpenGL: main thread only, with a current context.

#include <GL/gl.h>
#include <SDL.h>

#include <string>

#include "gfx/images/image.hpp"
#include "resources/named_resource.hpp"

namespace lumo {
namespace gfx {

class ImageBank;

class ImageResource : public NamedResource<ImageBank, std::string>, public Image {
  public:
    ImageResource();
    ImageResource(const std::string& name, const std::string& filename);
    /// Deletes the bitmask and leaves the bank; the texture is freed only by release(), since
    /// the OpenGL context may be gone by the time an image dies.
    ~ImageResource() override;
    ImageResource(const ImageResource&) = delete;
    ImageResource& operator=(const ImageResource&) = delete;

    /// Reads the file and uploads the texture, replacing an older one; builds the bitmask when
    /// `createBitmask` is set and the threshold is not negative. `last` is false while more
    /// images of the same bank follow (the bitmask row cache is kept for them). Throws
    /// "Could not load \"<file>\": <reason>." when the file cannot be read or decoded.
    virtual void load(bool last, bool createBitmask) = 0;
    /// Loads the image unless it has a texture, then applies the filter. Throws as load().
    virtual void refresh(bool last) = 0;
    /// Frees the texture; the sizes and the bitmask stay.
    virtual void release(bool last);
    /// Sets the texture's filter, limited by the bank's; `getFilter()` is not changed.
    virtual void setFilter(ImageFilter filter) = 0;

    /// load() even when a texture exists; keeps an existing bitmask. Throws as load().
    void reload(bool last);

    ImageFilter getFilter() const { return filter; }
    /// The filter that refresh() applies.
    void setFilterChoice(ImageFilter f) { filter = f; }
    void setFilename(const std::string& f) { filename = f; }
    const std::string& getFilename() const { return filename; }
    /// A negative threshold means no bitmask.
    void setBitmaskThreshold(GLfloat threshold) { bitmaskThreshold = threshold; }
    GLfloat getBitmaskThreshold() const { return bitmaskThreshold; }
    /// Clamp texture coordinates to the edge instead of repeating the texture.
    void setClamp(bool c) { clamp = c; }
    bool getClamp() const { return clamp; }

  protected:
    /// Replaces the bitmask by one built from `surface` (borrowed) when the threshold is not
    /// negative, and takes over its bounding boxes.
    void createBitmask(SDL_Surface* surface, bool last);

    std::string filename;
    GLfloat bitmaskThreshold = -1.0f;
    bool clamp = false;
    ImageFilter filter = ifLinear;
};

}  // namespace gfx
}  // namespace lumo

// Creating or destroying an image calls into its bank, so the bank's class must be complete
// wherever images are used.
#include "gfx/images/image_bank.hpp"
