#pragma once
// Random numbers on the C library's rand(), seeded once by randomize().

namespace lumo {

/// Seeds rand() with the current time in seconds.
void randomize();
/// A float in [0, max).
float random(float max);
/// A float in [min, max).
float random(float min, float max);
/// An integer in [min, max], both ends included.
int random_int(int min, int max);
/// An integer in [0, max], max included.
int random_int(int max);
inline int random(int min, int max) {
    return random_int(min, max);
}
inline int random(int max) {
    return random_int(max);
}

}  // namespace lumo
