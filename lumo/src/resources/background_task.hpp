#pragma once
// Background tasks: cooperative work spread over frames, each pass doing slices of work until a
// deadline. Main thread only.

#include <GL/gl.h>
#include <SDL_types.h>

#include <list>

namespace lumo {

class BackgroundTask;

/// Told when a task starts (from its constructor) and when it finishes.
class BackgroundTaskCallback {
  public:
    virtual ~BackgroundTaskCallback() = default;
    virtual void taskStarted(BackgroundTask* task) = 0;
    virtual void taskFinished(BackgroundTask* task) = 0;
};

class BackgroundTask {
  public:
    /// `callback` is not owned and may be null; its taskStarted() is called from here.
    explicit BackgroundTask(BackgroundTaskCallback* callback);
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;
    virtual ~BackgroundTask();

    /// Marks the task finished and tells the callback.
    virtual void finish();
    /// Does a slice of work; `deadline` is a value of SDL's millisecond tick count.
    virtual void perform(unsigned int deadline) = 0;

    void getProgress(Uint32* done, Uint32* total) const;
    /// finishedCount / totalCount; 0 while totalCount is 0.
    GLfloat getProgressRelative() const;

    BackgroundTaskCallback* callback;
    bool hasFinished = false;
    Uint32 finishedCount = 0;
    Uint32 totalCount = 0;
};

/// Pending tasks in the order added; the list owns them.
extern std::list<BackgroundTask*> backgroundTasks;

/// Performs the pending tasks in order until SDL's tick count reaches `deadline` (checked
/// before each task), then frees the tasks that have finished. A task that throws leaves the
/// list as it was.
void perform(unsigned int deadline);

/// Frees every pending task, last first. Called by the framework's cleanUp().
void deleteBackgroundTasks();

}  // namespace lumo
