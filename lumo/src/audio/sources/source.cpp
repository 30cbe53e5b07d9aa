#include "audio/sources/source.hpp"

#include "audio/core/audio.hpp"
#include "audio/sources/sound.hpp"

namespace lumo {
namespace audio {

Source::Source(SourcePool* owner_, ALuint name) : owner(owner_), sourceName(name) {}

Source::~Source() {
    delete sound;  // its destructor halts this source and clears `sound`
    if (sourceName && alActive())
        alDeleteSources(1, &sourceName);
}

bool Source::operator<(const Source& b) const {
    if (isFree() && !b.isFree())
        return false;
    if (b.isFree())
        return true;
    if (priority == b.priority)
        return b.stamp < stamp;
    return b.priority < priority;
}

void Source::halt() {
    if (sourceName && alActive()) {
        alSourceStop(sourceName);
        alSourcei(sourceName, AL_BUFFER, 0);
    }
    state = ssStopped;
}

}  // namespace audio
}  // namespace lumo
