#include "gfx/images/image_loader.hpp"

#include <SDL.h>

namespace lumo {
namespace gfx {

ImageLoader::ImageLoader(ImageBank* bank, BackgroundTaskCallback* callback)
    : BackgroundTask(callback), images(bank), itr(bank->begin()) {
    totalCount = static_cast<Uint32>(bank->size());
}

void ImageLoader::perform(unsigned int deadline) {
    while (itr != images->end() && SDL_GetTicks() < deadline) {
        ImageResource* image = *itr;
        ++itr;
        ++finishedCount;
        image->refresh(itr == images->end());
    }
    if (itr == images->end() && !hasFinished)
        finish();
}

}  // namespace gfx
}  // namespace lumo
