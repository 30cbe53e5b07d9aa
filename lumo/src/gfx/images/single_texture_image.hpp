#pragma once
// An image resource drawn from one OpenGL texture whose top-left corner holds the picture.
// Main thread only.

#include <GL/gl.h>

#include "gfx/images/image_resource.hpp"

namespace lumo {
namespace gfx {

class SingleTextureImage : public ImageResource {
  public:
    using ImageResource::ImageResource;

    /// The three draw operations draw nothing while the image has no texture; otherwise they
    /// draw one quad in the current colour and leave colour, enables and texture binding as
    /// they found them.
    void draw(const Vector2D& pos) override;
    void draw(const Rect& rect) override;
    void drawStretched(const Rect& rect) override;

    /// 0 while there is no texture.
    GLuint getTextureName() const { return textureName; }
    Uint32 getTextureWidth() const { return textureWidth; }
    Uint32 getTextureHeight() const { return textureHeight; }
    GLfloat getLeftTexCoord() const { return texCoordRect.pos.x; }
    GLfloat getRightTexCoord() const { return texCoordRect.pos.x + texCoordRect.dimensions.x; }
    /// Belongs to the picture's top row (the first row of the file).
    GLfloat getUpperTexCoord() const { return texCoordRect.pos.y; }
    /// Belongs to the picture's bottom row.
    GLfloat getLowerTexCoord() const { return texCoordRect.pos.y + texCoordRect.dimensions.y; }
    const Rect& getTexCoordRect() const { return texCoordRect; }

  protected:
    GLuint textureName = 0;
    /// The part of the texture covered by the picture: pos (0, 0), dimensions
    /// (width / textureWidth, height / textureHeight).
    Rect texCoordRect;
    Uint32 textureWidth = 0;
    Uint32 textureHeight = 0;
};

}  // namespace gfx
}  // namespace lumo
