#include <gtest/gtest.h>

#include "sprites/test_sprite.hpp"

using lumo::gfx::RectInt;
using lumo::sprites::SpriteEngine;
using lumo::testing::CallLog;
using lumo::testing::TestSprite;

TEST(SpriteCollision, OuterBoxesRejectInnerBoxesAcceptMasksDecide) {
    CallLog log;
    TestSprite a("A", &log, 100, 100), b("B", &log, 104, 104);
    // Neither has a mask: overlapping outer boxes are enough.
    EXPECT_TRUE(a.checkCollision(&b));
    EXPECT_TRUE(b.checkCollision(&a));
    // Masks whose pixels do not meet decide against the boxes...
    a.setMask(0, 0);
    b.setMask(7, 7);
    EXPECT_FALSE(a.checkCollision(&b));
    // ... unless the inner boxes overlap, which accepts without looking at pixels.
    a.innerBoundingBox = b.innerBoundingBox = RectInt(0, 0, 8, 8);
    EXPECT_TRUE(a.checkCollision(&b));
    // An inner box of zero width never accepts, even one lying over the other's.
    b.innerBoundingBox = RectInt(0, 0, 0, 8);
    EXPECT_FALSE(a.checkCollisionInnerBoundingBox(&b));
    EXPECT_FALSE(b.checkCollisionInnerBoundingBox(&a));
    EXPECT_FALSE(a.checkCollision(&b));
    // Only one mask: the box result stands.
    b.mask.reset();
    EXPECT_FALSE(a.checkCollisionBitmask(&b));
    EXPECT_TRUE(a.checkCollision(&b));
    // Apart outer boxes reject even when inner boxes and masks would accept.
    b.setMask(0, 0);
    b.innerBoundingBox = RectInt(-100, -100, 300, 300);
    b.pos.x = 120;
    EXPECT_FALSE(a.checkCollision(&b));

    // Outer boxes stand at the integer part (toward zero) of pos - hotspot. A box ending
    // exactly where the other starts overlaps from that other's side only.
    b.pos = {92, 100};
    EXPECT_TRUE(a.checkCollisionOuterBoundingBox(&b));
    EXPECT_FALSE(b.checkCollisionOuterBoundingBox(&a));
    b.pos.x = 91.9f;
    EXPECT_FALSE(a.checkCollisionOuterBoundingBox(&b));
    b.hotspot.x = -0.5f;
    EXPECT_TRUE(a.checkCollisionOuterBoundingBox(&b));
}

TEST(SpriteCollision, MaskOffsetsFollowPositionAndHotspotWithRowsRunningDown) {
    CallLog log;
    TestSprite a("A", &log, 100, 100), b("B", &log, 0, 0);
    // b's pixel (0, 6) meets a's (0, 0) when b's top-left corner, (pos.x - 2, pos.y + 3) with
    // hotspot (2, 3), is (100, 106): rows run down from the top edge. Offsets are rounded half
    // up.
    a.setMask(0, 0);
    b.setMask(0, 6);
    b.hotspot = {2, 3};
    for (float x : {101.0f, 102.0f, 102.4f, 102.6f, 103.0f})
        for (float y : {102.0f, 103.0f, 104.0f}) {
            b.pos = {x, y};
            const bool hit = x >= 102 && x < 102.5f && y == 103;
            EXPECT_EQ(a.checkCollisionBitmask(&b), hit) << x << "," << y;
        }
}

TEST(SpriteCollision, OneEngineCallsBackTheEarlierSpriteOfEachPairOnce) {
    CallLog log;
    TestSprite a("A", &log, 0, 0), b("B", &log, 4, 4), c("C", &log, 6, 0);
    TestSprite far("F", &log, 500, 500), off("O", &log, 2, 2);
    off.canCollide = false;
    c.visible = false;  // invisible sprites still collide
    SpriteEngine e, single;
    for (TestSprite* s : {&a, &off, &b, &far, &c})
        e.addBack(s);
    e.testCollisions();
    EXPECT_EQ(log, (CallLog{"A>B", "A>C", "B>C"}));
    // The list order, not the creation order, decides who asks.
    log.clear();
    e.addFront(&c);
    e.testCollisions();
    EXPECT_EQ(log, (CallLog{"C>A", "C>B", "A>B"}));

    // A sprite is never tested against itself, even by an engine tested against itself.
    log.clear();
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
    for (TestSprite* s : {&off, &c, &d})
        foes.addBack(s);
    // A reaches C (4 <= 8) but not D (a's box ends at 8 < 14); B reaches D only.
    stones.testCollisions(&foes);
    EXPECT_EQ(log, (CallLog{"A>C", "C>A", "B>D", "D>B"}));
    log.clear();
    foes.testCollisions(&stones);
    EXPECT_EQ(log, (CallLog{"C>A", "A>C", "D>B", "B>D"}));
    // Pixel masks decide between engines too.
    log.clear();
    c.setMask(7, 0);
    a.setMask(0, 0);
    stones.testCollisions(&foes);
    EXPECT_EQ(log, (CallLog{"B>D", "D>B"}));
}

TEST(SpriteEngineMembership, AddMoveRemoveDestroyAndPerform) {
    CallLog log;
    TestSprite a("A", &log, 0, 0), b("B", &log, 0, 0), c("C", &log, 0, 0), k("K", &log, 0, 0);
    SpriteEngine e1, e2;
    e1.addBack(&a);
    e1.addBack(&b);
    e1.addFront(&c);
    EXPECT_EQ(TestSprite::names(e1), "CAB");
    // Adding again moves to the end, never lists twice; adding elsewhere moves the sprite.
    e1.addBack(&c);
    EXPECT_EQ(TestSprite::names(e1), "ABC");
    e2.addBack(&b);
    EXPECT_EQ(TestSprite::names(e1) + "|" + TestSprite::names(e2), "AC|B");
    EXPECT_EQ(b.getOwner(), &e2);
    // Removing through the wrong engine changes nothing.
    e1.remove(&b);
    EXPECT_EQ(b.getOwner(), &e2);
    e2.remove(&b);
    EXPECT_EQ(e2.size(), 0);
    EXPECT_EQ(b.getOwner(), nullptr);

    // Perform reaches every sprite, invisible ones and ones appended during the pass included.
    a.spawn = &k;
    c.visible = false;
    e1.perform(16);
    EXPECT_EQ(TestSprite::names(e1), "ACK");
    EXPECT_EQ(c.performed + k.performed, 32);

    // A destroyed sprite leaves its engine; a destroyed engine leaves its sprites ownerless.
    {
        TestSprite temp("T", &log, 0, 0);
        e1.addFront(&temp);
    }
    EXPECT_EQ(log, (CallLog{"~T"}));
    EXPECT_EQ(TestSprite::names(e1), "ACK");
    {
        SpriteEngine temp;
        temp.addBack(&a);
        temp.addBack(&b);
    }
    EXPECT_EQ(a.getOwner(), nullptr);
    EXPECT_EQ(b.getOwner(), nullptr);
    EXPECT_EQ(TestSprite::names(e1), "CK");
    e1.clear();
    EXPECT_EQ(c.getOwner(), nullptr);
    EXPECT_EQ(e1.size(), 0);
}
