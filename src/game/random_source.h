// Where the game's draws come from. Production seeds one generator once from the
// operating system's entropy; tests script the sequence.
#pragma once

#include <cstdint>
#include <random>

namespace numora {

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // A uniform number in [0, 1).
    virtual double NextUnit() = 0;
};

// A Mersenne Twister seeded once. Seeding again for every pair from a clock (as a
// simple design might) repeats the same draws whenever two pairs are drawn within one
// clock tick, which a new game always does; one well-seeded stream avoids that.
class SeededRandom final : public RandomSource {
  public:
    SeededRandom(); // seeded from std::random_device
    explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
    double NextUnit() override;

  private:
    std::mt19937_64 engine_;
};

} // namespace numora
