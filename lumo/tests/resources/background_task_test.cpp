#include "resources/background_task.hpp"

#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using lumo::BackgroundTask;
using lumo::backgroundTasks;
using testing::ElementsAre;

namespace {

struct Journal : lumo::BackgroundTaskCallback {
    void taskStarted(BackgroundTask* task) override { started.push_back(task); }
    void taskFinished(BackgroundTask* task) override { finished.push_back(task); }
    std::vector<BackgroundTask*> started, finished;
    std::vector<std::string> events;
};

// Finishes after `slices` calls of perform; with `spin` set, each slice uses up the time left.
// Without a journal it reports to no callback.
struct Task : BackgroundTask {
    Task(std::string name, Journal* journal, int slices, bool spin = false)
        : BackgroundTask(journal),
          name(std::move(name)),
          journal(journal),
          slices(slices),
          spin(spin) {}
    ~Task() override {
        if (journal)
            journal->events.push_back("free " + name);
    }
    void perform(unsigned int deadline) override {
        if (journal)
            journal->events.push_back(name);
        while (spin && SDL_GetTicks() < deadline) {
        }
        if (--slices == 0)
            finish();
    }
    std::string name;
    Journal* journal;
    int slices;
    bool spin;
};

TEST(BackgroundTasks, RunInOrderUntilTheDeadlineAndFinishedOnesAreFreed) {
    ASSERT_EQ(SDL_Init(0), 0);
    Journal journal;
    Task* a = new Task("a", &journal, 1);
    Task* b = new Task("b", &journal, 2);
    Task* c = new Task("c", &journal, 1);
    backgroundTasks = {a, b, c, new Task("quiet", nullptr, 1)};
    EXPECT_THAT(journal.started, ElementsAre(a, b, c));
    lumo::perform(SDL_GetTicks() + 100000);
    EXPECT_THAT(journal.events, ElementsAre("a", "b", "c", "free a", "free c"));
    EXPECT_THAT(journal.finished, ElementsAre(a, c));
    EXPECT_THAT(backgroundTasks, ElementsAre(b));

    journal.events.clear();
    backgroundTasks.push_front(new Task("slow", &journal, 1, true));
    lumo::perform(SDL_GetTicks() + 20);
    EXPECT_THAT(journal.events, ElementsAre("slow", "free slow"));
    lumo::perform(SDL_GetTicks());
    EXPECT_THAT(backgroundTasks, ElementsAre(b));

    // Shutting down frees the pending tasks, last first.
    backgroundTasks.push_back(new Task("d", &journal, 1));
    journal.events.clear();
    lumo::deleteBackgroundTasks();
    EXPECT_THAT(journal.events, ElementsAre("free d", "free b"));
    EXPECT_TRUE(backgroundTasks.empty());
    SDL_Quit();
}

}  // namespace
