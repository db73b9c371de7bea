// The board's geometry and the values of a game that live once per loaded library: the pop
// list and the move clock's base.
#pragma once

#include <cstdint>

#include "host/GameLook.h"

namespace sph {

class BubblePiece;

constexpr int kBoardSize = host::look::kBoardSide;
constexpr int kCells = kBoardSize * kBoardSize;

constexpr int CellIndex(int col, int row) { return col + kBoardSize * row; }

// Backdrop tiles sit on a 35-pixel pitch from (7, 132); a 32 x 32 bubble sits 2 pixels inside
// its tile, and a released sprite drops at its centre, 17 pixels in from its top-left.
constexpr int kTilePitch = host::look::kTilePitch;
constexpr int kTileLeft = host::look::kTileLeft;
constexpr int kTileTop = host::look::kTileTop;
constexpr int kBubbleInset = host::look::kBubbleInset;
constexpr int kDropOffset = 17;
// A dragged sprite's top-left stays within these bounds, which keeps every drop point on
// the stage and at most in row 7.
constexpr int kDragMaxX = 467;
constexpr int kDragMaxY = 387;

// One bubble cleared by a line: its pop animation runs over the cell until `expiresAt`, when
// both the pop and the cleared bubble under it leave the board.
struct PopEntry {
    uint32_t expiresAt = 0;
    BubblePiece* piece = nullptr;
    int32_t col = 0;
    int32_t row = 0;
};

// A cell holds at most one entry (only live bubbles form lines, and a cleared bubble keeps its
// cell until its entry expires), so one entry per cell is always enough.
constexpr int kPopListSize = kCells;
constexpr uint32_t kPopLifetimeMs = 1200;

// Filled from the front; the current game screen's popCount entries are in use. It belongs to
// no screen: a new game built while the old one still exists leaves the old entries alone
// until the old screen's destructor frees their pieces.
extern PopEntry popList[kPopListSize];

// The tick time at which the move clock was last restarted.
extern int32_t clockBase;
// Set when the library is loaded (and again when the applet is started afresh); the first
// tick re-bases the clock and clears it. Nothing else sets it: the shell's timer values count
// from that timer's Start, and every game screen makes and starts its own timer, so a later
// game's first drop (which sets clockBase to its `now` of 0) already lines the clock up with
// that game's tick values.
extern bool firstTick;

}  // namespace sph
