// How the bot weighs a position: every stretch of five cells in a row, column or diagonal
// that one colour could still fill, how close each is to a line, and what a move does to
// them; the move it picks is the one that leaves the best of these.
#pragma once

#include <optional>
#include <random>

#include "shell/bot/Board.h"

namespace shell::bot {

// What the bot weighs, as numbers on one scale; the defaults are what it plays with.
struct Weights {
    // Worth of an open stretch of five cells holding n ([n]) bubbles of one colour and
    // nothing else.
    int open[kLine] = {0, 2, 10, 60, 300};
    // Share (percent) of that worth kept for each bubble its colour lacks on the whole board
    // to make a line.
    int shortPercent = 60;
    // A move that clears: worth per 100 points, per bubble taken off, per free move earned.
    // A move that clears nothing costs a wave or a free move, `freeMove`.
    int points = 300, bubble = 60, freeMove = 400;
};

class Lookahead {
public:
    explicit Lookahead(const Weights& weights = Weights{}) : w_(weights) {}

    // The best move on the board, chosen evenly between equals; none when no bubble can move.
    std::optional<Move> Choose(const Board& board, std::mt19937& random) const;

    // The worth of a whole position.
    int Worth(const Board& board) const;
    // How much the bot likes moving the bubble at `from` to the empty cell `to`, worked out
    // from scratch: what Choose works out faster for every move at once.
    int Judge(const Board& board, int from, int to) const;

private:
    struct Supply;
    int Value(const Supply& supply, int colour, int n, bool open) const;
    // The worth of the board once the lines through `cell` have cleared, with what clearing
    // them earns.
    int Cleared(const Board& board, int cell) const;

    Weights w_;
};

}  // namespace shell::bot
