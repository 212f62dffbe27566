#include "clockrandom.h"

#include <chrono>

namespace slidane {
namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ull;

// SplitMix64's finaliser: every input bit reaches every output bit.
std::uint64_t scramble(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

void ClockRandom::reseed()
{
    const auto ticks = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const std::uint64_t device = (std::uint64_t{entropy_()} << 32) | entropy_();
    state_ = scramble(scramble(scramble(ticks) + device) + ++reseeds_ * kGolden);
}

float ClockRandom::draw()
{
    state_ += kGolden;
    // 24 random bits fill a float's mantissa exactly, so the result is a
    // multiple of 2^-24 below 1 and can never round up to 1, as
    // std::generate_canonical may on some libraries.
    constexpr float kScale = 1.0f / 16777216.0f;
    return static_cast<float>(scramble(state_) >> 40) * kScale;
}

} // namespace slidane
