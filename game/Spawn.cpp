// Waves of new bubbles: random empty cells in random colours, avoiding a cell that would
// complete a line for the player unless every empty cell would.
#include "game/Board.h"

#include "applet/Applet.h"
#include "game/BubblePiece.h"
#include "gamescreen/GameScreen.h"

namespace sph {

bool GameScreen::SpawnWave() {
    bool placed = SpawnBubble();
    switch (level) {
        case 1:
            if (site->Random() & 1u) placed = SpawnBubble() || placed;
            break;
        case 2:
            placed = SpawnBubble() || placed;
            break;
        case 3:
            placed = SpawnBubble() || placed;
            if (site->Random() & 1u) placed = SpawnBubble() || placed;
            break;
        case 4:
            placed = SpawnBubble() || placed;
            placed = SpawnBubble() || placed;
            break;
        default:
            break;
    }
    return placed;
}

bool GameScreen::SpawnBubble() {
    const uint32_t colours = static_cast<uint32_t>(difficulty) + 4;
    int col = static_cast<int>(site->Random() & 7u);
    int row = static_cast<int>(site->Random() & 7u);

    bool fallbackFound = false;
    int fallbackCol = 0;
    int fallbackRow = 0;

    // Along the row to the right, on at the left of the next row down, wrapping from the
    // bottom-right cell to the top-left: 64 visits cover every cell once.
    for (int visit = 0; visit < kCells; ++visit) {
        const int cell = CellIndex(col, row);
        if (board[cell] == nullptr) {
            const int kind = static_cast<int>(site->Random() % colours);
            auto* piece = new BubblePiece(this, kind);
            piece->MoveToCell(col, row);
            board[cell] = piece;
            if (!CheckLines(true)) {
                ++bubbleCount;
                return true;
            }
            // This colour here would hand the player a line: withdraw and look further.
            board[cell] = nullptr;
            delete piece;
            fallbackFound = true;
            fallbackCol = col;
            fallbackRow = row;
        }
        if (++col == kBoardSize) {
            col = 0;
            row = (row + 1) % kBoardSize;
        }
    }

    if (!fallbackFound) return false;
    // Every empty cell would complete a line: place one anyway, in a fresh colour.
    const int kind = static_cast<int>(site->Random() % colours);
    auto* piece = new BubblePiece(this, kind);
    piece->MoveToCell(fallbackCol, fallbackRow);
    board[CellIndex(fallbackCol, fallbackRow)] = piece;
    ++bubbleCount;
    return true;
}

}  // namespace sph
