#pragma once

namespace slidane {

// Where a new game's shuffle gets its randomness. A new game reseeds the
// source once and then draws one number per step of the gap.
class RandomSource {
public:
    virtual ~RandomSource() = default;

    // Seed afresh from the time of day.
    virtual void reseed() = 0;

    // The next number r of the sequence, 0 <= r < 1.
    virtual float draw() = 0;
};

} // namespace slidane
