#include "gfx/images/single_texture_image.hpp"

#include "debug/message_stack.hpp"

namespace lumo {
namespace gfx {

namespace {

// Saves what a textured quad changes (the same groups the font printer saves) and binds the
// texture; the destructor restores them, so texturing is as it was before the draw.
class TexturedQuad {
  public:
    explicit TexturedQuad(GLuint texture) {
        glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        glBegin(GL_QUADS);
    }
    ~TexturedQuad() {
        glEnd();
        glPopAttrib();
    }
    TexturedQuad(const TexturedQuad&) = delete;
    TexturedQuad& operator=(const TexturedQuad&) = delete;

    void vertex(GLfloat s, GLfloat t, GLfloat x, GLfloat y) {
        glTexCoord2f(s, t);
        glVertex2f(x, y);
    }
};

}  // namespace

void SingleTextureImage::draw(const Vector2D& pos) {
    debug::MessageScope scope("SingleTextureImage::draw(const Vector2D&)");
    if (!textureName)
        return;
    const GLfloat w = static_cast<GLfloat>(width);
    const GLfloat h = static_cast<GLfloat>(height);
    glPushMatrix();
    glTranslatef(pos.x - hotspot.x, pos.y + hotspot.y, 0.0f);
    {
        TexturedQuad quad(textureName);
        quad.vertex(getLeftTexCoord(), getLowerTexCoord(), 0, 0);
        quad.vertex(getLeftTexCoord(), getUpperTexCoord(), 0, h);
        quad.vertex(getRightTexCoord(), getUpperTexCoord(), w, h);
        quad.vertex(getRightTexCoord(), getLowerTexCoord(), w, 0);
    }
    glPopMatrix();
}

void SingleTextureImage::draw(const Rect& rect) {
    debug::MessageScope scope("SingleTextureImage::draw(const Rect&)");
    if (!textureName)
        return;
    const GLfloat x = rect.pos.x, y = rect.pos.y;
    const GLfloat w = rect.dimensions.x, h = rect.dimensions.y;
    const GLfloat right = w / static_cast<GLfloat>(textureWidth);
    const GLfloat bottom = h / static_cast<GLfloat>(textureHeight);
    TexturedQuad quad(textureName);
    quad.vertex(0, 0, x, y + h);
    quad.vertex(0, bottom, x, y);
    quad.vertex(right, bottom, x + w, y);
    quad.vertex(right, 0, x + w, y + h);
}

void SingleTextureImage::drawStretched(const Rect& rect) {
    debug::MessageScope scope("SingleTextureImage::drawStretched()");
    if (!textureName)
        return;
    const GLfloat x = rect.pos.x, y = rect.pos.y;
    const GLfloat w = rect.dimensions.x, h = rect.dimensions.y;
    TexturedQuad quad(textureName);
    quad.vertex(getLeftTexCoord(), getLowerTexCoord(), x, y + h);
    quad.vertex(getLeftTexCoord(), getUpperTexCoord(), x, y);
    quad.vertex(getRightTexCoord(), getUpperTexCoord(), x + w, y);
    quad.vertex(getRightTexCoord(), getLowerTexCoord(), x + w, y + h);
}

}  // namespace gfx
}  // namespace lumo
