// Pixel-exact collision of 64 x 64 masks in the worst case (overlapping, sharing no pixel, so
// no early exit), word-wise against a plain per-pixel loop; and building masks from surfaces.
//
// "per_test" is the time of one collision test; "items_per_second" of the build benchmarks is
// pixels per second.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "gfx/bitmasks/bitmask.hpp"

using lumo::gfx::Bitmask;

namespace {

constexpr int SIDE = 64;

SDL_Surface* newSurface(int w, int h) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000u, 0x0000FF00u,
                                          0x000000FFu, 0xFF000000u);
    if (!s) {
        std::fprintf(stderr, "SDL_CreateRGBSurface: %s\n", SDL_GetError());
        std::exit(1);
    }
    return s;
}

void put(SDL_Surface* s, int x, int y, Uint8 alpha) {
    reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x] =
        (Uint32(alpha) << 24) | 0x00808080u;
}

// Two checkerboards of opposite phase: b's pixel (x, y) is set when x + y is odd, a's when it is
// even, so at every offset with an even dx + dy the masks interleave without touching.
struct Checkers {
    Checkers() {
        SDL_Surface* sa = newSurface(SIDE, SIDE);
        SDL_Surface* sb = newSurface(SIDE, SIDE);
        for (int y = 0; y < SIDE; ++y)
            for (int x = 0; x < SIDE; ++x) {
                const bool even = (x + y) % 2 == 0;
                put(sa, x, y, even ? 255 : 0);
                put(sb, x, y, even ? 0 : 255);
                pixelsA[y][x] = even;
                pixelsB[y][x] = !even;
            }
        a = new Bitmask(sa, 0.5f, true);
        b = new Bitmask(sb, 0.5f, false);
        SDL_FreeSurface(sa);
        SDL_FreeSurface(sb);
        for (int dy = -(SIDE - 1); dy < SIDE; ++dy)
            for (int dx = -(SIDE - 1); dx < SIDE; ++dx)
                if ((dx + dy) % 2 == 0)
                    sweep.emplace_back(dx, dy);
    }
    Bitmask* a;
    Bitmask* b;
    unsigned char pixelsA[SIDE][SIDE];
    unsigned char pixelsB[SIDE][SIDE];
    std::vector<std::pair<int, int>> sweep;
};

const Checkers& checkers() {
    static Checkers c;
    return c;
}

// The straightforward test: every pixel of the overlap, one byte per pixel, first hit wins.
bool referenceCollision(const Checkers& c, int dx, int dy) {
    for (int by = 0; by < SIDE; ++by) {
        const int ay = by + dy;
        if (ay < 0 || ay >= SIDE)
            continue;
        for (int bx = 0; bx < SIDE; ++bx) {
            const int ax = bx + dx;
            if (ax < 0 || ax >= SIDE)
                continue;
            if (c.pixelsA[ay][ax] && c.pixelsB[by][bx])
                return true;
        }
    }
    return false;
}

bool wordCollision(const Checkers& c, int dx, int dy) {
    return lumo::gfx::checkCollisionBitmask(c.a, c.b, dx, dy);
}

template <bool (*Test)(const Checkers&, int, int)>
void sweepOffsets(benchmark::State& state) {
    const Checkers& c = checkers();
    for (const auto& o : c.sweep)
        if (Test(c, o.first, o.second)) {
            state.SkipWithError("a sweep offset shares a pixel");
            return;
        }
    for (auto _ : state)
        for (const auto& o : c.sweep)
            benchmark::DoNotOptimize(Test(c, o.first, o.second));
    state.counters["per_test"] =
        benchmark::Counter(double(c.sweep.size()), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

// One offset with full (or nearly full) overlap: (0, 0) aligned, (1, 1) shifted by one bit.
template <bool (*Test)(const Checkers&, int, int)>
void fixedOffset(benchmark::State& state) {
    const Checkers& c = checkers();
    const int d = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(Test(c, d, d));
    state.counters["per_test"] = benchmark::Counter(
        1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_CollisionSweepWords(benchmark::State& s) {
    sweepOffsets<wordCollision>(s);
}
void BM_CollisionSweepReference(benchmark::State& s) {
    sweepOffsets<referenceCollision>(s);
}
void BM_CollisionFullOverlapWords(benchmark::State& s) {
    fixedOffset<wordCollision>(s);
}
void BM_CollisionFullOverlapReference(benchmark::State& s) {
    fixedOffset<referenceCollision>(s);
}
BENCHMARK(BM_CollisionSweepWords);
BENCHMARK(BM_CollisionSweepReference);
BENCHMARK(BM_CollisionFullOverlapWords)->Arg(0)->Arg(1);
BENCHMARK(BM_CollisionFullOverlapReference)->Arg(0)->Arg(1);

// Building masks from 32-bit surfaces: a solid disc with a soft edge (a typical sprite) and
// random noise (many short runs), at sprite and screen sizes.
void BM_BuildFromSurface(benchmark::State& state) {
    const int side = int(state.range(0));
    const bool noise = state.range(1) != 0;
    SDL_Surface* s = newSurface(side, side);
    std::mt19937 rng(7);
    const double r = side * 0.45, c = side / 2.0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double d = std::hypot(x - c, y - c);
            const int alpha = noise ? int(rng() % 256) : d < r ? 255 : d < r + 4 ? 100 : 0;
            put(s, x, y, Uint8(alpha));
        }
    for (auto _ : state) {
        Bitmask m(s, 0.5f, true);
        benchmark::DoNotOptimize(m.getBits());
    }
    lumo::gfx::clearBitmaskCache();
    SDL_FreeSurface(s);
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_BuildFromSurface)
    ->ArgNames({"side", "noise"})
    ->Args({64, 0})
    ->Args({64, 1})
    ->Args({512, 0})
    ->Args({512, 1});

}  // namespace

BENCHMARK_MAIN();
