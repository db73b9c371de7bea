// The turn: a drop of a bubble, the move clock's tick, pops leaving the board, and the bonus
// for clearing the whole board.
#include "game/Board.h"

#include "applet/Applet.h"
#include "game/BubblePiece.h"
#include "gamescreen/GameScreen.h"

namespace sph {

namespace {

// The clock's arithmetic wraps like the 32-bit tick values it works on, instead of
// overflowing after weeks of running.
int32_t Wrap(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

// The cell under a drop point, or -1 off the board. The divisions truncate toward zero, so a
// point up to 34 pixels above or left of the board still counts as row or column 0.
int CellAt(int x, int y) {
    const int64_t col = (static_cast<int64_t>(x) - kTileLeft) / kTilePitch;
    const int64_t row = (static_cast<int64_t>(y) - kTileTop) / kTilePitch;
    if (col < 0 || col >= kBoardSize || row < 0 || row >= kBoardSize) return -1;
    return CellIndex(static_cast<int>(col), static_cast<int>(row));
}

}  // namespace

void GameScreen::DropPiece(BubblePiece* piece, int x, int y) {
    const int target = CellAt(x, y);
    // Off the board, onto an occupied cell (its own included), a bubble whose line has
    // already cleared it, or while the game is ending: not a move.
    if (ending || piece->cleared || target < 0 || board[target] != nullptr) {
        piece->ReturnToCell();
        return;
    }

    PlaySound(freeMoves != 0 ? applet->freeMoveSound : applet->dropBubbleSound);

    int oldCol = 0;
    int oldRow = 0;
    piece->GetCell(&oldCol, &oldRow);
    board[CellIndex(oldCol, oldRow)] = nullptr;
    piece->MoveToCell(target % kBoardSize, target / kBoardSize);
    board[target] = piece;

    // The clock stands still from the start of a game until the first move.
    if (!clockRunning) {
        clockRunning = true;
        clockTimer->Start();
    }
    msLeft = secondsPerMove * 1000;
    clockBase = now;
    DrawMoveClock();

    const bool lineFound = CheckLines(false);
    if (!lineFound && freeMoves == 0) {
        if (!SpawnWave()) bubbleCount = kCells;
        CheckLines(false);  // scores a line the new bubbles complete
    }
    // Spent after this move's own line has paid out: a run of five leaves the count as it was.
    if (freeMoves > 0) --freeMoves;

    RedrawBoardTiles();
    DrawFreeMovesPanel();

    if (bubbleCount == kCells) EndGame();  // destroys this screen
}

int GameScreen::OnClockTick(const host::Event* event) {
    if (ending) return 0;
    now = event->value;
    if (firstTick) {
        clockBase = now;
        firstTick = false;
    }
    msLeft = Wrap(static_cast<int64_t>(secondsPerMove) * 1000 + clockBase - now);

    // Time is up only below 0; exactly 0 left is not a timeout.
    if (msLeft < 0) {
        if (freeMoves == 0 || bubbleCount == 0) {
            if (!SpawnWave()) bubbleCount = kCells;
            CheckLines(false);
        }
        if (freeMoves > 0) --freeMoves;
        RedrawBoardTiles();
        if (bubbleCount == kCells) {
            EndGame();  // destroys this screen
            return 0;
        }
        msLeft = secondsPerMove * 1000;
        clockBase = now;
        DrawFreeMovesPanel();
    }

    // Pops whose time has come take their cleared bubble with them.
    for (int i = 0; i < popCount;) {
        PopEntry& entry = popList[i];
        if (entry.expiresAt > static_cast<uint32_t>(now)) {
            ++i;
            continue;
        }
        const int cell = CellIndex(entry.col, entry.row);
        if (board[cell] != nullptr) {
            delete board[cell];
            board[cell] = nullptr;
            --bubbleCount;
        }
        delete entry.piece;
        for (int j = i + 1; j < popCount; ++j) popList[j - 1] = popList[j];
        --popCount;
        popList[popCount] = PopEntry{};
    }

    if (bubbleCount == 0 && popCount == 0) {
        AddScore(static_cast<int64_t>(freeMoves) * 100);
        freeMoves = 0;
        DrawFreeMovesPanel();
        AddScore(1000 * (static_cast<int64_t>(level) + 1));
        // A passed threshold has played its own fanfare.
        if (!UpdateScore()) PlaySound(applet->fadeInSound);
        SpawnWave();  // the board is empty, so it always places
        RedrawBoardTiles();
        msLeft = secondsPerMove * 1000;
        clockBase = now;
    }

    DrawMoveClock();
    return 0;
}

}  // namespace sph
