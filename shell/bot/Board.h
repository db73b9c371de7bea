// The bot's picture of the 8 x 8 board, read from the sprites on the main stage the way a
// player reads the screen, and its choice of a move.
#pragma once

#include <array>
#include <optional>
#include <random>

namespace shell {
class HostStage;
}

namespace shell::bot {

constexpr int kSide = 8;
constexpr int kCells = kSide * kSide;
constexpr int kEmpty = -1;    // no bubble
constexpr int kBlocked = -2;  // a bubble that is popping: its cell is taken, it matches nothing
constexpr int kLine = 5;      // bubbles in a row that clear

// Where the bubble of a cell is drawn (its top-left) and how big it is.
constexpr int CellLeft(int col) { return 9 + 35 * col; }
constexpr int CellTop(int row) { return 134 + 35 * row; }
constexpr int kBubbleSize = 32;

// Cell index = col + 8 * row. A colour is any number from 0; equal numbers are one colour.
using Board = std::array<int, kCells>;

// Reads the board: a 32 x 32 sprite whose top-left is a cell's bubble position is a bubble;
// bubbles showing the same frame list share a colour; a sprite whose frames do not loop is a
// pop animation, which blocks its cell whatever lies beneath it.
Board ReadBoard(const HostStage& stage);

struct Move {
    int from = -1;
    int to = -1;
    int run = 0;    // the longest line through the target after the move
    int value = 0;  // how much the bot likes it (see Lookahead)
};

// Longest run of the colour at `cell` through it in any of the four directions (0 for a cell
// that holds no colour).
int LongestRun(const Board& board, int cell);

// The move that leaves the best position as the bot weighs it (see Lookahead): a move that
// clears a line when one does, and otherwise the one that most advances the lines still open
// to a colour while closing the fewest. Equal moves are chosen between at random. None when
// no bubble can move.
std::optional<Move> BestMove(const Board& board, std::mt19937& random);

// A random move that clears nothing (brings a wave), to end a game; falls back to any move.
std::optional<Move> AnyMove(const Board& board, std::mt19937& random);

}  // namespace shell::bot
