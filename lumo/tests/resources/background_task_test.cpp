#include "resources/background_task.hpp"

#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using lumo::BackgroundTask;
using lumo::BackgroundTaskCallback;
using lumo::backgroundTasks;
using testing::ElementsAre;

namespace {

struct Journal : BackgroundTaskCallback {
    void taskStarted(BackgroundTask* task) override { started.push_back(task); }
    void taskFinished(BackgroundTask* task) override { finished.push_back(task); }
    std::vector<BackgroundTask*> started;
    std::vector<BackgroundTask*> finished;
    std::vector<std::string> events;
};

/// Finishes after `slices` calls of perform; with `spin` set, each slice uses up the time left.
class Task : public BackgroundTask {
  public:
    Task(std::string name, Journal* journal, int slices, bool spin = false)
        : BackgroundTask(journal),
          name(std::move(name)),
          journal(journal),
          slices(slices),
          spin(spin) {}
    ~Task() override { journal->events.push_back("free " + name); }
    void perform(unsigned int deadline) override {
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

class BackgroundTasks : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(SDL_Init(0), 0); }
    void TearDown() override {
        lumo::deleteBackgroundTasks();
        SDL_Quit();
    }
    Journal journal;
};

TEST_F(BackgroundTasks, RunInOrderAndFinishedOnesAreFreed) {
    Task* a = new Task("a", &journal, 1);
    Task* b = new Task("b", &journal, 2);
    Task* c = new Task("c", &journal, 1);
    backgroundTasks = {a, b, c};
    EXPECT_THAT(journal.started, ElementsAre(a, b, c));
    EXPECT_FALSE(b->hasFinished);

    lumo::perform(SDL_GetTicks() + 100000);
    EXPECT_THAT(journal.events, ElementsAre("a", "b", "c", "free a", "free c"));
    EXPECT_THAT(journal.finished, ElementsAre(a, c));
    EXPECT_THAT(backgroundTasks, ElementsAre(b));

    journal.events.clear();
    lumo::perform(SDL_GetTicks() + 100000);
    EXPECT_THAT(journal.events, ElementsAre("b", "free b"));
    EXPECT_TRUE(backgroundTasks.empty());
}

TEST_F(BackgroundTasks, StopAtTheDeadline) {
    backgroundTasks = {new Task("slow", &journal, 1, true), new Task("next", &journal, 1)};
    lumo::perform(SDL_GetTicks() + 20);
    EXPECT_THAT(journal.events, ElementsAre("slow", "free slow"));
    ASSERT_EQ(backgroundTasks.size(), 1u);

    journal.events.clear();
    lumo::perform(SDL_GetTicks());
    EXPECT_TRUE(journal.events.empty());
    EXPECT_EQ(backgroundTasks.size(), 1u);
}

TEST_F(BackgroundTasks, CleanUpFreesPendingTasksLastFirst) {
    backgroundTasks = {new Task("a", &journal, 1), new Task("b", &journal, 1),
                       new Task("c", &journal, 1)};
    lumo::deleteBackgroundTasks();
    EXPECT_THAT(journal.events, ElementsAre("free c", "free b", "free a"));
    EXPECT_TRUE(backgroundTasks.empty());
}

TEST_F(BackgroundTasks, ReportProgress) {
    Task task("t", &journal, 1);
    Uint32 done = 7;
    Uint32 total = 7;
    task.getProgress(&done, &total);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(total, 0u);
    EXPECT_EQ(task.getProgressRelative(), 0.0f);
    task.finishedCount = 1;
    task.totalCount = 4;
    task.getProgress(&done, &total);
    EXPECT_EQ(done, 1u);
    EXPECT_EQ(total, 4u);
    EXPECT_FLOAT_EQ(task.getProgressRelative(), 0.25f);

    // A task without a callback works the same.
    struct Quiet : BackgroundTask {
        Quiet() : BackgroundTask(nullptr) {}
        void perform(unsigned int) override { finish(); }
    } quiet;
    quiet.perform(0);
    EXPECT_TRUE(quiet.hasFinished);
}

}  // namespace
