#pragma once
// A sprite for tests: an 8 x 8 outer box, boxes and an optional mask set by hand, and a shared
// log of its callbacks ("A>B" for A's onCollision(B), "~A" when A is destroyed).

#include <memory>
#include <string>
#include <vector>

#include "gfx/bitmasks/bitmask.hpp"
#include "sprites/sprites/sprite_engine.hpp"

namespace lumo {
namespace testing {

typedef std::vector<std::string> CallLog;

class TestSprite : public sprites::Sprite {
  public:
    TestSprite(std::string name_, CallLog* log_, float x, float y)
        : Sprite(basic_Vector2D<float>(x, y), true), name(std::move(name_)), log(log_) {
        canCollide = true;
        outerBoundingBox = gfx::RectInt(0, 0, 8, 8);
    }
    ~TestSprite() override { log->push_back("~" + name); }
    void drawSelf() override {}
    /// Counts the ticks and appends `spawn` to its own engine the first time.
    void perform(float ticks) override {
        performed += ticks;
        if (spawn && !spawn->getOwner())
            getOwner()->addBack(spawn);
    }
    gfx::Bitmask* getBitmask() const override { return mask.get(); }
    void onCollision(Sprite* s) override { log->push_back(name + ">" + names(s)); }

    /// An all-clear 8 x 8 mask with pixel (x, y) set.
    void setMask(int x, int y) {
        mask.reset(new gfx::Bitmask(8, 8));
        mask->clear();
        mask->set(x, y);
    }
    static std::string names(const Sprite* s) { return static_cast<const TestSprite*>(s)->name; }
    /// The names of an engine's sprites in list order.
    static std::string names(const sprites::SpriteEngine& e) {
        std::string all;
        for (const Sprite* s : e.getSprites())
            all += names(s);
        return all;
    }

    std::string name;
    CallLog* log;
    std::unique_ptr<gfx::Bitmask> mask;
    float performed = 0;
    Sprite* spawn = nullptr;
};

}  // namespace testing
}  // namespace lumo
