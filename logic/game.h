#pragma once

#include "board.h"

#include <optional>

namespace slidane {

class RandomSource;

// A tile moved: the tile of the clicked cell went into the gap's cell, and
// the clicked cell is the gap now. The window mirrors this on its pictures.
struct Exchange {
    int clicked = 0; // cell k
    int blank = 0; // cell n, where the gap stood
    friend bool operator==(const Exchange &, const Exchange &) = default;
};

struct SolvedCheck {
    Int matches = 0; // cells whose tile stands at home
    bool solved = false;
};

// The whole game state: the Board and the two cursors that the shuffle and
// the solved check share.
class Game {
public:
    static constexpr int kShuffleSteps = 1000;

    // Deal a game: the solved layout, then kShuffleSteps random steps of the gap.
    void NewGame(RandomSource &random);

    // The rule of a click on cell 1 to 16: a tile beside the gap slides into it.
    // Returns the exchange when one happened.
    std::optional<Exchange> clickCell(int cell);

    // Counts the tiles at home, with Row and Col as the loop counters.
    SolvedCheck CheckSolved();

    const Board &board() const { return board_; }
    Int row() const { return Row; }
    Int col() const { return Col; }

    // Starts from a given position instead of a dealt one (tests, tools).
    void setBoard(const Board &board) { board_ = board; }

private:
    void MoveTile(int clicked, int blank);

    Board board_;
    Int Row = 0;
    Int Col = 0;
};

} // namespace slidane
