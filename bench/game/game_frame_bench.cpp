// CPU use and frame times of the game itself: the title screen and a game with 50 foes on the
// wall, each with frame pacing off (--fps 0: the loop as fast as it goes) and at the default
// 60 frames per second. Runs the real game (window, data, sound on OpenAL's null backend):
//   ALSOFT_DRIVERS=null SDL_VIDEODRIVER=x11 scripts/with-xvfb.sh build-x/bench/game_frame_bench
// Counters: cpu = process CPU time (all threads: Mesa's, the music thread) per wall second, in
// percent; fps; jitter_ms = standard deviation of the frame time; worst_ms = the longest frame.
// High scores are read from a scratch home, never the user's.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "foe.hpp"
#include "frame_stats.hpp"
#include "framework/frame_pacer.hpp"
#include "game.hpp"
#include "math/random.hpp"
#include "pimwarden.hpp"

namespace {

using bench::Clock;

const double WARM_UP_SECONDS = 0.5;
const double RUN_SECONDS = 3.0;
const int FOES = 50;

/// The game, whose loop hands back control once `until` has passed: the active state is parked
/// and the loop ends; the next measurement puts it back and runs the loop again.
class BenchGame : public pimwarden::PimWarden {
  public:
    void perform(unsigned int ticks) override {
        lumo::Application::perform(ticks);
        const auto now = Clock::now();
        frameEnds.push_back(now);
        if (now >= until) {
            parked = state;
            state = nullptr;
        }
    }
    /// Runs the loop for `seconds`.
    void runFor(double seconds) {
        state = parked;
        until = Clock::now() +
                std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
        run();
    }

    Clock::time_point until;
    lumo::ApplicationState* parked = nullptr;
    std::vector<Clock::time_point> frameEnds;
};

BenchGame* app = nullptr;

/// A game with FOES foes spread over the lower part of the wall and no more coming.
void startCrowdedGame() {
    auto* g = new pimwarden::Game;
    g->activate();
    g->spawnTime = 1e9f;
    for (int i = 0; i < FOES; ++i) {
        auto* foe = new pimwarden::Foe;
        foe->pos = lumo::Vector2D(lumo::random(20.0f, 780.0f), lumo::random(0.0f, 250.0f));
    }
    app->parked = g;
}

void BM_Game(benchmark::State& state) {
    const bool crowded = state.range(0) != 0;
    lumo::frameRateLimit = static_cast<int>(state.range(1));
    if (crowded && !pimwarden::game)
        startCrowdedGame();
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        app->pacer = lumo::FramePacer();
        app->runFor(WARM_UP_SECONDS);
        app->frameEnds.clear();
        const double cpu0 = bench::cpuSeconds();
        const auto wall0 = Clock::now();
        app->runFor(RUN_SECONDS);
        cpu = bench::cpuSeconds() - cpu0;
        wall = std::chrono::duration<double>(Clock::now() - wall0).count();
    }
    bench::reportFrames(state, app->frameEnds, cpu, wall);
    state.SetLabel(crowded ? "game, 50 foes" : "title screen");
}

// Title screen first: the game, once started, stays.
BENCHMARK(BM_Game)
    ->ArgNames({"foes", "fps"})
    ->Args({0, 0})
    ->Args({0, 60})
    ->Args({1, 0})
    ->Args({1, 60})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    char home[] = "/tmp/pimwarden-bench-XXXXXX";
    pimwarden::homeDirectory = std::string(mkdtemp(home)) + "/";
    pimwarden::dataDirectory = PIMWARDEN_DATA_DIR;
    app = new BenchGame;
    app->parked = app->state;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rmdir(home);
    // Ends the process through the framework's clean-up.
    delete app;
}
