#include "resources/background_task.hpp"

#include <SDL_timer.h>

#include <vector>

namespace lumo {

std::list<BackgroundTask*> backgroundTasks;

BackgroundTask::BackgroundTask(BackgroundTaskCallback* callback) : callback(callback) {
    if (callback)
        callback->taskStarted(this);
}

BackgroundTask::~BackgroundTask() = default;

void BackgroundTask::finish() {
    hasFinished = true;
    if (callback)
        callback->taskFinished(this);
}

void BackgroundTask::getProgress(Uint32* done, Uint32* total) const {
    if (done)
        *done = finishedCount;
    if (total)
        *total = totalCount;
}

GLfloat BackgroundTask::getProgressRelative() const {
    if (totalCount == 0)
        return 0.0f;
    return static_cast<GLfloat>(finishedCount) / static_cast<GLfloat>(totalCount);
}

void perform(unsigned int deadline) {
    std::vector<std::list<BackgroundTask*>::iterator> finished;
    for (std::list<BackgroundTask*>::iterator it = backgroundTasks.begin();
         it != backgroundTasks.end(); ++it) {
        if (SDL_GetTicks() >= deadline)
            break;
        (*it)->perform(deadline);
        if ((*it)->hasFinished)
            finished.push_back(it);
    }
    for (std::list<BackgroundTask*>::iterator it : finished) {
        BackgroundTask* task = *it;
        backgroundTasks.erase(it);
        delete task;
    }
}

void deleteBackgroundTasks() {
    while (!backgroundTasks.empty()) {
        BackgroundTask* task = backgroundTasks.back();
        backgroundTasks.pop_back();
        delete task;
    }
}

}  // namespace lumo
