// The pop list, the clock base, and the board's backdrop tiles.
#include "game/Board.h"

#include "applet/Applet.h"
#include "gamescreen/GameScreen.h"

namespace sph {

PopEntry popList[kPopListSize] = {};
int32_t clockBase = 0;
bool firstTick = true;

void GameScreen::RedrawBoardTiles() {
    // Any change of the count redraws, even one that keeps the same look.
    if (freeMoves == lastDrawnFreeMoves) {
        lastDrawnFreeMoves = freeMoves;
        return;
    }
    // The lighter tile tells the player that free moves are left.
    host::Canvas* tile = freeMoves != 0 ? applet->freeMoveTile : applet->boardTile;
    for (int c = 0; c < kBoardSize; ++c) {
        for (int r = 0; r < kBoardSize; ++r) {
            canvas->DrawImage(tile, kTileLeft + kTilePitch * c, kTileTop + kTilePitch * r, 0);
        }
    }
    lastDrawnFreeMoves = freeMoves;
}

}  // namespace sph
