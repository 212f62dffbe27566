#pragma once

#include "randomsource.h"

#include <cstddef>
#include <stdexcept>
#include <vector>

namespace slidane::test {

// Feeds the shuffle a fixed sequence of directions 0 to 3: `prefix` once, then
// `repeat` over and over.
class ScriptedDirections final : public RandomSource {
public:
    ScriptedDirections(std::vector<int> prefix, std::vector<int> repeat)
        : prefix_(std::move(prefix))
        , repeat_(std::move(repeat))
    {
    }

    void reseed() override { ++reseeds; }

    float draw() override
    {
        const std::size_t i = draws++;
        const int direction = i < prefix_.size() ? prefix_[i] : repeat_.at((i - prefix_.size()) % repeat_.size());
        // The middle of the direction's quarter of [0, 1).
        return (static_cast<float>(direction) + 0.5f) / 4.0f;
    }

    int reseeds = 0;
    std::size_t draws = 0;

private:
    std::vector<int> prefix_;
    std::vector<int> repeat_;
};

} // namespace slidane::test
