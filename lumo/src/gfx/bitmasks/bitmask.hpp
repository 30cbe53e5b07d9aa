#pragma once
// One-bit-per-pixel pictures of which pixels of an image are solid, with the two bounding boxes
// that let the sprite engine reject and accept collisions before testing pixels.
//
// Main thread only: building from a surface shares one module-level row cache.

#include <SDL.h>

#include <cstdint>

#include "lumo/types.hpp"

namespace lumo {
namespace gfx {

/// Pixels per storage word, and the bit of a word that holds its leftmost pixel.
constexpr int BITWIDTH = 32;
constexpr int MSB = 31;

/// One storage word; the leftmost pixel of a word is its most significant bit.
typedef std::uint32_t atom;

/// Rows run from the top of the picture downwards, as the surface's rows do; box coordinates
/// use the same row numbers. Each row starts on a fresh atom, and the bits of a row's last atom
/// past the width are always 0 (every writer below keeps them so).
class Bitmask {
  public:
    typedef basic_Rect<int> RectInt;

    /// An all-clear mask of w x h pixels with all-zero boxes. Throws a message for a negative
    /// size or one whose storage cannot be counted in 32 bits.
    Bitmask(int w, int h);
    /// Pixel (x, y) is set when the surface's alpha / 256 is strictly greater than `threshold`;
    /// only 32-bit surfaces can give set pixels. `keepCache` true keeps the row cache for the
    /// next mask of the same width; false releases it. The surface is borrowed (locked while it
    /// is read). Throws a message for a null surface.
    Bitmask(SDL_Surface* surface, float threshold, bool keepCache = false);
    ~Bitmask();
    Bitmask(const Bitmask&) = delete;
    Bitmask& operator=(const Bitmask&) = delete;

    /// Clears every pixel; the boxes are left as they are.
    void clear();
    /// Whether pixel (x, y) is set; false for coordinates outside the mask.
    bool at(int x, int y) const;
    /// Sets or clears pixel (x, y); ignores coordinates outside the mask. The boxes are not
    /// updated (they describe the mask as it was built).
    void set(int x, int y, bool value = true);

    int getWidth() const { return w; }
    int getHeight() const { return h; }
    /// Atoms per row: (width + 31) / 32.
    int getAtomsPerLine() const { return atomsPerLine; }
    /// The atoms, row after row; `getSize()` of them.
    const atom* getBits() const { return bits; }
    std::uint32_t getSize() const { return size; }

    /// The smallest box holding every set pixel; with no set pixel it is position (w, h) and
    /// dimensions (1 - w, 1 - h), which overlaps nothing.
    const RectInt* getOuterBoundingBox() const { return &outerBoundingBox; }
    /// A largest box whose pixels are all set (the first found in row-major order among equal
    /// areas); all zero when no pixel is set.
    const RectInt* getInnerBoundingBox() const { return &innerBoundingBox; }

    /// Writes "<w> x <h>:" and one line per row to standard output: "0" outside the outer box,
    /// "X" inside the inner box, "#" for other set pixels and "." for clear ones, then "|".
    void print() const;

  private:
    void allocate(int width, int height);
    void buildFromSurface(SDL_Surface* surface, float threshold);
    // Reads a 32-bit surface into the bits and the inner box, widening the given extremes.
    void scanPixels(SDL_Surface* surface, float threshold, int& minX, int& maxX, int& minY,
                    int& maxY);
    // For the row cache's run starts `upper` in row y: the largest area of an all-set rectangle
    // whose bottom row is y, and the first such rectangle of `area` in scan order.
    long long largestRectangleEndingIn(const int* upper, int y, int* starts, int* heights) const;
    RectInt firstRectangleOfArea(const int* upper, int y, long long area) const;

    std::int32_t w = 0;
    std::int32_t h = 0;
    std::int32_t atomsPerLine = 0;
    atom* bits = nullptr;
    std::uint32_t size = 0;
    RectInt outerBoundingBox;
    RectInt innerBoundingBox;

    friend bool checkCollisionBitmask(const Bitmask* a, const Bitmask* b, Sint32 xOffset,
                                      Sint32 yOffset);
};

typedef Bitmask::RectInt RectInt;

/// Whether a set pixel of `b`, placed so that its pixel (bx, by) lies on pixel
/// (bx + xOffset, by + yOffset) of `a`, falls on a set pixel of `a`. False when either mask is
/// null or the masks do not overlap. Works on whole words and stops at the first shared pixel.
bool checkCollisionBitmask(const Bitmask* a, const Bitmask* b, Sint32 xOffset, Sint32 yOffset);
/// Debugging aid: writes the overlap of the two masks placed as above to standard output, one
/// line per row: "." for neither, "1" for only a, "2" for only b, "X" for both. Writes nothing
/// when they do not overlap or either is null.
void printCollisionBitmask(const Bitmask* a, const Bitmask* b, Sint32 xOffset, Sint32 yOffset);
/// Releases the row cache kept by masks built with `keepCache` true.
void clearBitmaskCache();
/// The width the row cache is allocated for; 0 when it is released.
int bitmaskCacheSize();

}  // namespace gfx
}  // namespace lumo
