// Facts of the game's look that its hosts need too: where the board's cells are, the bubble
// pictures' names and the stage's background colour. The game draws with them; a host's
// keyboard cursor, its player bot and the margins around the stage use the same values.
#pragma once

#include <cstdint>

namespace host::look {

// The 8 x 8 board: backdrop tiles on a 35-pixel pitch from (7, 132); a 32 x 32 bubble sits 2
// pixels inside its tile.
constexpr int kBoardSide = 8;
constexpr int kTilePitch = 35;
constexpr int kTileLeft = 7;
constexpr int kTileTop = 132;
constexpr int kBubbleInset = 2;
constexpr int kBubbleSize = 32;

// The top-left of the bubble in a cell.
constexpr int BubbleLeft(int col) { return kTileLeft + kBubbleInset + kTilePitch * col; }
constexpr int BubbleTop(int row) { return kTileTop + kBubbleInset + kTilePitch * row; }

// The board with its frame, (left, top, right, bottom): what a pause hides, with the panel of
// the next phase's score beside it.
constexpr int kBoardFrameLeft = 6, kBoardFrameTop = 131, kBoardFrameRight = 288,
              kBoardFrameBottom = 413;
constexpr int kNextPhaseLeft = 316, kNextPhaseTop = 275, kNextPhaseRight = 500,
              kNextPhaseBottom = 345;

// The bubble colours' pictures, "p-img-Bubble0.gif" to "p-img-Bubble7.gif", and the same
// bubbles drawn with a symbol for each colour.
constexpr int kBubbleColours = 8;
constexpr const char* kBubblePictureFormat = "p-img-Bubble%d.gif";
constexpr const char* kSymbolBubblePictureFormat = "p-img-BubbleSym%d.gif";

// The background of every screen.
constexpr uint8_t kBackgroundRed = 51;
constexpr uint8_t kBackgroundGreen = 153;
constexpr uint8_t kBackgroundBlue = 153;

}  // namespace host::look
