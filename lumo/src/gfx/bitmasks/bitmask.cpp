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

// The row cache of the inner-box scan: for every column, the first row of the vertical run of
// set pixels that ends in the current row, or -1. Kept between masks of equal width so that a
// bank of equally wide images allocates it once. (The left end of the horizontal run is tracked
// while a row is scanned, so no second per-column array is needed.)
int cacheSize = 0;
std::unique_ptr<int[]> upper;

int atomsFor(int width) {
    return int((std::int64_t(width) + MSB) / BITWIDTH);
}

bool bitAt(const atom* bits, int atomsPerLine, int x, int y) {
    return (bits[std::size_t(y) * atomsPerLine + x / BITWIDTH] >> (MSB - x % BITWIDTH)) & 1u;
}

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
        upper.reset(new int[w]);
    }
    std::fill(upper.get(), upper.get() + w, -1);

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
    long long innerArea = 0;
    const Uint8* pixels = static_cast<const Uint8*>(surface->pixels);
    atom* out = bits;

    for (int y = 0; y < h; ++y, out += atomsPerLine) {
        const Uint32* row =
            reinterpret_cast<const Uint32*>(pixels + std::size_t(y) * surface->pitch);
        int runStart = -1;  // first column of the run of set pixels that reaches x in this row
        atom word = 0;
        for (int x = 0; x < w; ++x) {
            const bool hit = (row[x] & amask) >= setFrom;
            if (!hit) {
                upper[x] = -1;
                runStart = -1;
            } else {
                word |= atom(1) << (MSB - x % BITWIDTH);
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
                if (upper[x] == -1)
                    upper[x] = y;
                if (runStart < 0)
                    runStart = x;

                // Rectangles whose lower right pixel is (x, y), ever wider and never taller
                // towards the left. Only a strictly larger area replaces the box, so the search
                // stops as soon as the widest possible one at the current height cannot win;
                // the box found is the same as with the full search.
                const long long widest = x - runStart + 1;
                int top = upper[x];
                for (int x2 = x; x2 >= runStart; --x2) {
                    top = std::max(top, upper[x2]);
                    const long long height = y - top + 1;
                    if (widest * height <= innerArea)
                        break;
                    const long long area = (x - x2 + 1) * height;
                    if (area > innerArea) {
                        innerArea = area;
                        innerBoundingBox = RectInt(x2, top, x - x2 + 1, int(height));
                    }
                }
            }
            if (x % BITWIDTH == MSB) {
                out[x / BITWIDTH] = word;
                word = 0;
            }
        }
        if (w % BITWIDTH != 0)
            out[w / BITWIDTH] = word;
    }
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
    const int bitOffset = int(dx % BITWIDTH);
    const int atomsA = a->atomsPerLine;
    const int atomsB = b->atomsPerLine;
    // The atoms of b whose first pixel lies inside a's row; the rest of b's row meets nothing.
    const int count = std::min(atomsFor(a->w - int(dx)), atomsB);
    if (count <= 0)
        return false;
    // Whether b's last compared atom also reaches into the atom after a's word offset + count.
    const bool lastHasNext = wordOffset + count < atomsA;

    const atom* lineA = a->bits + std::size_t(yBegin) * atomsA + wordOffset;
    const atom* lineB = b->bits + std::size_t(yBegin - dy) * atomsB;
    debug::MessageScope core("BitCore");
    for (std::int64_t y = yBegin; y < yEnd; ++y, lineA += atomsA, lineB += atomsB) {
        if (bitOffset == 0) {
            for (int x = 0; x < count; ++x)
                if (lineA[x] & lineB[x])
                    return true;
            continue;
        }
        const int back = 32 - bitOffset;
        for (int x = 0; x + 1 < count; ++x)
            if (lineB[x] & ((lineA[x] << bitOffset) | (lineA[x + 1] >> back)))
                return true;
        const int x = count - 1;
        const atom last = (lineA[x] << bitOffset) | (lastHasNext ? lineA[x + 1] >> back : 0);
        if (lineB[x] & last)
            return true;
    }
    return false;
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
    upper.reset();
    cacheSize = 0;
}

int bitmaskCacheSize() {
    return cacheSize;
}

}  // namespace gfx
}  // namespace lumo
