#pragma once
// An ordered list of sprites that are advanced, drawn (first listed, first drawn) and tested for
// collisions together. The engine only lists its sprites; it never creates or deletes them.
// Main thread only.

#include <list>

#include "sprites/sprites/sprite.hpp"

namespace lumo {
namespace sprites {

typedef std::list<Sprite*> SpriteList;

class SpriteEngine {
  public:
    SpriteEngine() = default;
    /// Empties the list; the former sprites stay alive with a null owner.
    ~SpriteEngine();
    SpriteEngine(const SpriteEngine&) = delete;
    SpriteEngine& operator=(const SpriteEngine&) = delete;

    /// Appends `sprite` (drawn last, on top), taking it out of its previous engine first, this
    /// one included. Safe while this engine is walked: an appended sprite is reached later in
    /// the same pass.
    void addBack(Sprite* sprite);
    /// Inserts `sprite` at the front (drawn first, below the others), as addBack otherwise.
    void addFront(Sprite* sprite);
    /// Takes `sprite` out when this engine owns it; otherwise does nothing. Never during a
    /// perform, draw or collision pass of this engine.
    void remove(Sprite* sprite);
    /// Removes every sprite as remove() does.
    void clear();
    int size() const { return static_cast<int>(sprites.size()); }
    const SpriteList& getSprites() const { return sprites; }

    /// Calls perform(ticks) on every sprite in list order, invisible ones included.
    void perform(float ticks);
    /// Draws the visible sprites in list order with the engine's blend mode. The current
    /// colour, enables, texture and colour-buffer state are saved once around the pass, so a
    /// sprite may find texturing on and another sprite's texture and colour left behind: a
    /// drawSelf that relies on other state sets it (and need not restore it).
    void draw();
    /// Whether draw() is walking the sprites right now.
    bool isDrawing() const { return drawing; }
    /// Tests every pair of colliding sprites of this engine once; the earlier sprite of the
    /// list is called back with the later one.
    void testCollisions();
    /// Tests each colliding sprite of this engine against each of `e2`; both sprites of a
    /// touching pair are called back, first the one of this engine.
    void testCollisions(SpriteEngine* e2);

    BlendMode blendMode = bmDefault;

  private:
    void detach(Sprite* sprite);

    SpriteList sprites;
    bool drawing = false;
};

}  // namespace sprites
}  // namespace lumo
