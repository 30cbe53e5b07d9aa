#include "sprites/sprites/sprite_engine.hpp"

#include <GL/gl.h>

#include <algorithm>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"

namespace lumo {
namespace sprites {

using debug::MessageScope;

SpriteEngine::~SpriteEngine() {
    MessageScope scope("SpriteEngine::~SpriteEngine()");
    debug::debug(dbgSprites, "Deleting sprite engine %p.", static_cast<void*>(this));
    clear();
}

void SpriteEngine::detach(Sprite* sprite) {
    if (sprite->owner)
        sprite->owner->remove(sprite);
}

void SpriteEngine::addBack(Sprite* sprite) {
    MessageScope scope("SpriteEngine::addBack()");
    detach(sprite);
    sprites.push_back(sprite);
    sprite->owner = this;
}

void SpriteEngine::addFront(Sprite* sprite) {
    MessageScope scope("SpriteEngine::addFront()");
    detach(sprite);
    sprites.push_front(sprite);
    sprite->owner = this;
}

void SpriteEngine::remove(Sprite* sprite) {
    MessageScope scope("SpriteEngine::remove()");
    if (!sprite || sprite->owner != this)
        return;
    auto itr = std::find(sprites.begin(), sprites.end(), sprite);
    if (itr != sprites.end())
        sprites.erase(itr);
    sprite->owner = nullptr;
}

void SpriteEngine::clear() {
    MessageScope scope("SpriteEngine::clear()");
    while (!sprites.empty())
        remove(sprites.front());
}

void SpriteEngine::perform(float ticks) {
    MessageScope scope("SpriteEngine::perform()");
    // Iterators of a std::list stay valid when sprites are appended during the walk, and the
    // appended ones are reached in the same pass.
    for (Sprite* sprite : sprites)
        sprite->perform(ticks);
}

void SpriteEngine::draw() {
    MessageScope scope("SpriteEngine::draw()");
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
    glEnable(GL_BLEND);
    setBlendMode(blendMode);
    drawing = true;
    for (Sprite* sprite : sprites)
        if (sprite->visible)
            sprite->draw();
    drawing = false;
    glPopAttrib();
}

void SpriteEngine::testCollisions() {
    MessageScope scope("SpriteEngine::testCollisions()");
    for (auto i = sprites.begin(); i != sprites.end(); ++i) {
        if (!(*i)->canCollide)
            continue;
        for (auto i2 = std::next(i); i2 != sprites.end(); ++i2) {
            if ((*i2)->canCollide && (*i)->checkCollision(*i2))
                (*i)->onCollision(*i2);
        }
    }
}

void SpriteEngine::testCollisions(SpriteEngine* e2) {
    MessageScope scope("SpriteEngine::testCollisions(SpriteEngine *)");
    if (!e2)
        return;
    for (Sprite* a : sprites) {
        if (!a->canCollide)
            continue;
        for (Sprite* b : e2->sprites) {
            // Only reachable when an engine is tested against itself: a sprite never collides
            // with itself.
            if (a == b || !b->canCollide)
                continue;
            if (a->checkCollision(b)) {
                a->onCollision(b);
                b->onCollision(a);
            }
        }
    }
}

}  // namespace sprites
}  // namespace lumo
