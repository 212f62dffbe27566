#pragma once

#include <array>
#include <cstddef>

namespace slidane {

// Cells are numbered 1 to 16 in reading order: cell k is row (k - 1) / 4 + 1,
// column (k - 1) % 4 + 1.
constexpr int kCellCount = 16;

constexpr int rowOfCell(int cell)
{
    return (cell - 1) / 4 + 1;
}
constexpr int colOfCell(int cell)
{
    return (cell - 1) % 4 + 1;
}
constexpr int cellAt(int row, int col)
{
    return (row - 1) * 4 + col;
}

// The neighbours of a cell in the order a click tests them: up, left, right,
// down, leaving out those off the board. Unused slots hold 0.
struct Neighbours {
    std::array<int, 4> cells{};
    std::size_t count = 0;

    constexpr const int *begin() const { return cells.data(); }
    constexpr const int *end() const { return cells.data() + count; }
};

constexpr Neighbours neighboursOf(int cell)
{
    const int row = rowOfCell(cell);
    const int col = colOfCell(cell);
    Neighbours result;
    const auto add = [&result](int r, int c) {
        if (r >= 1 && r <= 4 && c >= 1 && c <= 4) {
            result.cells[result.count++] = cellAt(r, c);
        }
    };
    add(row - 1, col);
    add(row, col - 1);
    add(row, col + 1);
    add(row + 1, col);
    return result;
}

} // namespace slidane
