#pragma once
// An image resource that needs no window: its size is given, and its draw operations only
// record what they were asked to draw.

#include <string>
#include <vector>

#include "gfx/images/image_bank.hpp"
#include "lumo/convert.hpp"

namespace lumo {
namespace testing {

class FakeImage : public gfx::ImageResource {
  public:
    FakeImage(const std::string& name, Uint32 w, Uint32 h) : ImageResource(name, name + ".png") {
        width = w;
        height = h;
        outerBoundingBox = gfx::Bitmask::RectInt(1, 2, static_cast<int>(w), static_cast<int>(h));
    }
    void load(bool, bool) override {}
    void refresh(bool) override {}
    void setFilter(gfx::ImageFilter) override {}
    void draw(const Vector2D& p) override { record("at", p.x, p.y, 0, 0); }
    void draw(const Rect& r) override {
        record("rect", r.pos.x, r.pos.y, r.dimensions.x, r.dimensions.y);
    }
    void drawStretched(const Rect& r) override {
        record("stretched", r.pos.x, r.pos.y, r.dimensions.x, r.dimensions.y);
    }

    /// "<name> <operation> <numbers>" for every draw, across all fake images, oldest first.
    static std::vector<std::string>& calls() {
        static std::vector<std::string> list;
        return list;
    }

  private:
    void record(const char* what, float a, float b, float c, float d) {
        calls().push_back(name + " " + what + " " + toStr(a) + " " + toStr(b) + " " + toStr(c) +
                          " " + toStr(d));
    }
};

}  // namespace testing
}  // namespace lumo
