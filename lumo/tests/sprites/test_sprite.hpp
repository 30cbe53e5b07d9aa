#pragma once
// A sprite for tests: square boxes set by hand, an optional mask it owns, and a shared log of
// the callbacks it receives ("A>B" for A's onCollision(B)).

#include <memory>
#include <string>
#include <vector>

#include "gfx/bitmasks/bitmask.hpp"
#include "sprites/sprites/sprite.hpp"

namespace lumo {
namespace testing {

typedef std::vector<std::string> CallLog;

class TestSprite : public sprites::Sprite {
  public:
    /// Outer box (0, 0, size, size), inner box (0, 0, innerSize, innerSize), hotspot (0, 0).
    TestSprite(std::string name_, CallLog* log_, float x, float y, int size = 8, int innerSize = 0)
        : Sprite(basic_Vector2D<float>(x, y), true), name(std::move(name_)), log(log_) {
        canCollide = true;
        dimensions = basic_Vector2D<float>(size, size);
        outerBoundingBox = gfx::RectInt(0, 0, size, size);
        innerBoundingBox = gfx::RectInt(0, 0, innerSize, innerSize);
    }
    ~TestSprite() override {
        if (destroyed)
            *destroyed = true;
    }

    void drawSelf() override {
        if (drawLog)
            drawLog->push_back(name);
    }
    void perform(float ticks) override { performed += ticks; }
    gfx::Bitmask* getBitmask() const override { return mask.get(); }
    void onCollision(Sprite* spr) override {
        if (log)
            log->push_back(name + ">" + static_cast<TestSprite*>(spr)->name);
    }

    /// Gives the sprite an all-clear mask of its outer box's size with the listed pixels set.
    void setMask(std::initializer_list<std::pair<int, int>> pixels) {
        mask.reset(new gfx::Bitmask(outerBoundingBox.dimensions.x, outerBoundingBox.dimensions.y));
        mask->clear();
        for (const auto& p : pixels)
            mask->set(p.first, p.second);
    }

    std::string name;
    CallLog* log;
    CallLog* drawLog = nullptr;
    bool* destroyed = nullptr;
    float performed = 0;
    std::unique_ptr<gfx::Bitmask> mask;
};

}  // namespace testing
}  // namespace lumo
