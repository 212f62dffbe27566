#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace slidane {

// Every integer of the game is 16-bit signed, as the rules are written.
using Int = std::int16_t;

// The 4 x 4 puzzle held in a 5 x 5 array: rows and columns 1 to 4 are the
// cells, row 0 and column 0 are never used and stay 0. Row 1 is the top row,
// column 1 the left column; 0 stands for the gap.
class Board {
public:
    static constexpr int kSize = 5;

    // Element (row, col); an index outside 0 to 4 throws std::out_of_range.
    Int &operator()(int row, int col) { return elements_[indexOf(row, col)]; }
    Int operator()(int row, int col) const { return elements_[indexOf(row, col)]; }

    // The solved layout: 1 to 15 in reading order, the gap bottom right.
    static Board solved();

    friend bool operator==(const Board &, const Board &) = default;

private:
    // Inline, as every step of a deal goes through it; the throw stays out of line.
    static std::size_t indexOf(int row, int col)
    {
        if (row < 0 || row >= kSize || col < 0 || col >= kSize) {
            throwOutOfRange(row, col);
        }
        return static_cast<std::size_t>(row * kSize + col);
    }
    [[noreturn]] static void throwOutOfRange(int row, int col);

    std::array<Int, kSize * kSize> elements_{};
};

} // namespace slidane
