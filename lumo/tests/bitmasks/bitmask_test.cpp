// Bitmasks: building from surfaces (threshold, depths, word boundaries, boxes), pixel access,
// printing and pixel-exact collisions, checked against plain per-pixel oracles.

#include "gfx/bitmasks/bitmask.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
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

using lumo::gfx::atom;
using lumo::gfx::Bitmask;
using lumo::gfx::checkCollisionBitmask;
using lumo::gfx::printCollisionBitmask;
using lumo::gfx::RectInt;

namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
typedef std::unique_ptr<SDL_Surface, SurfaceFree> Surface;

// Alpha in the top byte unless another alpha mask is asked for.
Surface makeSurface(int w, int h, Uint32 amask = 0xFF000000u) {
    const Uint32 rgb = ~amask;
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, rgb & 0x00FF0000u,
                                          rgb & 0x0000FF00u, rgb & 0x000000FFu, amask);
    if (!s)
        ADD_FAILURE() << SDL_GetError();
    return Surface(s);
}

void putPixel(SDL_Surface* s, int x, int y, Uint32 value) {
    reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x] = value;
}

void fillAlpha(SDL_Surface* s, Uint32 alphaInMask) {
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            putPixel(s, x, y, (0x00336699u & ~s->format->Amask) | alphaInMask);
}

// A pixel picture as rows of '#' (solid) and '.' (clear), top row first.
typedef std::vector<std::string> Picture;

Surface surfaceOf(const Picture& p) {
    Surface s = makeSurface(p.empty() ? 0 : int(p[0].size()), int(p.size()));
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            putPixel(s.get(), x, y, p[y][x] == '#' ? 0xFF102030u : 0x00102030u);
    return s;
}

std::unique_ptr<Bitmask> maskOf(const Picture& p, bool keepCache = false) {
    Surface s = surfaceOf(p);
    return std::make_unique<Bitmask>(s.get(), 0.5f, keepCache);
}

Picture randomPicture(std::mt19937& rng, int w, int h, double density) {
    std::bernoulli_distribution solid(density);
    Picture p(h, std::string(w, '.'));
    for (auto& row : p)
        for (auto& c : row)
            if (solid(rng))
                c = '#';
    return p;
}

bool solid(const Picture& p, int x, int y) {
    return y >= 0 && y < int(p.size()) && x >= 0 && x < int(p[y].size()) && p[y][x] == '#';
}

// The overlap of b placed at (dx, dy) over a, one character per pixel as printed.
std::string overlapOracle(const Picture& a, const Picture& b, int dx, int dy, bool* shared) {
    std::string out;
    *shared = false;
    const int aw = int(a[0].size()), ah = int(a.size());
    const int bw = int(b[0].size()), bh = int(b.size());
    if (std::max(0, dx) >= std::min(aw, bw + dx))
        return out;
    for (int y = std::max(0, dy); y < std::min(ah, bh + dy); ++y) {
        for (int x = std::max(0, dx); x < std::min(aw, bw + dx); ++x) {
            const bool inA = solid(a, x, y), inB = solid(b, x - dx, y - dy);
            *shared = *shared || (inA && inB);
            out += inA ? (inB ? 'X' : '1') : (inB ? '2' : '.');
        }
        out += '\n';
    }
    return out;
}

// The inner box as the scan defines it: for each set pixel in row-major order, the rectangles
// ending there, left-growing, replacing only on a strictly larger area. No shortcuts.
RectInt innerOracle(const Picture& p) {
    const int w = int(p[0].size()), h = int(p.size());
    std::vector<int> upper(w, -1);
    RectInt best;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!solid(p, x, y)) {
                upper[x] = -1;
                continue;
            }
            if (upper[x] == -1)
                upper[x] = y;
            int top = upper[x];
            for (int x2 = x; x2 >= 0 && solid(p, x2, y); --x2) {
                top = std::max(top, upper[x2]);
                RectInt r(x2, top, x - x2 + 1, y - top + 1);
                if (r > best)
                    best = r;
            }
        }
    return best;
}

bool allSolid(const Picture& p, const RectInt& r) {
    for (int y = r.pos.y; y < r.pos.y + r.dimensions.y; ++y)
        for (int x = r.pos.x; x < r.pos.x + r.dimensions.x; ++x)
            if (!solid(p, x, y))
                return false;
    return true;
}

// The largest all-solid area by trying every rectangle: independent of any scan order.
int largestSolidArea(const Picture& p) {
    const int w = int(p[0].size()), h = int(p.size());
    int best = 0;
    for (int y0 = 0; y0 < h; ++y0)
        for (int x0 = 0; x0 < w; ++x0)
            for (int y1 = y0; y1 < h; ++y1)
                for (int x1 = x0; x1 < w; ++x1)
                    if ((x1 - x0 + 1) * (y1 - y0 + 1) > best &&
                        allSolid(p, RectInt(x0, y0, x1 - x0 + 1, y1 - y0 + 1)))
                        best = (x1 - x0 + 1) * (y1 - y0 + 1);
    return best;
}

RectInt outerOracle(const Picture& p) {
    const int w = int(p[0].size()), h = int(p.size());
    int minX = w, maxX = 0, minY = h, maxY = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (solid(p, x, y)) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    return RectInt(minX, minY, maxX - minX + 1, maxY - minY + 1);
}

void expectPixels(const Bitmask& m, const Picture& p) {
    for (int y = 0; y < m.getHeight(); ++y)
        for (int x = 0; x < m.getWidth(); ++x)
            ASSERT_EQ(m.at(x, y), solid(p, x, y)) << "pixel " << x << "," << y;
}

// Bits of each row's last atom past the width must stay 0: the collision test relies on it.
void expectPaddingClear(const Bitmask& m) {
    const int spare = m.getAtomsPerLine() * 32 - m.getWidth();
    if (spare == 0)
        return;
    const atom padding = (atom(1) << spare) - 1;
    for (int y = 0; y < m.getHeight(); ++y)
        EXPECT_EQ(m.getBits()[(y + 1) * m.getAtomsPerLine() - 1] & padding, 0u) << "row " << y;
}

std::string captured(void (*print)(const Bitmask*, const Bitmask*, Sint32, Sint32),
                     const Bitmask* a, const Bitmask* b, int dx, int dy) {
    testing::internal::CaptureStdout();
    print(a, b, dx, dy);
    return testing::internal::GetCapturedStdout();
}

TEST(BitmaskBuild, ThresholdComparesAlphaOver256StrictlyAndHonoursTheAlphaMask) {
    const RectInt zero;
    Surface s = makeSurface(40, 3);

    fillAlpha(s.get(), 128u << 24);  // 128 / 256 = 0.5 is not greater than 0.5
    Bitmask half(s.get(), 0.5f, false);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_FALSE(half.at(x, y));
    EXPECT_EQ(*half.getOuterBoundingBox(), RectInt(40, 3, 1 - 40, 1 - 3));
    EXPECT_EQ(*half.getInnerBoundingBox(), zero);

    fillAlpha(s.get(), 129u << 24);
    Bitmask above(s.get(), 0.5f, false);
    EXPECT_EQ(*above.getOuterBoundingBox(), RectInt(0, 0, 40, 3));
    EXPECT_EQ(*above.getInnerBoundingBox(), RectInt(0, 0, 40, 3));
    EXPECT_TRUE(above.at(39, 2));
    expectPaddingClear(above);

    // Full alpha reads as 255 / 256, so it only passes thresholds below that.
    fillAlpha(s.get(), 255u << 24);
    EXPECT_FALSE(Bitmask(s.get(), 0.99609375f, false).at(0, 0));
    EXPECT_TRUE(Bitmask(s.get(), std::nextafter(0.99609375f, 0.0f), false).at(0, 0));
    EXPECT_FALSE(Bitmask(s.get(), 2.0f, false).at(0, 0));
    // Alpha 0 only passes a negative threshold.
    fillAlpha(s.get(), 0);
    EXPECT_FALSE(Bitmask(s.get(), 0.0f, false).at(5, 1));
    EXPECT_TRUE(Bitmask(s.get(), -0.001f, false).at(5, 1));

    // Alpha in the low byte, and a 4-bit alpha whose values are scaled by 16 (8 -> 128).
    Surface low = makeSurface(5, 5, 0x000000FFu);
    fillAlpha(low.get(), 0x81);
    EXPECT_TRUE(Bitmask(low.get(), 0.5f, false).at(4, 4));
    fillAlpha(low.get(), 0x80);
    EXPECT_FALSE(Bitmask(low.get(), 0.5f, false).at(4, 4));
    Surface nibble = makeSurface(5, 5, 0xF0000000u);
    fillAlpha(nibble.get(), 0x8u << 28);
    EXPECT_FALSE(Bitmask(nibble.get(), 0.5f, false).at(2, 2));
    EXPECT_TRUE(Bitmask(nibble.get(), 0.49f, false).at(2, 2));
    fillAlpha(nibble.get(), 0x9u << 28);
    EXPECT_TRUE(Bitmask(nibble.get(), 0.5f, false).at(2, 2));
    EXPECT_FALSE(Bitmask(nibble.get(), 0.5625f, false).at(2, 2));  // 144 / 256
}

TEST(BitmaskBuild, RowsStartOnFreshAtomsAtEveryWordBoundaryWidth) {
    std::mt19937 rng(31);
    for (int w : {1, 31, 32, 33, 63, 64, 65, 96}) {
        SCOPED_TRACE(w);
        const int words = (w + 31) / 32;

        Picture full(3, std::string(w, '#'));
        auto m = maskOf(full);
        EXPECT_EQ(m->getAtomsPerLine(), words);
        EXPECT_EQ(m->getSize(), std::uint32_t(words * 3));
        expectPaddingClear(*m);
        // The last atom of a row holds the remaining pixels in its high bits.
        const int rest = w % 32 == 0 ? 32 : w % 32;
        const atom last = rest == 32 ? ~atom(0) : ~atom(0) << (32 - rest);
        EXPECT_EQ(m->getBits()[2 * words + words - 1], last);

        for (double density : {0.1, 0.5, 0.9}) {
            Picture p = randomPicture(rng, w, 5, density);
            auto r = maskOf(p);
            expectPixels(*r, p);
            expectPaddingClear(*r);
        }
    }
}

TEST(BitmaskBuild, DepthsOtherThan32GiveClearMasksAndOnlyUnusualOnesComplain) {
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, 7, 2, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(rgb, nullptr);
    SDL_FillRect(rgb, nullptr, 0xFFFFFF);
    testing::internal::CaptureStdout();
    Bitmask fromRgb(rgb, -1.0f, false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    SDL_FreeSurface(rgb);
    EXPECT_FALSE(fromRgb.at(0, 0));
    EXPECT_EQ(*fromRgb.getOuterBoundingBox(), RectInt(7, 2, -6, -1));
    EXPECT_EQ(*fromRgb.getInnerBoundingBox(), RectInt());

    SDL_Surface* hi = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, 16, 0xF800, 0x7E0, 0x1F, 0);
    ASSERT_NE(hi, nullptr);
    SDL_FillRect(hi, nullptr, 0xFFFF);
    testing::internal::CaptureStdout();
    Bitmask fromHi(hi, -1.0f, false);
    std::string expected;
    for (int i = 0; i < 6; ++i)
        expected += "[bitmask] Can't handle 16 bits per pixel.\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
    SDL_FreeSurface(hi);
    EXPECT_FALSE(fromHi.at(2, 1));
    EXPECT_EQ(fromHi.getAtomsPerLine(), 1);
}

TEST(BitmaskBuild, SurfacesThatMustBeLockedAreReadThroughTheLock) {
    // A run-length encoded surface keeps no plain pixels until it is locked.
    Picture p = {"..##....", ".####...", "######..", "........"};
    Surface s = surfaceOf(p);
    SDL_SetAlpha(s.get(), SDL_SRCALPHA | SDL_RLEACCEL, 255);
    Surface target = makeSurface(8, 4);
    ASSERT_EQ(SDL_BlitSurface(s.get(), nullptr, target.get(), nullptr), 0);
    if (!SDL_MUSTLOCK(s.get()))
        GTEST_SKIP() << "this SDL does not encode the surface";
    Bitmask m(s.get(), 0.5f, false);
    expectPixels(m, p);
    EXPECT_EQ(*m.getOuterBoundingBox(), RectInt(0, 0, 6, 3));
    EXPECT_EQ(s->locked, 0);
}

TEST(BitmaskBoxes, InnerBoxIsTheLargerArmOfAnLAndTheFirstOfEqualAreas) {
    // Upright arm 3 x 6 = 18 against a foot of 8 x 2 = 16.
    Picture l = {"###.....", "###.....", "###.....", "###.....", "########", "########"};
    auto lMask = maskOf(l);
    EXPECT_EQ(*lMask->getInnerBoundingBox(), RectInt(0, 0, 3, 6));
    EXPECT_EQ(*lMask->getOuterBoundingBox(), RectInt(0, 0, 8, 6));
    // A wider foot wins: 10 x 2 = 20.
    Picture wide = {"###.......", "###.......", "###.......",
                    "###.......", "##########", "##########"};
    EXPECT_EQ(*maskOf(wide)->getInnerBoundingBox(), RectInt(0, 4, 10, 2));

    // Two separate 2 x 2 squares: the upper one is found first and stays.
    Picture twoSquares = {"......##", "......##", "........", "##......", "##......"};
    EXPECT_EQ(*maskOf(twoSquares)->getInnerBoundingBox(), RectInt(6, 0, 2, 2));
    // Within one row the left one is complete first.
    Picture sideBySide = {".##.##", ".##.##"};
    EXPECT_EQ(*maskOf(sideBySide)->getInnerBoundingBox(), RectInt(1, 0, 2, 2));
    // Ending at the same pixel, 1 x 2 (reaching least far left) beats 2 x 1.
    Picture corner = {".#", "##"};
    EXPECT_EQ(*maskOf(corner)->getInnerBoundingBox(), RectInt(1, 0, 1, 2));

    // A plus sign: both bars have area 5; the horizontal one is complete first (row 2).
    Picture plus = {"..#..", "..#..", "#####", "..#..", "..#.."};
    EXPECT_EQ(*maskOf(plus)->getInnerBoundingBox(), RectInt(0, 2, 5, 1));
    EXPECT_EQ(innerOracle(plus), RectInt(0, 2, 5, 1));
}

// A few overlapping solid blocks with some holes: long runs and many equal-area contenders.
Picture randomBlocks(std::mt19937& rng, int w, int h) {
    Picture p(h, std::string(w, '.'));
    const int blocks = int(rng() % 4) + 1;
    for (int i = 0; i < blocks; ++i) {
        const int x0 = int(rng() % w), y0 = int(rng() % h);
        const int x1 = x0 + int(rng() % (w - x0)), y1 = y0 + int(rng() % (h - y0));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                p[y][x] = '#';
    }
    for (int holes = int(rng() % 3); holes > 0; --holes)
        p[rng() % h][rng() % w] = '.';
    return p;
}

TEST(BitmaskBoxes, RandomMasksMatchTheScanAndHoldALargestSolidRectangle) {
    std::mt19937 rng(4242);
    std::uniform_int_distribution<int> side(1, 70);
    int previousWidth = -1;
    for (int i = 0; i < 800; ++i) {
        // Equal widths follow each other often, so the kept row cache gets reused.
        const int w = (i % 3 != 0 && previousWidth > 0) ? previousWidth : side(rng);
        const int h = side(rng) % 20 + 1;
        previousWidth = w;
        const double density =
            i % 7 == 0 ? 0.02 : std::uniform_real_distribution<double>(0.3, 0.97)(rng);
        Picture p = i % 2 ? randomBlocks(rng, w, h) : randomPicture(rng, w, h, density);
        auto m = maskOf(p, i % 5 != 4);
        SCOPED_TRACE(testing::Message() << "case " << i << " " << w << " x " << h);
        ASSERT_EQ(*m->getOuterBoundingBox(), outerOracle(p));
        const RectInt inner = *m->getInnerBoundingBox();
        ASSERT_EQ(inner, innerOracle(p));
        if (h <= 10 && w <= 24) {
            EXPECT_TRUE(allSolid(p, inner));
            EXPECT_EQ(inner.dimensions.x * inner.dimensions.y, largestSolidArea(p));
        }
    }
    lumo::gfx::clearBitmaskCache();
}

TEST(BitmaskBuild, RowCacheIsKeptForEqualWidthsAndReleasedOnRequest) {
    lumo::gfx::clearBitmaskCache();
    EXPECT_EQ(lumo::gfx::bitmaskCacheSize(), 0);
    Picture first = {"####", "####"}, second = {"#...", "#..."};
    maskOf(first, true);
    EXPECT_EQ(lumo::gfx::bitmaskCacheSize(), 4);
    // Columns that ended a run in the previous mask must not lengthen runs in this one.
    EXPECT_EQ(*maskOf(second, true)->getInnerBoundingBox(), RectInt(0, 0, 1, 2));
    EXPECT_EQ(lumo::gfx::bitmaskCacheSize(), 4);
    maskOf({"######"}, true);
    EXPECT_EQ(lumo::gfx::bitmaskCacheSize(), 6);
    lumo::gfx::clearBitmaskCache();
    EXPECT_EQ(lumo::gfx::bitmaskCacheSize(), 0);
    maskOf(first, true);
    maskOf(first, false);
    EXPECT_EQ(lumo::gfx::bitmaskCacheSize(), 0);
}

TEST(BitmaskAccess, OutOfRangeAndInvalidInputIsRefusedWithoutHarm) {
    const std::size_t depth = lumo::debug::messageCount();
    Bitmask m(33, 2);
    EXPECT_EQ(lumo::debug::previousMessage(), "Bitmask::Bitmask()");
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 33; ++x)
            ASSERT_FALSE(m.at(x, y));  // starts clear
    m.set(32, 1);
    m.set(33, 1);  // past the width: ignored, the padding stays clear
    m.set(-1, 0);
    m.set(0, 2);
    EXPECT_TRUE(m.at(32, 1));
    EXPECT_EQ(lumo::debug::previousMessage(), "Bitmask::at()");
    expectPaddingClear(m);
    const std::vector<std::pair<int, int>> outside = {{-1, 0}, {0, -1}, {33, 0},
                                                      {0, 2},  {64, 1}, {INT32_MIN, 0}};
    for (auto xy : outside)
        EXPECT_FALSE(m.at(xy.first, xy.second)) << xy.first << "," << xy.second;
    m.clear();
    EXPECT_EQ(lumo::debug::previousMessage(), "Bitmask::clear()");
    EXPECT_FALSE(m.at(32, 1));

    EXPECT_THROW(Bitmask bad(nullptr, 0.5f, false), std::string);
    EXPECT_THROW(Bitmask bad(-1, 4), std::string);
    EXPECT_THROW(Bitmask bad(4, -1), std::string);
    EXPECT_THROW(Bitmask bad(INT32_MAX, INT32_MAX), std::string);
    EXPECT_EQ(lumo::debug::messageCount(), depth);

    Bitmask empty(0, 0);
    EXPECT_EQ(empty.getSize(), 0u);
    EXPECT_FALSE(empty.at(0, 0));
    EXPECT_FALSE(checkCollisionBitmask(&empty, &m, 0, 0));
    EXPECT_FALSE(checkCollisionBitmask(&m, &empty, 0, 0));
    EXPECT_FALSE(checkCollisionBitmask(nullptr, &m, 0, 0));
    EXPECT_FALSE(checkCollisionBitmask(&m, nullptr, 0, 0));
    EXPECT_EQ(lumo::debug::previousMessage(), "Bitmask::checkCollisionBitmask()");
    EXPECT_EQ(captured(printCollisionBitmask, nullptr, &m, 0, 0), "");
    EXPECT_EQ(lumo::debug::messageCount(), depth);
}

TEST(BitmaskPrint, MaskPrintsBoxesAndPaddingAndOverlapPrintsOwners) {
    auto m = maskOf({".##", "###"});
    EXPECT_EQ(*m->getInnerBoundingBox(), RectInt(1, 0, 2, 2));
    testing::internal::CaptureStdout();
    m->print();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "3 x 2:\n.XX" + std::string(29, '0') + "|\n#XX" + std::string(29, '0') + "|\n");

    auto sparse = maskOf({"#..", "..#", "..."});
    testing::internal::CaptureStdout();
    sparse->print();
    const std::string pad(29, '0');
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "3 x 3:\nX.." + pad + "|\n..#" + pad + "|\n" + std::string(32, '0') + "|\n");
}

TEST(BitmaskCollision, SmallCasesAcrossWordsSidesAndExtremeOffsets) {
    Picture dot(32, std::string(32, '.'));
    dot[0][0] = '#';
    auto d1 = maskOf(dot), d2 = maskOf(dot);
    EXPECT_TRUE(checkCollisionBitmask(d1.get(), d2.get(), 0, 0));
    EXPECT_FALSE(checkCollisionBitmask(d1.get(), d2.get(), 1, 0));
    EXPECT_FALSE(checkCollisionBitmask(d1.get(), d2.get(), -1, 0));
    EXPECT_FALSE(checkCollisionBitmask(d1.get(), d2.get(), 0, 1));

    // Negative offsets place b left of a: b's (0, 0) lies on a's (-1, 0).
    auto left = maskOf({"#."}), right = maskOf({".#"});
    EXPECT_TRUE(checkCollisionBitmask(left.get(), right.get(), -1, 0));
    EXPECT_FALSE(checkCollisionBitmask(right.get(), left.get(), -1, 0));
    EXPECT_TRUE(checkCollisionBitmask(right.get(), left.get(), 1, 0));
    auto top = maskOf({"#", "."}), bottom = maskOf({".", "#"});
    EXPECT_TRUE(checkCollisionBitmask(top.get(), bottom.get(), 0, -1));
    EXPECT_FALSE(checkCollisionBitmask(top.get(), bottom.get(), 0, 1));
    EXPECT_TRUE(checkCollisionBitmask(right.get(), bottom.get(), 1, -1));
    EXPECT_TRUE(checkCollisionBitmask(bottom.get(), right.get(), -1, 1));

    // b (20 wide) at 16 over a (64 wide): b's pixels 16 to 19 meet a's 32 to 35 in a's next atom.
    Picture a(1, std::string(64, '.')), b(1, std::string(20, '.'));
    a[0][33] = '#';
    b[0][16] = '#';
    EXPECT_FALSE(checkCollisionBitmask(maskOf(a).get(), maskOf(b).get(), 16, 0));
    b[0][16] = '.';
    b[0][17] = '#';
    EXPECT_TRUE(checkCollisionBitmask(maskOf(a).get(), maskOf(b).get(), 16, 0));
    // A set pixel opening a's next atom only meets b's pixel on that very spot.
    Picture edge(1, std::string(40, '.'));
    edge[0][32] = '#';
    auto edgeMask = maskOf(edge);
    for (int dx = 1; dx < 32; ++dx) {
        Picture allBut(1, std::string(32, '#')), only(1, std::string(32, '.'));
        allBut[0][32 - dx] = '.';
        only[0][32 - dx] = '#';
        EXPECT_FALSE(checkCollisionBitmask(edgeMask.get(), maskOf(allBut).get(), dx, 0)) << dx;
        EXPECT_TRUE(checkCollisionBitmask(edgeMask.get(), maskOf(only).get(), dx, 0)) << dx;
    }

    auto solidA = maskOf(Picture(3, std::string(70, '#')));
    const std::vector<std::pair<int, int>> apart = {
        {INT32_MIN, 0}, {INT32_MAX, 0}, {0, INT32_MIN}, {0, INT32_MAX}, {INT32_MIN, INT32_MIN},
        {70, 0},        {-70, 0},       {0, 3},         {0, -3}};
    for (auto o : apart)
        EXPECT_FALSE(checkCollisionBitmask(solidA.get(), solidA.get(), o.first, o.second))
            << o.first << "," << o.second;
    EXPECT_TRUE(checkCollisionBitmask(solidA.get(), solidA.get(), 69, 2));
    EXPECT_TRUE(checkCollisionBitmask(solidA.get(), solidA.get(), -69, -2));

    EXPECT_EQ(captured(printCollisionBitmask, left.get(), right.get(), 0, 0), "12\n");
    EXPECT_EQ(captured(printCollisionBitmask, left.get(), right.get(), -1, 0), "X\n");
    EXPECT_EQ(captured(printCollisionBitmask, top.get(), bottom.get(), 0, 1), ".\n");
    EXPECT_EQ(captured(printCollisionBitmask, left.get(), right.get(), 2, 0), "");
    EXPECT_EQ(captured(printCollisionBitmask, left.get(), right.get(), 0, -1), "");
}

TEST(BitmaskCollision, RandomMasksAndOffsetsAgreeWithAPixelByPixelOracle) {
    std::mt19937 rng(20240611);
    const int widths[] = {1, 5, 17, 31, 32, 33, 40, 63, 64, 65, 96, 97, 130};
    std::uniform_int_distribution<int> pickWidth(0, int(std::size(widths)) - 1);
    std::uniform_int_distribution<int> pickHeight(1, 24);
    const double densities[] = {0.01, 0.04, 0.15, 0.4};
    int collisions = 0, cases = 0;
    for (int pair = 0; pair < 250; ++pair) {
        const double density = densities[pair % 4];
        Picture pa = randomPicture(rng, widths[pickWidth(rng)], pickHeight(rng), density);
        Picture pb = randomPicture(rng, widths[pickWidth(rng)], pickHeight(rng), density);
        auto a = maskOf(pa, true), b = maskOf(pb, true);
        const int aw = int(pa[0].size()), ah = int(pa.size());
        const int bw = int(pb[0].size()), bh = int(pb.size());
        std::uniform_int_distribution<int> dxs(-bw - 2, aw + 2), dys(-bh - 2, ah + 2);
        for (int k = 0; k < 16; ++k, ++cases) {
            const int dx = dxs(rng), dy = dys(rng);
            bool shared;
            const std::string overlap = overlapOracle(pa, pb, dx, dy, &shared);
            ASSERT_EQ(checkCollisionBitmask(a.get(), b.get(), dx, dy), shared)
                << aw << "x" << ah << " vs " << bw << "x" << bh << " at " << dx << "," << dy;
            ASSERT_EQ(checkCollisionBitmask(b.get(), a.get(), -dx, -dy), shared);
            collisions += shared;
            if (k == 0) {
                ASSERT_EQ(captured(printCollisionBitmask, a.get(), b.get(), dx, dy), overlap);
            }
        }
    }
    lumo::gfx::clearBitmaskCache();
    // Both answers must be well represented for the comparison to mean anything.
    EXPECT_GT(collisions, cases / 5) << collisions << " of " << cases;
    EXPECT_LT(collisions, cases * 3 / 4) << collisions << " of " << cases;
}

}  // namespace
