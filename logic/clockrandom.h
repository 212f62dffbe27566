#pragma once

#include "randomsource.h"

#include <cstdint>
#include <random>

namespace slidane {

// The game's real generator, SplitMix64: reseeded from the clock at full
// resolution, mixed with the system's entropy source and a per-process
// counter, so that two games dealt within one clock tick still differ.
class ClockRandom final : public RandomSource {
public:
    void reseed() override;
    float draw() override;

private:
    std::random_device entropy_; // opened once: opening it costs more than a whole deal
    std::uint64_t state_ = 0;
    std::uint64_t reseeds_ = 0;
};

} // namespace slidane
