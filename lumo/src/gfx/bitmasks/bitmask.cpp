#include "gfx/bitmasks/bitmask.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "debug/message_stack.hpp"

namespace lumo {
namespace gfx {
namespace {

// The row cache of the inner-box scan, 4 x `cacheSize` ints: per column the first row of the
// vertical run of set pixels that ends in the current row (or -1), a copy of that as it was in
// the row holding the largest rectangle so far, and a stack of (start column, height) pairs.
// Kept between masks of equal width so that a bank of equally wide images allocates it once.
int cacheSize = 0;
std::unique_ptr<int[]> cache;

int atomsFor(int width) {
    return int((std::int64_t(width) + MSB) / BITWIDTH);
}

bool bitAt(const atom* bits, int atomsPerLine, int x, int y) {
    return (bits[std::size_t(y) * atomsPerLine + x / BITWIDTH] >> (MSB - x % BITWIDTH)) & 1u;
}

// Two atoms as one 64-pixel word, the first atom's pixels leftmost (in the high half).
inline std::uint64_t join(atom left, atom right) {
    return (std::uint64_t(left) << 32) | right;
}
// The same for two neighbouring atoms: one load, and on little-endian machines a rotation.
inline std::uint64_t joinAt(const atom* p) {
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return (v << 32) | (v >> 32);
#else
    return join(p[0], p[1]);
#endif
}

// The pixels that a and b share in the 64-pixel piece of b's row that starts at atom x of
// lineB, where b's pixel 0 lies `shift` pixels into lineA[0]: a's row is shifted into b's
// alignment from three atoms. The flags say whether a's second and third and b's second atom
// of the piece exist (all do except possibly in a row's last piece), so no bounds are tested.
template <bool A1, bool A2, bool B1>
inline std::uint64_t sharedPixels(const atom* lineA, const atom* lineB, int x, int shift) {
    const std::uint64_t left = A1 ? joinAt(lineA + x) : join(lineA[x], 0);
    // Shifting the 64-bit value by 32 when shift is 0 gives 0, as it should.
    const std::uint64_t right = A2 ? std::uint64_t(lineA[x + 2]) >> (BITWIDTH - shift) : 0;
    const std::uint64_t piece = B1 ? joinAt(lineB + x) : join(lineB[x], 0);
    return ((left << shift) | right) & piece;
}

// Whether `rows` rows of a and b share a set pixel. Pieces before the one at atom `last` have
// all their atoms; the template flags describe the last piece. Masks up to 64 pixels wide have
// only that piece (Wide false); their rows are taken four at a time with one test.
template <bool A1, bool A2, bool B1, bool Wide>
bool overlapRows(const atom* lineA, int strideA, const atom* lineB, int strideB, int rows, int last,
                 int shift) {
    if (!Wide) {
        int y = 0;
        for (; y + 3 < rows; y += 4, lineA += 4 * strideA, lineB += 4 * strideB)
            if (sharedPixels<A1, A2, B1>(lineA, lineB, 0, shift) |
                sharedPixels<A1, A2, B1>(lineA + strideA, lineB + strideB, 0, shift) |
                sharedPixels<A1, A2, B1>(lineA + 2 * strideA, lineB + 2 * strideB, 0, shift) |
                sharedPixels<A1, A2, B1>(lineA + 3 * strideA, lineB + 3 * strideB, 0, shift))
                return true;
        for (; y < rows; ++y, lineA += strideA, lineB += strideB)
            if (sharedPixels<A1, A2, B1>(lineA, lineB, 0, shift))
                return true;
        return false;
    }
    for (int y = 0; y < rows; ++y, lineA += strideA, lineB += strideB) {
        for (int x = 0; x < last; x += 2)
            if (sharedPixels<true, true, true>(lineA, lineB, x, shift))
                return true;
        if (sharedPixels<A1, A2, B1>(lineA, lineB, last, shift))
            return true;
    }
    return false;
}
typedef bool (*RowsTest)(const atom*, int, const atom*, int, int, int, int);

bool inside(const RectInt& r, int x, int y) {
    return x >= r.pos.x && x < r.pos.x + r.dimensions.x && y >= r.pos.y &&
           y < r.pos.y + r.dimensions.y;
}

// The smallest masked alpha value (pixel AND Amask) that counts as set: alpha / 256 must be
// strictly greater than the threshold, where alpha = ((pixel & Amask) >> Ashift) << Aloss.
// Alpha is monotonic in the masked value because Amask is one run of bits, so one comparison
// per pixel replaces the shifts and the floating-point division. Returns a value above every
// 32-bit pixel when nothing can be set.
std::uint64_t smallestSetAlpha(const SDL_PixelFormat* format, float threshold) {
    const std::uint64_t never = std::uint64_t(1) << 32;
    const double limit = double(threshold) * 256.0;  // exact: alpha / 256.0 > t <=> alpha > limit
    if (std::isnan(limit))
        return never;
    if (limit < 0)
        return 0;
    if (limit >= 4294967296.0)
        return never;
    const std::uint64_t alpha = std::uint64_t(std::floor(limit)) + 1;
    const std::uint64_t step = std::uint64_t(1) << format->Aloss;
    const std::uint64_t masked = ((alpha + step - 1) / step) << format->Ashift;
    return masked > format->Amask ? never : masked;
}

}  // namespace

Bitmask::Bitmask(int width, int height) {
    debug::MessageScope scope("Bitmask::Bitmask()");
    allocate(width, height);
}

Bitmask::Bitmask(SDL_Surface* surface, float threshold, bool keepCache) {
    debug::MessageScope scope("Bitmask::Bitmask(SDL_Surface *,GLfloat)");
    if (!surface)
        throw std::string("Cannot build a bitmask from a null surface.");
    allocate(surface->w, surface->h);

    const bool mustLock = SDL_MUSTLOCK(surface);
    if (mustLock && SDL_LockSurface(surface) != 0)
        return;
    if (cacheSize != w) {
        clearBitmaskCache();
        cacheSize = w;
        cache.reset(new int[4 * std::size_t(w)]);
    }
    std::fill(cache.get(), cache.get() + w, -1);

    buildFromSurface(surface, threshold);

    if (mustLock)
        SDL_UnlockSurface(surface);
    if (!keepCache)
        clearBitmaskCache();
}

Bitmask::~Bitmask() {
    delete[] bits;
}

void Bitmask::allocate(int width, int height) {
    if (width < 0 || height < 0)
        throw std::string("Invalid bitmask size ") + std::to_string(width) + " x " +
            std::to_string(height) + ".";
    const std::int64_t count = std::int64_t(atomsFor(width)) * height;
    if (count > std::int64_t(UINT32_MAX))
        throw std::string("Bitmask of ") + std::to_string(width) + " x " + std::to_string(height) +
            " is too large.";
    w = width;
    h = height;
    atomsPerLine = atomsFor(width);
    size = std::uint32_t(count);
    // Cleared at once: a mask read before anyone clears it would otherwise collide with
    // whatever the allocator handed back.
    bits = new atom[size]();
}

void Bitmask::buildFromSurface(SDL_Surface* surface, float threshold) {
    int minX = w, maxX = 0, minY = h, maxY = 0;
    const int depth = surface->format->BitsPerPixel;
    if (depth == 32) {
        if (surface->pixels)  // a 32-bit surface without pixel data reads as all clear
            scanPixels(surface, threshold, minX, maxX, minY, maxY);
    } else if (depth != 24) {  // 24-bit surfaces read as all clear, silently
        for (std::int64_t i = 0, n = std::int64_t(w) * h; i < n; ++i)
            std::printf("[bitmask] Can't handle %d bits per pixel.\n", depth);
        std::fflush(stdout);
    }
    outerBoundingBox = RectInt(minX, minY, maxX - minX + 1, maxY - minY + 1);
}

void Bitmask::scanPixels(SDL_Surface* surface, float threshold, int& minX, int& maxX, int& minY,
                         int& maxY) {
    const std::uint64_t setFrom = smallestSetAlpha(surface->format, threshold);
    const Uint32 amask = surface->format->Amask;
    const Uint8* pixels = static_cast<const Uint8*>(surface->pixels);
    int* const upper = cache.get();
    int* const bestUpper = upper + w;
    long long bestArea = 0;
    int bestRow = -1;
    atom* out = bits;

    for (int y = 0; y < h; ++y, out += atomsPerLine) {
        const Uint32* row =
            reinterpret_cast<const Uint32*>(pixels + std::size_t(y) * surface->pitch);
        atom word = 0;
        for (int x = 0; x < w; ++x) {
            // Branch-free: in pictures with ragged edges, set and clear pixels alternate too
            // irregularly for branches to be predicted.
            const bool hit = (row[x] & amask) >= setFrom;
            word |= atom(hit) << (MSB - x % BITWIDTH);
            upper[x] = hit ? (upper[x] < 0 ? y : upper[x]) : -1;
            if (x % BITWIDTH == MSB) {
                out[x / BITWIDTH] = word;
                word = 0;
            }
        }
        if (w % BITWIDTH != 0)
            out[w / BITWIDTH] = word;

        // Extremes from the row's first and last non-zero atom.
        int first = 0, last = atomsPerLine - 1;
        while (first <= last && out[first] == 0)
            ++first;
        if (first <= last) {
            while (out[last] == 0)
                --last;
            minX = std::min(minX, first * BITWIDTH + __builtin_clz(out[first]));
            maxX = std::max(maxX, last * BITWIDTH + MSB - __builtin_ctz(out[last]));
            minY = std::min(minY, y);
            maxY = y;
        }

        // The inner box is the first rectangle, in the order of the row-by-row scan, with the
        // largest area. So only the first row whose own largest rectangle beats all earlier
        // rows matters, and only that row is searched in scan order at the end.
        const long long rowArea = largestRectangleEndingIn(upper, y, upper + 2 * w, upper + 3 * w);
        if (rowArea > bestArea) {
            bestArea = rowArea;
            bestRow = y;
            std::copy(upper, upper + w, bestUpper);
        }
    }
    if (bestArea > 0)
        innerBoundingBox = firstRectangleOfArea(bestUpper, bestRow, bestArea);
}

long long Bitmask::largestRectangleEndingIn(const int* upper, int y, int* starts,
                                            int* heights) const {
    // The columns' run heights form a histogram; a stack of ever taller bars that are still
    // open gives its largest rectangle in one pass.
    long long best = 0;
    int depth = 0;
    for (int x = 0; x <= w; ++x) {
        const int height = (x < w && upper[x] >= 0) ? y - upper[x] + 1 : 0;
        int start = x;
        while (depth > 0 && heights[depth - 1] >= height) {
            --depth;
            best = std::max(best, (long long)heights[depth] * (x - starts[depth]));
            start = starts[depth];
        }
        if (height > 0) {
            starts[depth] = start;
            heights[depth] = height;
            ++depth;
        }
    }
    return best;
}

RectInt Bitmask::firstRectangleOfArea(const int* upper, int y, long long area) const {
    // Rectangles with their lower right pixel at (x, y), in scan order: x rising, then growing
    // to the left, ever wider and never taller. A run stops being searched as soon as even its
    // full width at the current height falls short.
    int runStart = -1;
    for (int x = 0; x < w; ++x) {
        if (upper[x] < 0) {
            runStart = -1;
            continue;
        }
        if (runStart < 0)
            runStart = x;
        int top = upper[x];
        for (int x2 = x; x2 >= runStart; --x2) {
            top = std::max(top, upper[x2]);
            const long long height = y - top + 1;
            if ((x - runStart + 1) * height < area)
                break;
            if ((x - x2 + 1) * height == area)
                return RectInt(x2, top, x - x2 + 1, int(height));
        }
    }
    return RectInt();
}

void Bitmask::clear() {
    debug::MessageScope scope("Bitmask::clear()");
    std::fill(bits, bits + size, atom(0));
}

bool Bitmask::at(int x, int y) const {
    debug::MessageScope scope("Bitmask::at()");
    if (x < 0 || y < 0 || x >= w || y >= h)
        return false;
    return bitAt(bits, atomsPerLine, x, y);
}

void Bitmask::set(int x, int y, bool value) {
    if (x < 0 || y < 0 || x >= w || y >= h)
        return;
    atom& a = bits[std::size_t(y) * atomsPerLine + x / BITWIDTH];
    const atom bit = atom(1) << (MSB - x % BITWIDTH);
    a = value ? (a | bit) : (a & ~bit);
}

void Bitmask::print() const {
    std::printf("%d x %d:\n", w, h);
    std::string line;
    for (int y = 0; y < h; ++y) {
        line.clear();
        for (int x = 0; x < atomsPerLine * BITWIDTH; ++x) {
            if (!inside(outerBoundingBox, x, y))
                line += '0';
            else if (inside(innerBoundingBox, x, y))
                line += 'X';
            else
                line += bitAt(bits, atomsPerLine, x, y) ? '#' : '.';
        }
        std::printf("%s|\n", line.c_str());
    }
    std::fflush(stdout);
}

bool checkCollisionBitmask(const Bitmask* a, const Bitmask* b, Sint32 xOffset, Sint32 yOffset) {
    debug::MessageScope scope("Bitmask::checkCollisionBitmask()");
    if (!a || !b)
        return false;
    // Wider than Sint32 so that negating the most negative offset cannot overflow.
    std::int64_t dx = xOffset, dy = yOffset;
    if (dx < 0) {
        std::swap(a, b);
        dx = -dx;
        dy = -dy;
    }
    if (dx >= a->w)
        return false;
    const std::int64_t yBegin = std::max<std::int64_t>(dy, 0);
    const std::int64_t yEnd = std::min<std::int64_t>(b->h + dy, a->h);
    if (yBegin >= yEnd)
        return false;

    const int wordOffset = int(dx / BITWIDTH);
    const int atomsA = a->atomsPerLine;
    // The atoms of b whose first pixel lies inside a's row; the rest of b's row meets nothing.
    const int count = std::min(atomsFor(a->w - int(dx)), b->atomsPerLine);
    if (count <= 0)
        return false;
    // The last 64-pixel piece of b's row: which of its atoms, and of the atoms of a it meets,
    // exist. Earlier pieces always have all of theirs.
    const int last = 2 * ((count - 1) / 2);
    const int variant = (wordOffset + last + 1 < atomsA ? 4 : 0) +
                        (wordOffset + last + 2 < atomsA ? 2 : 0) + (last + 1 < count ? 1 : 0) +
                        (last > 0 ? 8 : 0);
    static const RowsTest tests[16] = {
        overlapRows<false, false, false, false>, overlapRows<false, false, true, false>,
        overlapRows<false, true, false, false>,  overlapRows<false, true, true, false>,
        overlapRows<true, false, false, false>,  overlapRows<true, false, true, false>,
        overlapRows<true, true, false, false>,   overlapRows<true, true, true, false>,
        overlapRows<false, false, false, true>,  overlapRows<false, false, true, true>,
        overlapRows<false, true, false, true>,   overlapRows<false, true, true, true>,
        overlapRows<true, false, false, true>,   overlapRows<true, false, true, true>,
        overlapRows<true, true, false, true>,    overlapRows<true, true, true, true>};

    debug::MessageScope core("BitCore");
    return tests[variant](a->bits + std::size_t(yBegin) * atomsA + wordOffset, atomsA,
                          b->bits + std::size_t(yBegin - dy) * b->atomsPerLine, b->atomsPerLine,
                          int(yEnd - yBegin), last, int(dx % BITWIDTH));
}

void printCollisionBitmask(const Bitmask* a, const Bitmask* b, Sint32 xOffset, Sint32 yOffset) {
    if (!a || !b)
        return;
    // Overlap in a's coordinates: columns [x0, x1) and rows [y0, y1); b's pixel is shifted back.
    const std::int64_t x0 = std::max<std::int64_t>(xOffset, 0);
    const std::int64_t x1 =
        std::min<std::int64_t>(std::int64_t(b->getWidth()) + xOffset, a->getWidth());
    const std::int64_t y0 = std::max<std::int64_t>(yOffset, 0);
    const std::int64_t y1 =
        std::min<std::int64_t>(std::int64_t(b->getHeight()) + yOffset, a->getHeight());
    if (x0 >= x1 || y0 >= y1)
        return;
    std::string line;
    for (std::int64_t y = y0; y < y1; ++y) {
        line.clear();
        for (std::int64_t x = x0; x < x1; ++x) {
            const bool inA = bitAt(a->getBits(), a->getAtomsPerLine(), int(x), int(y));
            const bool inB =
                bitAt(b->getBits(), b->getAtomsPerLine(), int(x - xOffset), int(y - yOffset));
            line += inA ? (inB ? 'X' : '1') : (inB ? '2' : '.');
        }
        std::printf("%s\n", line.c_str());
    }
    std::fflush(stdout);
}

void clearBitmaskCache() {
    debug::MessageScope scope("clearBitmaskCache()");
    cache.reset();
    cacheSize = 0;
}

int bitmaskCacheSize() {
    return cacheSize;
}

}  // namespace gfx
}  // namespace lumo
