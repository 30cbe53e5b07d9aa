#pragma once
// The playing properties of a sound: where it is, how loud, how fast, whether it loops.

#include "math/vector.hpp"

namespace lumo {
namespace audio {

struct SoundProperties {
    Vector3D position;  // (0, 0, 0)
    float volume = 1.0f;
    float rolloff = 1.0f;
    float pitch = 1.0f;
    bool loop = false;

    /// Places the sound on a half circle in front of (p > 0: right) or behind the listener:
    /// -1 is hard left, 1 hard right. y is left unchanged.
    void setStereoPosition(float p);
};

}  // namespace audio
}  // namespace lumo
