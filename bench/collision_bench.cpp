// Collision walks of the sprite engine on a play-like scene: foes with pixel masks crowding a
// wall, tested among themselves (one engine) and against a few falling stones (two engines).
// Each iteration moves every sprite and runs one walk, so the time is the cost per frame.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "debug/log.hpp"
#include "gfx/bitmasks/bitmask.hpp"
#include "sprites/sprites/sprite_engine.hpp"

namespace {

/// A mask of a disc of `radius` centred in a size x size square, built from a surface the way
/// images build theirs (so the boxes are the real ones).
std::unique_ptr<lumo::gfx::Bitmask> discMask(int size, int radius) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, size, size, 32, 0x000000FF, 0x0000FF00,
                                          0x00FF0000, 0xFF000000);
    const float c = (size - 1) / 2.0f;
    for (int y = 0; y < size; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < size; ++x) {
            const float dx = x - c, dy = y - c;
            row[x] = dx * dx + dy * dy <= float(radius * radius) ? 0xFFFFFFFFu : 0x00FFFFFFu;
        }
    }
    std::unique_ptr<lumo::gfx::Bitmask> mask(new lumo::gfx::Bitmask(s, 0.5f));
    SDL_FreeSurface(s);
    return mask;
}

class MaskedSprite : public lumo::sprites::Sprite {
  public:
    MaskedSprite(float x, float y, lumo::gfx::Bitmask* m) : Sprite({x, y}, true), mask(m) {
        canCollide = true;
        dimensions = lumo::basic_Vector2D<float>(m->getWidth(), m->getHeight());
        hotspot = dimensions / 2.0f;
        outerBoundingBox = *m->getOuterBoundingBox();
        innerBoundingBox = *m->getInnerBoundingBox();
    }
    void drawSelf() override {}
    lumo::gfx::Bitmask* getBitmask() const override { return mask; }
    void onCollision(Sprite*) override { ++hits; }

    lumo::gfx::Bitmask* mask;
    long hits = 0;
};

/// Foes climbing a 400 x 600 wall in random small steps, and stones falling through them.
struct Wall {
    explicit Wall(int foeCount, int stoneCount)
        : foeMask(discMask(32, 14)), stoneMask(discMask(16, 7)), random(1234) {
        std::uniform_real_distribution<float> x(0, 400), y(0, 600);
        for (int i = 0; i < foeCount; ++i) {
            sprites.emplace_back(new MaskedSprite(x(random), y(random), foeMask.get()));
            foes.addBack(sprites.back().get());
        }
        for (int i = 0; i < stoneCount; ++i) {
            sprites.emplace_back(new MaskedSprite(x(random), y(random), stoneMask.get()));
            stones.addBack(sprites.back().get());
        }
    }

    void move() {
        std::uniform_real_distribution<float> step(-1.5f, 1.5f);
        for (auto* s : foes.getSprites()) {
            s->pos.x = std::min(400.0f, std::max(0.0f, s->pos.x + step(random)));
            s->pos.y += 0.5f + step(random);
            if (s->pos.y > 600)
                s->pos.y = 0;
        }
        for (auto* s : stones.getSprites()) {
            s->pos.y -= 8;
            if (s->pos.y < 0)
                s->pos.y = 600;
        }
    }

    long hits() const {
        long total = 0;
        for (const auto& s : sprites)
            total += s->hits;
        return total;
    }

    std::unique_ptr<lumo::gfx::Bitmask> foeMask, stoneMask;
    std::mt19937 random;
    lumo::sprites::SpriteEngine foes, stones;
    std::vector<std::unique_ptr<MaskedSprite>> sprites;
};

void BM_FoesAmongThemselves(benchmark::State& state) {
    Wall wall(static_cast<int>(state.range(0)), 0);
    for (auto _ : state) {
        wall.move();
        wall.foes.testCollisions();
    }
    state.counters["callbacks_per_frame"] =
        static_cast<double>(wall.hits()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FoesAmongThemselves)->Arg(100)->Arg(300)->Unit(benchmark::kMicrosecond);

void BM_StonesAgainstFoes(benchmark::State& state) {
    Wall wall(static_cast<int>(state.range(0)), 3);
    for (auto _ : state) {
        wall.move();
        wall.stones.testCollisions(&wall.foes);
    }
    state.counters["callbacks_per_frame"] =
        static_cast<double>(wall.hits()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_StonesAgainstFoes)->Arg(100)->Arg(300)->Unit(benchmark::kMicrosecond);

/// The two walks of one game frame together.
void BM_PlayFrame(benchmark::State& state) {
    Wall wall(static_cast<int>(state.range(0)), 3);
    for (auto _ : state) {
        wall.move();
        wall.foes.testCollisions();
        wall.stones.testCollisions(&wall.foes);
    }
}
BENCHMARK(BM_PlayFrame)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The engines log their destruction at debug level, which would interleave with the table.
    lumo::debug::nameFrameworkGroups();
    lumo::debug::groups[lumo::dbgSprites].level = lumo::debug::dlWarning;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
