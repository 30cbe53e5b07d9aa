// Bitmasks: building from surfaces, the two boxes, printing and pixel-exact collisions, checked
// against plain per-pixel oracles.

#include "gfx/bitmasks/bitmask.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "debug/message_stack.hpp"

namespace lumo {
template <typename T>
void PrintTo(const basic_Rect<T>& r, std::ostream* os) {
    *os << "(" << r.pos.x << ", " << r.pos.y << ", " << r.dimensions.x << ", " << r.dimensions.y
        << ")";
}
}  // namespace lumo

using lumo::gfx::Bitmask;
using lumo::gfx::checkCollisionBitmask;
using lumo::gfx::printCollisionBitmask;
using lumo::gfx::RectInt;

namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
typedef std::unique_ptr<SDL_Surface, SurfaceFree> Surface;

// A 32-bit surface with alpha under `amask`; pixel (x, y) gets the masked alpha `alpha(x, y)`.
Surface filled(int w, int h, const std::function<Uint32(int, int)>& alpha,
               Uint32 amask = 0xFF000000u) {
    const Uint32 rgb = ~amask;
    Surface s(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, rgb & 0x00FF0000u, rgb & 0x0000FF00u,
                                   rgb & 0x000000FFu, amask));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x] =
                (0x00336699u & rgb) | alpha(x, y);
    return s;
}

// Rows of '#' (solid) and '.' (clear), top row first.
typedef std::vector<std::string> Picture;

bool solid(const Picture& p, int x, int y) {
    return y >= 0 && y < int(p.size()) && x >= 0 && x < int(p[y].size()) && p[y][x] == '#';
}

Surface surfaceOf(const Picture& p) {
    return filled(int(p[0].size()), int(p.size()),
                  [&p](int x, int y) { return solid(p, x, y) ? 0xFF000000u : 0u; });
}

std::unique_ptr<Bitmask> maskOf(const Picture& p, bool keepCache = false) {
    return std::make_unique<Bitmask>(surfaceOf(p).get(), 0.5f, keepCache);
}

Picture randomPicture(std::mt19937& rng, int w, int h, double density) {
    std::bernoulli_distribution set(density);
    Picture p(h, std::string(w, '.'));
    for (auto& row : p)
        for (auto& c : row)
            c = set(rng) ? '#' : '.';
    return p;
}

// Every pixel as in the picture, and the bits of each row's last atom past the width clear
// (the collision test relies on them).
void expectPixels(const Bitmask& m, const Picture& p) {
    ASSERT_EQ(m.getAtomsPerLine(), (m.getWidth() + 31) / 32);
    const int spare = m.getAtomsPerLine() * 32 - m.getWidth();
    const lumo::gfx::atom padding = spare ? (1u << spare) - 1 : 0;
    for (int y = 0; y < m.getHeight(); ++y) {
        for (int x = 0; x < m.getWidth(); ++x)
            ASSERT_EQ(m.at(x, y), solid(p, x, y)) << "pixel " << x << "," << y;
        ASSERT_EQ(m.getBits()[(y + 1) * m.getAtomsPerLine() - 1] & padding, 0u) << "row " << y;
    }
}

// The outer box, and the inner box by the literal scan: for each set pixel in row-major order,
// the rectangles ending there, growing to the left; only a strictly larger area replaces.
std::pair<RectInt, RectInt> boxesOracle(const Picture& p) {
    const int w = int(p[0].size()), h = int(p.size());
    int minX = w, maxX = 0, minY = h, maxY = 0;
    std::vector<int> upper(w, -1);
    RectInt inner;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!solid(p, x, y)) {
                upper[x] = -1;
                continue;
            }
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
            if (upper[x] == -1)
                upper[x] = y;
            int top = upper[x];
            for (int x2 = x; x2 >= 0 && solid(p, x2, y); --x2) {
                top = std::max(top, upper[x2]);
                if ((x - x2 + 1) * (y - top + 1) > inner.dimensions.x * inner.dimensions.y)
                    inner = RectInt(x2, top, x - x2 + 1, y - top + 1);
            }
        }
    return {RectInt(minX, minY, maxX - minX + 1, maxY - minY + 1), inner};
}

std::string printed(const Bitmask* a, const Bitmask* b, int dx, int dy) {
    testing::internal::CaptureStdout();
    if (b)
        printCollisionBitmask(a, b, dx, dy);
    else
        a->print();
    return testing::internal::GetCapturedStdout();
}

TEST(BitmaskBuild, AlphaOver256MustExceedTheThresholdWhateverTheAlphaMask) {
    // 128 / 256 is not greater than 0.5; full alpha reads as 255 / 256; 4-bit alpha is scaled
    // by 16 (8 -> 128).
    const float belowFull = std::nextafter(0.99609375f, 0.0f);
    const struct {
        Uint32 amask, alpha;
        float threshold;
        bool set;
    } cases[] = {{0xFF000000u, 128u << 24, 0.5f, false},
                 {0xFF000000u, 129u << 24, 0.5f, true},
                 {0xFF000000u, 255u << 24, 0.99609375f, false},
                 {0xFF000000u, 255u << 24, belowFull, true},
                 {0xFF000000u, 0, 0, false},
                 {0xFF000000u, 0, -0.001f, true},
                 {0x000000FFu, 0x81, 0.5f, true},
                 {0x000000FFu, 0x80, 0.5f, false},
                 {0xF0000000u, 8u << 28, 0.5f, false},
                 {0xF0000000u, 9u << 28, 0.5f, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << std::hex << c.amask << " " << c.alpha << " " << c.threshold);
        Surface surface = filled(
            40, 3, [&c](int, int) { return c.alpha; }, c.amask);
        Bitmask m(surface.get(), c.threshold, false);
        expectPixels(m, Picture(3, std::string(40, c.set ? '#' : '.')));
        EXPECT_EQ(*m.getOuterBoundingBox(), c.set ? RectInt(0, 0, 40, 3) : RectInt(40, 3, -39, -2));
        EXPECT_EQ(*m.getInnerBoundingBox(), c.set ? RectInt(0, 0, 40, 3) : RectInt());
    }
}

TEST(BitmaskBuild, OtherDepthsAndMissingPixelsGiveClearMasksAndOnlyOddDepthsComplain) {
    const std::string line16 = "[bitmask] Can't handle 16 bits per pixel.\n";
    for (int depth : {24, 16, 32}) {
        // The 32-bit surface has no pixel data at all.
        Surface s(depth == 32
                      ? SDL_CreateRGBSurfaceFrom(nullptr, 2, 2, 32, 8, 0xFF, 0xFF00, 0xFF0000, 0)
                      : SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 2, depth, 0xF800, 0x7E0, 0x1F, 0));
        if (depth != 32)
            SDL_FillRect(s.get(), nullptr, 0xFFFF);
        testing::internal::CaptureStdout();
        Bitmask m(s.get(), -1.0f, false);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  depth == 16 ? line16 + line16 + line16 + line16 : "");
        expectPixels(m, {});
        EXPECT_EQ(*m.getOuterBoundingBox(), RectInt(2, 2, -1, -1));
        EXPECT_EQ(*m.getInnerBoundingBox(), RectInt());
    }
}

TEST(BitmaskBuild, SurfacesThatMustBeLockedAreReadThroughTheLock) {
    // A run-length encoded surface keeps no plain pixels until it is locked.
    const Picture p = {"..##....", ".####...", "######..", "........"};
    Surface s = surfaceOf(p);
    SDL_SetAlpha(s.get(), SDL_SRCALPHA | SDL_RLEACCEL, 255);
    // Undoing the encoding (when the surface is locked) needs the blit's target.
    Surface target = filled(8, 4, [](int, int) { return 0u; });
    ASSERT_EQ(SDL_BlitSurface(s.get(), nullptr, target.get(), nullptr), 0);
    if (!SDL_MUSTLOCK(s.get()))
        GTEST_SKIP() << "this SDL does not encode the surface";
    Bitmask m(s.get(), 0.5f, false);
    expectPixels(m, p);
    EXPECT_EQ(s->locked, 0);
}

TEST(BitmaskBoxes, InnerBoxIsTheLargerArmOfAnLAndTheFirstOfEqualAreas) {
    const std::pair<Picture, RectInt> cases[] = {
        // Upright arm 3 x 6 = 18 against a foot of 8 x 2 = 16; then a foot of 10 x 2 wins.
        {{"###.....", "###.....", "###.....", "###.....", "########", "########"}, {0, 0, 3, 6}},
        {{"###.......", "###.......", "###.......", "###.......", "##########", "##########"},
         {0, 4, 10, 2}},
        // Equal areas: the upper square, the left one, the one reaching least far left, the
        // bar complete first.
        {{"......##", "......##", "........", "##......", "##......"}, {6, 0, 2, 2}},
        {{".##.##", ".##.##"}, {1, 0, 2, 2}},
        {{".#", "##"}, {1, 0, 1, 2}},
        {{"..#..", "..#..", "#####", "..#..", "..#.."}, {0, 2, 5, 1}}};
    for (const auto& c : cases) {
        EXPECT_EQ(*maskOf(c.first)->getInnerBoundingBox(), c.second) << c.first[0];
        EXPECT_EQ(boxesOracle(c.first).second, c.second) << c.first[0];
    }
}

TEST(BitmaskBoxes, RandomPicturesOfEveryWordBoundaryWidthMatchTheOracles) {
    std::mt19937 rng(4242);
    const int widths[] = {1, 31, 32, 33, 63, 64, 65, 96};
    int previousWidth = 1;
    for (int i = 0; i < 800; ++i) {
        // Equal widths follow each other often, so the kept row cache gets reused.
        const int w = i % 3 ? previousWidth : i % 2 ? widths[rng() % 8] : int(rng() % 70) + 1;
        const int h = int(rng() % 20) + 1;
        previousWidth = w;
        const double density = i % 7 == 0 ? 0.02 : i % 11 == 0 ? 1.0 : 0.3 + (rng() % 68) / 100.0;
        const Picture p = randomPicture(rng, w, h, density);
        SCOPED_TRACE(testing::Message() << "case " << i << " " << w << " x " << h);
        auto m = maskOf(p, i % 5 != 4);
        expectPixels(*m, p);
        ASSERT_EQ(*m->getOuterBoundingBox(), boxesOracle(p).first);
        ASSERT_EQ(*m->getInnerBoundingBox(), boxesOracle(p).second);
    }
    maskOf({"#"}, false);
    EXPECT_EQ(lumo::gfx::bitmaskCacheSize(), 0);
}

TEST(BitmaskAccess, BadInputAndExtremeOffsetsAreRefusedWithoutHarm) {
    const std::size_t depth = lumo::debug::messageCount();
    Bitmask m(33, 2);
    EXPECT_EQ(lumo::debug::previousMessage(), "Bitmask::Bitmask()");
    expectPixels(m, {});  // new masks start clear
    m.set(32, 1);
    m.set(33, 1);  // past the width: ignored, the padding stays clear
    expectPixels(m, {"", std::string(32, '.') + "#"});
    EXPECT_EQ(lumo::debug::previousMessage(), "Bitmask::at()");
    EXPECT_FALSE(m.at(-1, 0) || m.at(0, -1) || m.at(33, 0) || m.at(0, 2) || m.at(INT_MIN, 0));
    m.clear();
    EXPECT_EQ(lumo::debug::previousMessage(), "Bitmask::clear()");
    EXPECT_FALSE(m.at(32, 1));

    EXPECT_THROW(Bitmask(nullptr, 0.5f, false), std::string);
    EXPECT_THROW(Bitmask(-1, 4), std::string);
    EXPECT_THROW(Bitmask(4, -1), std::string);
    EXPECT_THROW(Bitmask(INT_MAX, INT_MAX), std::string);
    Bitmask empty(0, 0);
    EXPECT_FALSE(checkCollisionBitmask(&empty, &m, 0, 0));
    EXPECT_FALSE(checkCollisionBitmask(&m, &empty, 0, 0));
    EXPECT_FALSE(checkCollisionBitmask(nullptr, &m, 0, 0));
    EXPECT_EQ(lumo::debug::previousMessage(), "Bitmask::checkCollisionBitmask()");
    EXPECT_EQ(lumo::debug::messageCount(), depth);

    // Offsets far outside, negated or not, must not overflow into an overlap.
    auto full = maskOf(Picture(3, std::string(70, '#')));
    const std::pair<int, int> apart[] = {
        {INT_MIN, 0}, {INT_MAX, 0}, {0, INT_MIN}, {0, INT_MAX}, {INT_MIN, INT_MIN},
        {70, 0},      {-70, 0},     {0, 3},       {0, -3}};
    for (auto o : apart)
        EXPECT_FALSE(checkCollisionBitmask(full.get(), full.get(), o.first, o.second))
            << o.first << "," << o.second;
    EXPECT_TRUE(checkCollisionBitmask(full.get(), full.get(), -69, -2));
}

TEST(BitmaskPrint, MaskShowsBoxesAndPadding) {
    const std::string pad(29, '0');
    EXPECT_EQ(printed(maskOf({"#..", "..#", "..."}).get(), nullptr, 0, 0),
              "3 x 3:\nX.." + pad + "|\n..#" + pad + "|\n" + std::string(32, '0') + "|\n");
}

TEST(BitmaskCollision, RandomMasksAndOffsetsAgreeWithAPixelByPixelOracle) {
    std::mt19937 rng(20240611);
    const int widths[] = {1, 5, 17, 31, 32, 33, 40, 63, 64, 65, 96, 97, 130};
    const double densities[] = {0.01, 0.04, 0.15, 0.4};
    int collisions = 0, cases = 0;
    for (int pair = 0; pair < 250; ++pair) {
        const Picture pa =
            randomPicture(rng, widths[rng() % 13], int(rng() % 24) + 1, densities[pair % 4]);
        const Picture pb =
            randomPicture(rng, widths[rng() % 13], int(rng() % 24) + 1, densities[pair % 4]);
        auto a = maskOf(pa, true), b = maskOf(pb, true);
        const int aw = int(pa[0].size()), ah = int(pa.size());
        const int bw = int(pb[0].size()), bh = int(pb.size());
        for (int k = 0; k < 16; ++k, ++cases) {
            const int dx = int(rng() % (aw + bw + 5)) - bw - 2;
            const int dy = int(rng() % (ah + bh + 5)) - bh - 2;
            // The overlap as printed, and whether any pixel is shared.
            bool shared = false;
            std::string overlap;
            for (int y = std::max(0, dy); y < std::min(ah, bh + dy); ++y) {
                for (int x = std::max(0, dx); x < std::min(aw, bw + dx); ++x) {
                    const bool inA = solid(pa, x, y), inB = solid(pb, x - dx, y - dy);
                    shared = shared || (inA && inB);
                    overlap += inA ? (inB ? 'X' : '1') : (inB ? '2' : '.');
                }
                if (std::max(0, dx) < std::min(aw, bw + dx))
                    overlap += '\n';
            }
            ASSERT_EQ(checkCollisionBitmask(a.get(), b.get(), dx, dy), shared)
                << aw << "x" << ah << " vs " << bw << "x" << bh << " at " << dx << "," << dy;
            ASSERT_EQ(checkCollisionBitmask(b.get(), a.get(), -dx, -dy), shared);
            if (k == 0) {
                ASSERT_EQ(printed(a.get(), b.get(), dx, dy), overlap);
            }
            collisions += shared;
        }
    }
    lumo::gfx::clearBitmaskCache();
    // Both answers must be well represented for the comparison to mean anything.
    EXPECT_GT(collisions, cases / 5) << collisions << " of " << cases;
    EXPECT_LT(collisions, cases * 3 / 4) << collisions << " of " << cases;
}

}  // namespace
