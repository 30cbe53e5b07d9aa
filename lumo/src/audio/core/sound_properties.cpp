#include "audio/core/sound_properties.hpp"

namespace lumo {
namespace audio {

void SoundProperties::setStereoPosition(float p) {
    if (p <= -1.0f || p >= 1.0f) {
        position.x = p <= -1.0f ? -1.0f : 1.0f;
        position.z = 0.0f;
    } else if (p >= 0.0f) {
        position.x = p;
        position.z = 1.0f - p;
    } else {
        position.x = p;
        position.z = -1.0f - p;
    }
}

}  // namespace audio
}  // namespace lumo
