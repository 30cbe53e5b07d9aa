// The game's pictures and animations as the game sees them: the generated bank fragments are read
// through the framework's banks, the images are loaded into textures, and their sizes, hotspots
// and masks are checked against the rules' geometry (800 x 600, y upwards; sprites put their
// hotspot on their position, directly drawn pictures put their lower-left corner at
// (x - hotX, y + hotY)).

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/animations/animation.hpp"
#include "gfx/animations/animation_bank.hpp"
#include "gfx/bitmasks/bitmask.hpp"
#include "gfx/images/image_bank.hpp"
#include "resources/resource_manager.hpp"
#include "support/gl_test_window.hpp"
#include "support/temp_dir.hpp"

using lumo::gfx::Animation;
using lumo::gfx::AnimationBank;
using lumo::gfx::Image;
using lumo::gfx::ImageBank;
using lumo::gfx::ImageResource;

namespace {

// The rules' numbers that the pictures must fit.
constexpr float kWallTop = 473;                // a climbing foe has won here and stands on the edge
constexpr float kPimY = 500;                   // Pim's position, on the walkway
constexpr float kStoneOffset = 40;             // a held stone's position above Pim's
constexpr float kFoeStart = -50;               // foes appear here, below the screen
constexpr float kFoeGone = -60;                // falling foes are removed below this
constexpr float kStoneGone = -30;              // stones likewise
constexpr int kKnockMin = 25, kKnockMax = 40;  // a falling foe this far below knocks one off

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The two fragments inside one resources document, read from the game's data folder; the image
// textures and masks are loaded once for all the tests.
struct Art {
    Art() {
        lumo::testing::openTestWindow();
        const std::string fragments = env("ART_FRAGMENT_DIR");
        manager.load(
            dir.write("resources.xml", "<resources>" + readFile(fragments + "images.xml") +
                                           readFile(fragments + "animations.xml") + "</resources>"),
            env("ART_DATA_DIR"));
        images.reset(dynamic_cast<ImageBank*>(manager["images"]));
        animations.reset(dynamic_cast<AnimationBank*>(manager["animations"]));
        manager.clear();
        if (images)
            images->refresh(nullptr);
    }
    lumo::testing::TempDir dir;
    lumo::ResourceManager manager;
    std::unique_ptr<ImageBank> images;
    std::unique_ptr<AnimationBank> animations;
};

// The banks live from the first test to the last (not until exit: destroying them logs, and the
// log's message stack is gone by the time static objects are destroyed).
class ArtTest : public ::testing::Test {
  public:
    static void SetUpTestSuite() { loaded = new Art; }
    static void TearDownTestSuite() {
        delete loaded;
        loaded = nullptr;
    }
    static Art* loaded;
};
Art* ArtTest::loaded = nullptr;

Art& art() {
    return *ArtTest::loaded;
}

// World heights of the top and bottom of an image's solid pixels with its hotspot at height y.
float maskTop(const Image* i, float y) {
    return y + i->getHotspot().y - i->getOuterBoundingBox().pos.y;
}
float maskBottom(const Image* i, float y) {
    const auto& box = i->getOuterBoundingBox();
    return y + i->getHotspot().y - (box.pos.y + box.dimensions.y);
}

// Every frame image of an animation.
std::vector<const Image*> frames(const char* name) {
    std::vector<const Image*> out;
    const Animation* a = art().animations ? art().animations->at(name) : nullptr;
    if (a)
        for (const auto& f : a->frames)
            out.push_back(f.image);
    return out;
}

TEST_F(ArtTest, EveryPictureAndAnimationTheGameNamesIsThereAndLoaded) {
    ASSERT_NE(nullptr, art().images);
    ASSERT_NE(nullptr, art().animations);
    for (const char* name :
         {"wall", "stone", "trunk", "foe_base", "greatPim", "title", "credits", "gameover",
          "cursor", "frame_upper_left", "frame_upper", "frame_upper_right", "frame_left",
          "frame_center", "frame_right", "frame_lower_left", "frame_lower", "frame_lower_right"}) {
        const ImageResource* i = art().images->at(name);
        ASSERT_NE(nullptr, i) << name;
        EXPECT_GT(i->getWidth() * i->getHeight(), 0u) << name;
    }
    const Image* wall = art().images->at("wall");
    EXPECT_EQ(800u, wall->getWidth());
    EXPECT_EQ(600u, wall->getHeight());

    // Cycles loop and show motion over at least four frames; every frame has a mask, so
    // collisions follow the drawn shapes, and keeps the animation's hotspot, so the sprite does
    // not jump between frames.
    for (const char* name : {"pim", "foe_climb", "foe_strafe", "foe_fall", "foe_victory"}) {
        const Animation* a = art().animations->at(name);
        ASSERT_NE(nullptr, a) << name;
        EXPECT_TRUE(a->loop) << name;
        ASSERT_GE(a->frames.size(), 4u) << name;
        for (const auto& f : a->frames) {
            ASSERT_NE(nullptr, f.image) << name;
            EXPECT_NE(nullptr, f.image->getBitmask()) << name;
            EXPECT_EQ(a->frames[0].image->getHotspot().x, f.image->getHotspot().x) << name;
            EXPECT_EQ(a->frames[0].image->getHotspot().y, f.image->getHotspot().y) << name;
            EXPECT_GE(f.delay, 40.f) << name;
            EXPECT_LE(f.delay, 150.f) << name;
        }
    }
    for (const char* name : {"stone", "trunk", "foe_base"})
        EXPECT_NE(nullptr, art().images->at(name)->getBitmask()) << name;
}

TEST_F(ArtTest, FramePiecesFitTogetherAndTile) {
    // Corners are as thick as the edges beside them; edges and centre fill their textures
    // (power-of-two sides), so a frame drawn at natural scale repeats them without gaps.
    auto at = [](const std::string& piece) { return art().images->at("frame_" + piece); };
    auto powerOfTwo = [](Uint32 n) { return n > 0 && (n & (n - 1)) == 0; };
    const Uint32 w = at("upper_left")->getWidth(), h = at("upper_left")->getHeight();
    for (const char* corner : {"upper_right", "lower_left", "lower_right"}) {
        EXPECT_EQ(w, at(corner)->getWidth()) << corner;
        EXPECT_EQ(h, at(corner)->getHeight()) << corner;
    }
    for (const char* edge : {"upper", "lower"})
        EXPECT_EQ(h, at(edge)->getHeight()) << edge;
    for (const char* edge : {"left", "right"})
        EXPECT_EQ(w, at(edge)->getWidth()) << edge;
    for (const char* piece : {"upper", "lower", "left", "right", "center"}) {
        EXPECT_TRUE(powerOfTwo(at(piece)->getWidth())) << piece;
        EXPECT_TRUE(powerOfTwo(at(piece)->getHeight())) << piece;
    }
}

TEST_F(ArtTest, DirectlyDrawnPicturesLandOnTheScreenWhereTheGameDrawsThem) {
    struct Placement {
        const char* name;
        float x, y;
        float minBottom, maxTop;  // the band the picture must stay in
    };
    // The game-over lettering stays above the high-score table (its title at y 370) and the
    // credits at the foot of the title screen, below the title.
    const Placement placements[] = {{"greatPim", 400, 0, 0, 600},
                                    {"title", 400, 350, 350, 600},
                                    {"credits", 400, -40, 0, 120},
                                    {"gameover", 400, 500, 390, 600},
                                    {"wall", 0, 0, 0, 600}};
    for (const Placement& p : placements) {
        const ImageResource* i = art().images->at(p.name);
        ASSERT_NE(nullptr, i) << p.name;
        const float left = p.x - i->getHotspot().x, bottom = p.y + i->getHotspot().y;
        EXPECT_GE(left, 0) << p.name;
        EXPECT_LE(left + i->getWidth(), 800) << p.name;
        EXPECT_GE(bottom, p.minBottom) << p.name;
        EXPECT_LE(bottom + i->getHeight(), p.maxTop) << p.name;
        // Centred on the drawing point.
        EXPECT_NEAR(p.x == 0 ? 400 : p.x, left + i->getWidth() / 2.f, 1) << p.name;
    }
}

TEST_F(ArtTest, LetteringIsWhiteOnTransparentGroundSoTheGameCanTintIt) {
    for (const char* name : {"title", "credits", "gameover"}) {
        const std::string file = art().images->at(name)->getFilename();
        SDL_Surface* s = IMG_Load(file.c_str());
        ASSERT_NE(nullptr, s) << file;
        ASSERT_EQ(32, s->format->BitsPerPixel) << name;
        int solid = 0, clear = 0, off = 0;
        SDL_LockSurface(s);
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x) {
                Uint8 r, g, b, a;
                SDL_GetRGBA(static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x], s->format, &r,
                            &g, &b, &a);
                if (a == 0)
                    ++clear;
                else
                    ++solid;
                off += a > 0 && (r != g || g != b || r < 200);
            }
        SDL_UnlockSurface(s);
        SDL_FreeSurface(s);
        EXPECT_EQ(0, off) << name << ": lettering pixels that are not white";
        EXPECT_GT(solid, 500) << name;
        EXPECT_GT(clear, solid) << name;
    }
}

TEST_F(ArtTest, FiguresStandOnTheWallAndTheStoneRestsOnPimsHands) {
    // The wall's top edge: the coping's lit front lies just below y 473, the walkway above it is
    // darker, and so is the face below.
    SDL_Surface* wall = IMG_Load(art().images->at("wall")->getFilename().c_str());
    ASSERT_NE(nullptr, wall);
    auto brightness = [wall](int y) {
        SDL_LockSurface(wall);
        double sum = 0;
        const Uint8* row = static_cast<const Uint8*>(wall->pixels) + (599 - y) * wall->pitch;
        for (int x = 0; x < wall->w; ++x) {
            Uint8 r, g, b, a;
            SDL_GetRGBA(*reinterpret_cast<const Uint32*>(row + x * wall->format->BytesPerPixel),
                        wall->format, &r, &g, &b, &a);
            sum += 0.3 * r + 0.59 * g + 0.11 * b;
        }
        SDL_UnlockSurface(wall);
        return sum / wall->w;
    };
    const double edge = brightness(int(kWallTop) - 1);
    EXPECT_GT(edge, brightness(int(kWallTop) + 3) + 40);
    EXPECT_GT(edge, brightness(int(kWallTop) - 20) + 40);
    SDL_FreeSurface(wall);

    // Feet on the ground: Pim's on the walkway at his position, a victorious foe's on the edge.
    for (const Image* i : frames("pim"))
        EXPECT_NEAR(kPimY, maskBottom(i, kPimY), 2);
    for (const Image* i : frames("foe_victory")) {
        EXPECT_GE(maskBottom(i, kWallTop), kWallTop - 1);
        EXPECT_LE(maskBottom(i, kWallTop), kWallTop + 6);  // a jump lifts the feet a little
    }
    for (const Image* i : frames("foe_climb"))
        EXPECT_NEAR(kWallTop, maskBottom(i, kWallTop), 2);

    // The held stone and the trunk sit on Pim's raised hands: their bottoms are within a few
    // pixels of the top of his hands.
    for (const char* load : {"stone", "trunk"}) {
        const Image* stone = art().images->at(load);
        for (const Image* pim : frames("pim")) {
            const float hands = maskTop(pim, kPimY),
                        under = maskBottom(stone, kPimY + kStoneOffset);
            EXPECT_GE(hands, under) << load;
            EXPECT_LE(hands - under, 8) << load;
        }
    }
}

TEST_F(ArtTest, FoesAndStonesComeAndGoOutOfSight) {
    for (const Image* i : frames("foe_climb"))
        EXPECT_LT(maskTop(i, kFoeStart), 0);
    for (const Image* i : frames("foe_fall"))
        EXPECT_LT(maskTop(i, kFoeGone), 0);
    for (const char* name : {"stone", "trunk"})
        EXPECT_LT(maskTop(art().images->at(name), kStoneGone), 0) << name;
}

TEST_F(ArtTest, AFallingFoeTouchesAClimbingOneItPassesAtKnockingDistance) {
    // Placed as the sprite engine places two masks: the climbing foe at (400, 200), the falling
    // one d below it. Every pair of frames touches over the whole knocking range, so a foe
    // falling past another is tested against it in every frame of that range.
    for (const Image* climb : frames("foe_climb"))
        for (const Image* fall : frames("foe_fall"))
            for (int d = kKnockMin; d <= kKnockMax; d += 3) {
                const float y = 200, fy = y - d;
                const int xOffset =
                    int(std::lround((400 - fall->getHotspot().x) - (400 - climb->getHotspot().x)));
                const int yOffset =
                    int(std::lround((y + climb->getHotspot().y) - (fy + fall->getHotspot().y)));
                EXPECT_TRUE(lumo::gfx::checkCollisionBitmask(climb->getBitmask(),
                                                             fall->getBitmask(), xOffset, yOffset))
                    << "distance " << d;
            }
}

}  // namespace
