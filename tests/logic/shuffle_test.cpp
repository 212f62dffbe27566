#include "boardhelpers.h"
#include "game.h"
#include "randomsource.h"
#include "scripteddirections.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace slidane {
namespace {

using test::colOf;
using test::rowOf;
using test::ScriptedDirections;
using V = std::vector<int>;

Game dealt(ScriptedDirections &&directions)
{
    Game game;
    game.NewGame(directions);
    EXPECT_EQ(directions.reseeds, 1);
    EXPECT_EQ(directions.draws, static_cast<std::size_t>(Game::kShuffleSteps));
    EXPECT_TRUE(test::isPermutation(game.board()));
    EXPECT_EQ(game.board()(game.row(), game.col()), 0) << "the cursor must point at the gap";
    return game;
}

TEST(Shuffle, RightOrDownFromTheCornerIsAlwaysBlocked)
{
    for (const int direction : {0, 1}) {
        const Game game = dealt(ScriptedDirections({}, {direction}));
        EXPECT_EQ(game.board(), Board::solved()) << "direction " << direction;
        EXPECT_EQ(game.row(), 4);
        EXPECT_EQ(game.col(), 4);
    }
}

TEST(Shuffle, AlwaysUpClimbsThreeCellsThenStops)
{
    const Game game = dealt(ScriptedDirections({}, {3}));
    EXPECT_EQ(colOf(game.board(), 4), (V{0, 4, 8, 12}));
    EXPECT_EQ(rowOf(game.board(), 1), (V{1, 2, 3, 0}));
    EXPECT_EQ(rowOf(game.board(), 4), (V{13, 14, 15, 12}));
    EXPECT_EQ(colOf(game.board(), 1), (V{1, 5, 9, 13}));
    EXPECT_EQ(game.row(), 1);
    EXPECT_EQ(game.col(), 4);
}

TEST(Shuffle, AlwaysLeftRunsAlongTheBottomRow)
{
    const Game game = dealt(ScriptedDirections({}, {2}));
    EXPECT_EQ(rowOf(game.board(), 4), (V{0, 13, 14, 15}));
    EXPECT_EQ(rowOf(game.board(), 3), (V{9, 10, 11, 12}));
    EXPECT_EQ(game.row(), 4);
    EXPECT_EQ(game.col(), 1);
}

TEST(Shuffle, UpThenLeft)
{
    // Left then right again, over and over, brings the gap back each time.
    const Game game = dealt(ScriptedDirections({3, 2}, {2, 0}));
    EXPECT_EQ(rowOf(game.board(), 3), (V{9, 10, 0, 11}));
    EXPECT_EQ(rowOf(game.board(), 4), (V{13, 14, 15, 12}));
    EXPECT_EQ(rowOf(game.board(), 2), (V{5, 6, 7, 8}));
    EXPECT_EQ(game.row(), 3);
    EXPECT_EQ(game.col(), 3);
}

TEST(Shuffle, UpLeftDownRightCyclesThreeTiles)
{
    const Game game = dealt(ScriptedDirections({3, 2, 1, 0}, {0}));
    EXPECT_EQ(rowOf(game.board(), 3), (V{9, 10, 15, 11}));
    EXPECT_EQ(rowOf(game.board(), 4), (V{13, 14, 12, 0}));
    EXPECT_EQ(game.row(), 4);
    EXPECT_EQ(game.col(), 4);
}

TEST(Shuffle, LeftAndRightAlternatingUndoEachOther)
{
    Game game = dealt(ScriptedDirections({}, {2, 0}));
    EXPECT_EQ(game.board(), Board::solved());
    EXPECT_EQ(game.row(), 4);
    EXPECT_EQ(game.col(), 4);
}

// Feeds raw numbers, to pin down how a draw becomes a direction at the
// edges of each quarter of [0, 1).
class RawDraws final : public RandomSource {
public:
    explicit RawDraws(std::vector<float> values)
        : values_(std::move(values))
    {
    }
    void reseed() override { }
    float draw() override { return values_[std::min(next_++, values_.size() - 1)]; }

private:
    std::vector<float> values_;
    std::size_t next_ = 0;
};

TEST(Shuffle, DrawIsRoundedDownToItsQuarter)
{
    // Just below 1 is up (3), exactly 0.5 is left (2), just below 0.5 is
    // down (1), exactly 0.25 is down too, then 0 is right (0) for the rest.
    Game game;
    RawDraws draws({0.99999994f, 0.5f, 0.49999997f, 0.0f});
    game.NewGame(draws);
    EXPECT_EQ(rowOf(game.board(), 3), (V{9, 10, 15, 11}));
    EXPECT_EQ(rowOf(game.board(), 4), (V{13, 14, 12, 0}));

    RawDraws quarter({0.25f, 0.0f});
    game.NewGame(quarter);
    EXPECT_EQ(game.board(), Board::solved()) << "0.25 must read as down, blocked in the corner";
}

TEST(Shuffle, ADrawOutsideZeroToOneIsAnErrorNotAStrayIndex)
{
    for (const float broken : {1.0f, -0.25f}) {
        Game game;
        RawDraws draws({broken});
        EXPECT_THROW(game.NewGame(draws), std::out_of_range) << broken;
    }
}

TEST(Shuffle, NewGameDiscardsTheEarlierBoardWhole)
{
    Game game;
    Board scribbled = Board::solved();
    scribbled(0, 0) = 99;
    scribbled(0, 3) = 5;
    scribbled(2, 0) = -7;
    scribbled(1, 1) = 0;
    scribbled(4, 4) = 1;
    game.setBoard(scribbled);

    ScriptedDirections blocked({}, {0});
    game.NewGame(blocked);
    EXPECT_EQ(game.board(), Board::solved());
}

} // namespace
} // namespace slidane
