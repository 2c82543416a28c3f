#include "game/random_source.h"

namespace numora {

SeededRandom::SeededRandom() {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    engine_.seed(seed);
}

double SeededRandom::NextUnit() {
    // 53 random bits give every double in [0, 1) on a 2^-53 grid; never 1.0.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

} // namespace numora
