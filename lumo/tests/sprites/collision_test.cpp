#include <gtest/gtest.h>

#include "sprites/sprites/sprite_engine.hpp"
#include "sprites/test_sprite.hpp"

using lumo::gfx::RectInt;
using lumo::sprites::SpriteEngine;
using lumo::testing::CallLog;
using lumo::testing::TestSprite;

TEST(SpriteCollision, LayeredTestOuterRejectsInnerAcceptsMaskDecides) {
    TestSprite a("A", nullptr, 100, 100);
    TestSprite b("B", nullptr, 104, 104);

    // Neither has a mask: overlapping outer boxes are enough.
    EXPECT_TRUE(a.checkCollision(&b));
    EXPECT_TRUE(b.checkCollision(&a));

    // Masks whose pixels do not meet decide against the boxes...
    a.setMask({{0, 0}});
    b.setMask({{7, 7}});
    EXPECT_TRUE(a.checkCollisionOuterBoundingBox(&b));
    EXPECT_FALSE(a.checkCollisionInnerBoundingBox(&b));
    EXPECT_FALSE(a.checkCollision(&b));
    // ... unless the inner boxes overlap, which accepts without looking at pixels.
    a.innerBoundingBox = RectInt(0, 0, 8, 8);
    b.innerBoundingBox = RectInt(0, 0, 8, 8);
    EXPECT_TRUE(a.checkCollision(&b));
    // An inner box of zero width never accepts, even one lying over the other's.
    b.innerBoundingBox = RectInt(0, 0, 0, 8);
    EXPECT_FALSE(a.checkCollisionInnerBoundingBox(&b));
    EXPECT_FALSE(b.checkCollisionInnerBoundingBox(&a));
    EXPECT_FALSE(a.checkCollision(&b));

    // Only one mask: the box result stands.
    b.mask.reset();
    EXPECT_TRUE(a.checkCollision(&b));

    // Apart outer boxes reject even when inner boxes and masks would accept.
    b.setMask({{0, 0}});
    b.innerBoundingBox = RectInt(-100, -100, 300, 300);
    b.pos = lumo::basic_Vector2D<float>(120, 100);
    EXPECT_FALSE(a.checkCollisionOuterBoundingBox(&b));
    EXPECT_FALSE(a.checkCollision(&b));
}

TEST(SpriteCollision, MaskOffsetsFollowPositionAndHotspotWithRowsRunningDown) {
    TestSprite a("A", nullptr, 100, 100);
    TestSprite b("B", nullptr, 100, 100);
    a.setMask({{0, 0}});
    b.setMask({{0, 0}});
    EXPECT_TRUE(a.checkCollisionBitmask(&b));
    b.pos.x = 101;
    EXPECT_FALSE(a.checkCollisionBitmask(&b));
    b.pos.x = 99;
    EXPECT_FALSE(a.checkCollisionBitmask(&b));

    // Row 1 of b lies one pixel below its top edge: raising b by one puts it on a's row 0.
    b.setMask({{0, 1}});
    b.pos = lumo::basic_Vector2D<float>(100, 101);
    EXPECT_TRUE(a.checkCollisionBitmask(&b));
    EXPECT_TRUE(b.checkCollisionBitmask(&a));
    b.pos.y = 99;
    EXPECT_FALSE(a.checkCollisionBitmask(&b));

    // The hotspot moves the image's top-left corner to (pos.x - hx, pos.y + hy).
    b.setMask({{0, 6}});
    b.hotspot = lumo::basic_Vector2D<float>(2, 3);
    b.pos = lumo::basic_Vector2D<float>(102, 103);
    EXPECT_TRUE(a.checkCollisionBitmask(&b));
    EXPECT_TRUE(a.checkCollision(&b));
    // Offsets are rounded half up: 0.4 stays on the pixel, 0.6 moves off it.
    b.pos.x = 102.4f;
    EXPECT_TRUE(a.checkCollisionBitmask(&b));
    b.pos.x = 102.6f;
    EXPECT_FALSE(a.checkCollisionBitmask(&b));

    // Without masks on both sides the pixel test is false.
    b.mask.reset();
    EXPECT_FALSE(a.checkCollisionBitmask(&b));
}

TEST(SpriteCollision, OuterBoxesArePlacedByTheIntegerPartOfTheCorner) {
    TestSprite a("A", nullptr, 100, 100);
    // b's box ends exactly where a's starts: the asymmetric overlap rule counts it from a's
    // side only.
    TestSprite b("B", nullptr, 92, 100);
    EXPECT_TRUE(a.checkCollisionOuterBoundingBox(&b));
    EXPECT_FALSE(b.checkCollisionOuterBoundingBox(&a));
    // 91.9 is cut toward zero to 91: one pixel short.
    b.pos.x = 91.9f;
    EXPECT_FALSE(a.checkCollisionOuterBoundingBox(&b));
    // The hotspot is subtracted before cutting.
    b.hotspot.x = -0.5f;
    EXPECT_TRUE(a.checkCollisionOuterBoundingBox(&b));
}

TEST(SpriteCollision, OneEngineCallsBackTheEarlierSpriteOfEachPairOnce) {
    CallLog log;
    TestSprite a("A", &log, 0, 0), b("B", &log, 4, 4), c("C", &log, 6, 0);
    TestSprite far("F", &log, 500, 500), off("O", &log, 2, 2);
    off.canCollide = false;
    c.visible = false;  // invisible sprites still collide
    SpriteEngine e;
    e.addBack(&a);
    e.addBack(&off);
    e.addBack(&b);
    e.addBack(&far);
    e.addBack(&c);
    e.testCollisions();
    EXPECT_EQ(log, (CallLog{"A>B", "A>C", "B>C"}));

    // The list order, not the creation order, decides who asks.
    log.clear();
    e.addFront(&c);
    e.testCollisions();
    EXPECT_EQ(log, (CallLog{"C>A", "C>B", "A>B"}));

    // A lone sprite is never tested against itself.
    log.clear();
    SpriteEngine single;
    single.addBack(&a);
    single.testCollisions();
    single.testCollisions(&single);
    EXPECT_TRUE(log.empty());
}

TEST(SpriteCollision, TwoEnginesCallBackBothSpritesThisEngineFirst) {
    CallLog log;
    TestSprite a("A", &log, 0, 0), b("B", &log, 20, 0);
    TestSprite c("C", &log, 4, 0), d("D", &log, 14, 0), off("O", &log, 0, 0);
    off.canCollide = false;
    SpriteEngine stones, foes;
    stones.addBack(&a);
    stones.addBack(&b);
    foes.addBack(&off);
    foes.addBack(&c);
    foes.addBack(&d);

    stones.testCollisions(&foes);
    // A reaches C (4 <= 8) and D (a's box ends at 8 < 14: no); B reaches D only.
    EXPECT_EQ(log, (CallLog{"A>C", "C>A", "B>D", "D>B"}));

    log.clear();
    foes.testCollisions(&stones);
    EXPECT_EQ(log, (CallLog{"C>A", "A>C", "D>B", "B>D"}));

    // Pixel masks decide between engines too.
    log.clear();
    c.setMask({{7, 0}});
    a.setMask({{0, 0}});
    stones.testCollisions(&foes);
    EXPECT_EQ(log, (CallLog{"B>D", "D>B"}));
    c.pos.x = -7;
    log.clear();
    stones.testCollisions(&foes);
    EXPECT_EQ(log, (CallLog{"A>C", "C>A", "B>D", "D>B"}));
}

TEST(SpriteEngineMembership, AddMoveRemoveAndDestroy) {
    TestSprite a("A", nullptr, 0, 0), b("B", nullptr, 0, 0), c("C", nullptr, 0, 0);
    auto names = [](const SpriteEngine& e) {
        std::string s;
        for (auto* spr : e.getSprites())
            s += static_cast<TestSprite*>(spr)->name;
        return s;
    };
    SpriteEngine e1, e2;
    e1.addBack(&a);
    e1.addBack(&b);
    e1.addFront(&c);
    EXPECT_EQ(names(e1), "CAB");
    EXPECT_EQ(a.getOwner(), &e1);

    // Adding again moves to the end, never lists twice.
    e1.addBack(&c);
    EXPECT_EQ(names(e1), "ABC");
    EXPECT_EQ(e1.size(), 3);

    // Adding to another engine moves the sprite.
    e2.addBack(&b);
    EXPECT_EQ(names(e1), "AC");
    EXPECT_EQ(names(e2), "B");
    EXPECT_EQ(b.getOwner(), &e2);

    // Removing through the wrong engine changes nothing.
    e1.remove(&b);
    EXPECT_EQ(names(e2), "B");
    EXPECT_EQ(b.getOwner(), &e2);
    e2.remove(&b);
    EXPECT_EQ(e2.size(), 0);
    EXPECT_EQ(b.getOwner(), nullptr);
    e2.remove(&b);
    EXPECT_EQ(e2.size(), 0);

    // A destroyed sprite leaves its engine.
    bool destroyed = false;
    {
        TestSprite temp("T", nullptr, 0, 0);
        temp.destroyed = &destroyed;
        e1.addFront(&temp);
        EXPECT_EQ(names(e1), "TAC");
    }
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(names(e1), "AC");

    // A destroyed engine leaves its sprites alive and ownerless.
    {
        SpriteEngine temp;
        temp.addBack(&a);
        temp.addBack(&b);
        EXPECT_EQ(names(e1), "C");
    }
    EXPECT_EQ(a.getOwner(), nullptr);
    EXPECT_EQ(b.getOwner(), nullptr);
    e1.clear();
    EXPECT_EQ(c.getOwner(), nullptr);
    EXPECT_EQ(e1.size(), 0);
}

namespace {
/// Appends a newcomer to its own engine when first performed.
class Spawner : public TestSprite {
  public:
    using TestSprite::TestSprite;
    void perform(float ticks) override {
        TestSprite::perform(ticks);
        if (child && !child->getOwner())
            getOwner()->addBack(child);
    }
    TestSprite* child = nullptr;
};
}  // namespace

TEST(SpriteEngineMembership, PerformReachesEverySpriteAndOnesAppendedDuringThePass) {
    SpriteEngine e;
    Spawner s("S", nullptr, 0, 0);
    TestSprite hidden("H", nullptr, 0, 0), child("C", nullptr, 0, 0);
    hidden.visible = false;
    s.child = &child;
    e.addBack(&s);
    e.addBack(&hidden);
    e.perform(16);
    EXPECT_EQ(s.performed, 16);
    EXPECT_EQ(hidden.performed, 16);
    EXPECT_EQ(child.getOwner(), &e);
    EXPECT_EQ(child.performed, 16);
    e.perform(4);
    EXPECT_EQ(child.performed, 20);
}
