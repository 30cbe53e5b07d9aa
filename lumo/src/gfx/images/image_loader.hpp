#pragma once
// A background task that refreshes the images of a bank a few at a time, within each pass's
// deadline. Main thread only (it creates textures).

#include <SDL_types.h>

#include "gfx/images/image_bank.hpp"
#include "resources/background_task.hpp"

namespace lumo {
namespace gfx {

class ImageLoader : public BackgroundTask {
  public:
    /// `images` (not owned) must outlive the task and keep its images while the task runs.
    /// `callback` may be null.
    ImageLoader(ImageBank* images, BackgroundTaskCallback* callback);

    /// Refreshes images until SDL's tick count reaches `deadline` or none is left; finishes the
    /// task when none is left. Throws an image's load message; that image is then skipped on
    /// the next call, so one bad file cannot stall the task.
    void perform(unsigned int deadline) override;

    ImageBank* images;
    ImageBank::iterator itr;
};

}  // namespace gfx
}  // namespace lumo
