#include "math/random.hpp"

#include <cstdlib>
#include <ctime>

namespace lumo {

void randomize() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

float random(float max) {
    return static_cast<float>(std::rand() / 2147483648.0 * max);
}

float random(float min, float max) {
    return random(max - min) + min;
}

int random_int(int min, int max) {
    return min +
           static_cast<int>((static_cast<double>(max) - min + 1) * std::rand() / 2147483648.0);
}

int random_int(int max) {
    return random_int(0, max);
}

}  // namespace lumo
