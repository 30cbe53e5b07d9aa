// The game next to bare SDL + OpenGL doing the same work, in one run, over the real data:
//   BM_PlayFrame     one frame of play with 50 foes, 5 falling stones and the score: perform
//                    (control queue, three engines, both collision walks, deletion queue),
//                    every draw stage and the buffer swap;
//   BM_BareFrame     the same pictures (wall, Pim, his stone, 50 foes, 5 stones, six glyphs)
//                    as textured quads straight through OpenGL, and the swap;
//   BM_StartUp       start-up to the first title frame drawn and swapped, then shut down;
//   BM_BareStartUp   SDL started, the window opened, one cleared frame swapped, SDL shut down;
//   BM_TenGames      resident memory after one game and after ten (counters, kB).
// Run under Xvfb with OpenAL's null backend:
//   ALSOFT_DRIVERS=null SDL_VIDEODRIVER=x11 scripts/with-xvfb.sh build/bench/game_bench
// High scores go to a scratch home, never the user's.

#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/core/audio.hpp"
#include "controls/input_evaluator.hpp"
#include "controls/trigger.hpp"
#include "debug/log.hpp"
#include "delete_queue.hpp"
#include "foe.hpp"
#include "game.hpp"
#include "lumo/lumo.hpp"
#include "lumo/video.hpp"
#include "math/random.hpp"
#include "menu.hpp"
#include "pim.hpp"
#include "pimwarden.hpp"
#include "resources.hpp"
#include "stone.hpp"

namespace {

using namespace pimwarden;

const int FOES = 50;
const int STONES = 5;
const unsigned int FRAME_TICKS = 16;

/// Only warnings and worse: the benchmark's own output stays readable.
void quiet() {
    for (auto& group : lumo::debug::groups)
        group.second.level = lumo::debug::dlWarning;
}

/// Everything the application's constructor starts, up to the title menu's first frame.
void startGame() {
    lumo::init(lumo::ssVideo | lumo::ssJoystick, false);
    quiet();
    resources = new Resources;
    lumo::audio::init("", 44100);
    resources->setResolution(800, 600, 32, false);
    resources->init();
    menu = new Menu;
    menu->activate();
    menu->perform(FRAME_TICKS);
    menu->draw();
}

void stopGame() {
    delete game;
    delete menu;
    deleteQueuedSprites();
    delete resources;
    resources = nullptr;
    lumo::audio::cleanUp();
    SDL_Quit();
}

long residentKilobytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

/// A game in full swing: 50 foes over the wall, 5 stones in the air, none coming or ending.
struct Crowd {
    Crowd() {
        std::srand(7);
        game = new Game;
        game->activate();
        game->spawnTime = 1e9f;
        for (int i = 0; i < FOES; ++i) {
            Foe* foe = new Foe;
            // Left of the stones, so the collision walks test every pair but knock nobody off.
            foe->pos = lumo::Vector2D(20.0f + static_cast<float>(i % 10) * 38.0f,
                                      20.0f + static_cast<float>(i / 10) * 60.0f);
            foes.push_back(foe);
            start.push_back(foe->pos);
        }
        for (int i = 0; i < STONES; ++i) {
            Stone* stone = new Stone(i == 0);
            stone->pos = lumo::Vector2D(480.0f + 60.0f * static_cast<float>(i), 520.0f);
            stone->drop();
            stones.push_back(stone);
        }
    }
    ~Crowd() {
        delete game;
        deleteQueuedSprites();
    }
    /// Puts things back where they started before they leave the screen or win.
    void rewind() {
        for (std::size_t i = 0; i < foes.size(); ++i)
            if (foes[i]->pos.y > start[i].y + 100 || std::abs(foes[i]->pos.x - start[i].x) > 20)
                foes[i]->pos = start[i];
        for (Stone* stone : stones)
            if (stone->pos.y < 0)
                stone->pos.y = 520;
    }
    std::vector<Foe*> foes;
    std::vector<lumo::Vector2D> start;
    std::vector<Stone*> stones;
};

void BM_PlayFrame(benchmark::State& state) {
    startGame();
    {
        Crowd crowd;
        for (auto _ : state) {
            game->perform(FRAME_TICKS);
            game->draw();
            crowd.rewind();
        }
        state.counters["phase"] = game->phase;
        state.counters["foes"] = game->foeEngine.size();
        state.counters["sprites"] = static_cast<double>(
            game->foeEngine.size() + game->stoneEngine.size() + game->pimEngine.size());
    }
    stopGame();
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0);

/// A texture from a picture of the data set, with its size.
struct Texture {
    explicit Texture(const std::string& file) {
        SDL_Surface* loaded = IMG_Load((std::string(PIMWARDEN_DATA_DIR) + file).c_str());
        SDL_Surface* rgba = SDL_CreateRGBSurface(SDL_SWSURFACE, loaded->w, loaded->h, 32,
                                                 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
        SDL_SetAlpha(loaded, 0, 255);
        SDL_BlitSurface(loaded, nullptr, rgba, nullptr);
        w = static_cast<float>(loaded->w);
        h = static_cast<float>(loaded->h);
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, rgba->w, rgba->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     rgba->pixels);
        SDL_FreeSurface(rgba);
        SDL_FreeSurface(loaded);
    }
    void draw(float x, float y) const {
        glBindTexture(GL_TEXTURE_2D, name);
        glBegin(GL_QUADS);
        quad(x, y);
        glEnd();
    }
    /// The quad's vertices, inside glBegin(GL_QUADS) with this texture bound.
    void quad(float x, float y) const {
        glTexCoord2f(0, 1);
        glVertex2f(x, y);
        glTexCoord2f(1, 1);
        glVertex2f(x + w, y);
        glTexCoord2f(1, 0);
        glVertex2f(x + w, y + h);
        glTexCoord2f(0, 0);
        glVertex2f(x, y + h);
    }
    GLuint name = 0;
    float w = 0, h = 0;
};

/// The same kind of window as the game's: 8 bits per channel with alpha, no depth buffer,
/// swaps synchronised where the driver can.
void openBareWindow() {
    SDL_Init(SDL_INIT_VIDEO);
    for (SDL_GLattr bits :
         {SDL_GL_RED_SIZE, SDL_GL_GREEN_SIZE, SDL_GL_BLUE_SIZE, SDL_GL_ALPHA_SIZE})
        SDL_GL_SetAttribute(bits, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
    SDL_SetVideoMode(800, 600, 32, SDL_OPENGL);
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 800, 0, 600, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
}

void BM_BareFrame(benchmark::State& state) {
    openBareWindow();
    {
        const Texture wall("images/wall.png"), pim("images/pim01.png");
        const Texture stone("images/stone.png"), trunk("images/trunk.png");
        const Texture foe("images/foe_climb01.png"), glyphs("fonts/arial10/arial10.png");
        float climb = 0;
        for (auto _ : state) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glColor4f(1, 1, 1, 1);
            wall.draw(0, 0);
            pim.draw(380, 451);
            stone.draw(386, 514);
            climb = climb > 200 ? 0 : climb + 1.28f;
            for (int i = 0; i < STONES; ++i)
                (i == 0 ? trunk : stone).draw(480.0f + 60.0f * static_cast<float>(i), 300 - climb);
            glBindTexture(GL_TEXTURE_2D, foe.name);
            glBegin(GL_QUADS);
            for (int i = 0; i < FOES; ++i)
                foe.quad(20.0f + static_cast<float>(i % 10) * 38.0f,
                         static_cast<float>(i / 10) * 60.0f + climb * 0.2f);
            glEnd();
            // The score: six glyph-sized pieces of the font's sheet.
            glBindTexture(GL_TEXTURE_2D, glyphs.name);
            glBegin(GL_QUADS);
            for (int i = 0; i < 6; ++i) {
                const float x = 735.0f + 8.0f * static_cast<float>(i);
                glTexCoord2f(0.1f * static_cast<float>(i), 0.1f);
                glVertex2f(x, 580);
                glTexCoord2f(0.1f * static_cast<float>(i) + 0.05f, 0.1f);
                glVertex2f(x + 8, 580);
                glTexCoord2f(0.1f * static_cast<float>(i) + 0.05f, 0);
                glVertex2f(x + 8, 595);
                glTexCoord2f(0.1f * static_cast<float>(i), 0);
                glVertex2f(x, 595);
            }
            glEnd();
            SDL_GL_SwapBuffers();
        }
    }
    SDL_Quit();
}
BENCHMARK(BM_BareFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_StartUp(benchmark::State& state) {
    for (auto _ : state) {
        startGame();
        glFinish();
        state.PauseTiming();
        stopGame();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BareStartUp(benchmark::State& state) {
    for (auto _ : state) {
        SDL_Init(SDL_INIT_VIDEO);
        SDL_SetVideoMode(800, 600, 32, SDL_OPENGL);
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapBuffers();
        glFinish();
        state.PauseTiming();
        SDL_Quit();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BareStartUp)->Unit(benchmark::kMillisecond)->Iterations(5);

/// One game of about a minute of play: foes come, stones drop, the game is lost and left.
void playOneGame() {
    game = new Game;
    game->activate();
    lumo::Trigger* drop = resources->evaluatorGamePlayer->at("drop");
    for (int frame = 0; frame < 4000 && game->phase == gpPlaying; ++frame) {
        if (frame % 120 == 0)
            game->handleEvent(drop);
        game->perform(FRAME_TICKS);
        game->draw();
    }
    game->gameOver();
    for (int frame = 0; frame < 600 && game->phase == gpGameOver; ++frame) {
        game->perform(FRAME_TICKS);
        game->draw();
    }
    delete game;
    menu->perform(FRAME_TICKS);  // the deletion queue is emptied here
}

void BM_TenGames(benchmark::State& state) {
    startGame();
    long afterOne = 0, afterTen = 0;
    for (auto _ : state) {
        std::srand(11);
        playOneGame();
        afterOne = residentKilobytes();
        for (int i = 1; i < 10; ++i)
            playOneGame();
        afterTen = residentKilobytes();
    }
    state.counters["rss_after_1_kB"] = static_cast<double>(afterOne);
    state.counters["rss_after_10_kB"] = static_cast<double>(afterTen);
    state.counters["growth_kB"] = static_cast<double>(afterTen - afterOne);
    stopGame();
}
BENCHMARK(BM_TenGames)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    char home[] = "/tmp/pimwarden-bench-XXXXXX";
    homeDirectory = std::string(mkdtemp(home)) + "/";
    dataDirectory = PIMWARDEN_DATA_DIR;
    registerLogGroups();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const std::string saved = homeDirectory + ".pimwarden/highscores.xml";
    std::remove(saved.c_str());
    rmdir((homeDirectory + ".pimwarden").c_str());
    rmdir(home);
    return 0;
}
