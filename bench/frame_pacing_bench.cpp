// CPU use and frame-time jitter of the application loop with and without frame pacing: a state
// that clears the screen, draws a full-screen quad and N 32 x 32 quads and swaps, run for two
// seconds per case through Application::run(). Needs a display:
//   scripts/with-xvfb.sh build-x/bench/frame_pacing_bench
// Counters: cpu = process CPU time (all threads, Mesa's included) per wall second, in percent;
// fps; jitter_ms = standard deviation of the frame time; worst_ms = the longest frame.

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <new>
#include <vector>

#include "frame_stats.hpp"
#include "framework/application.hpp"
#include "framework/application_state.hpp"
#include "framework/frame_pacer.hpp"
#include "lumo/lumo.hpp"
#include "lumo/render_context.hpp"
#include "lumo/video.hpp"

namespace {

using bench::Clock;

const double RUN_SECONDS = 2.0;

class BenchApplication : public lumo::Application {};

/// The application ends the process when destroyed, so it lives in static storage, like the
/// window that is opened once for every case.
BenchApplication& benchApplication() {
    alignas(BenchApplication) static unsigned char storage[sizeof(BenchApplication)];
    static BenchApplication* app = [] {
        lumo::init(lumo::ssVideo, false);
        lumo::setResolution(800, 600, 32, false, 0, 0);
        static lumo::RenderContext2D context(lumo::Vector2D(800, 600));
        context.blending = true;
        context.apply();
        return new (storage) BenchApplication;
    }();
    return *app;
}

/// Draws a frame and swaps; records when each frame ended; ends itself after RUN_SECONDS.
class DrawingState : public lumo::ApplicationState {
  public:
    explicit DrawingState(int n) : quads(n) {
        performStageCount = 1;
        drawStageCount = 1;
    }
    void handleEvent(const lumo::Trigger*) override {}
    void doPerform(int, unsigned int ticks) override {
        elapsedMs += ticks;
        terminate = elapsedMs >= RUN_SECONDS * 1000;
    }
    void doDraw(int) override {
        lumo::clearScreen();
        glBegin(GL_QUADS);
        glColor4f(0.2f, 0.3f, 0.5f, 1.0f);
        glVertex2f(0, 0), glVertex2f(800, 0), glVertex2f(800, 600), glVertex2f(0, 600);
        glColor4f(0.9f, 0.4f, 0.1f, 0.8f);
        for (int i = 0; i < quads; ++i) {
            const float x = float((i * 137 + frames * 3) % 768), y = float((i * 71) % 568);
            glVertex2f(x, y), glVertex2f(x + 32, y), glVertex2f(x + 32, y + 32),
                glVertex2f(x, y + 32);
        }
        glEnd();
        lumo::flipScreen();
        ends->push_back(Clock::now());
        ++frames;
    }
    int quads;
    int frames = 0;
    unsigned long elapsedMs = 0;
    std::vector<Clock::time_point>* ends = nullptr;
};

void BM_Loop(benchmark::State& state) {
    BenchApplication& app = benchApplication();
    const int savedLimit = lumo::frameRateLimit;
    lumo::frameRateLimit = static_cast<int>(state.range(0));
    std::vector<Clock::time_point> ends;
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        ends.clear();
        ends.reserve(4096);
        app.pacer = lumo::FramePacer();
        auto* drawing = new DrawingState(static_cast<int>(state.range(1)));
        drawing->ends = &ends;
        drawing->activate();
        const double cpu0 = bench::cpuSeconds();
        const auto wall0 = Clock::now();
        app.run();
        cpu = bench::cpuSeconds() - cpu0;
        wall = std::chrono::duration<double>(Clock::now() - wall0).count();
    }
    lumo::frameRateLimit = savedLimit;

    // The first frames warm up Mesa's shaders; leave them out.
    ends.erase(ends.begin(), ends.begin() + std::min<size_t>(10, ends.size()));
    bench::reportFrames(state, ends, cpu, wall);
}

BENCHMARK(BM_Loop)
    ->ArgNames({"fps", "quads"})
    ->ArgsProduct({{0, 60}, {0, 50}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
