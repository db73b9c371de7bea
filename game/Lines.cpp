// Line detection: runs of five or more bubbles of one colour along rows, columns and both
// diagonals, and what a run earns.
#include "game/Board.h"

#include "applet/Applet.h"
#include "game/BubblePiece.h"
#include "gamescreen/GameScreen.h"

namespace sph {

namespace {

struct Line {
    int col, row;  // first cell
    int dc, dr;    // step
    int length;
};

// Rows, columns, falling diagonals from the top row then the left column, rising diagonals
// from the left column then the bottom row. Diagonals shorter than five are never scanned.
constexpr Line kLines[] = {
    {0, 0, 1, 0, 8}, {0, 1, 1, 0, 8}, {0, 2, 1, 0, 8}, {0, 3, 1, 0, 8},
    {0, 4, 1, 0, 8}, {0, 5, 1, 0, 8}, {0, 6, 1, 0, 8}, {0, 7, 1, 0, 8},
    {0, 0, 0, 1, 8}, {1, 0, 0, 1, 8}, {2, 0, 0, 1, 8}, {3, 0, 0, 1, 8},
    {4, 0, 0, 1, 8}, {5, 0, 0, 1, 8}, {6, 0, 0, 1, 8}, {7, 0, 0, 1, 8},
    {0, 0, 1, 1, 8}, {1, 0, 1, 1, 7}, {2, 0, 1, 1, 6}, {3, 0, 1, 1, 5},
    {0, 1, 1, 1, 7}, {0, 2, 1, 1, 6}, {0, 3, 1, 1, 5},
    {0, 4, 1, -1, 5}, {0, 5, 1, -1, 6}, {0, 6, 1, -1, 7}, {0, 7, 1, -1, 8},
    {1, 7, 1, -1, 7}, {2, 7, 1, -1, 6}, {3, 7, 1, -1, 5},
};
static_assert(sizeof kLines / sizeof kLines[0] == 30);

constexpr int kMinRun = 5;
constexpr int kNoColour = -1;
// Points by run length 5..8; each run also earns (length - 4) free moves.
constexpr int32_t kRunPoints[] = {100, 150, 250, 500};

}  // namespace

bool GameScreen::CheckLines(bool probeOnly) {
    bool marks[kCells] = {};
    bool lineFound = false;

    // A run of `length` cells of `line` ending just before position `end`.
    auto record = [&](const Line& line, int end, int length) {
        for (int i = end - length; i < end; ++i) {
            marks[CellIndex(line.col + line.dc * i, line.row + line.dr * i)] = true;
        }
        AddScore(kRunPoints[length - kMinRun]);
        freeMoves += length - 4;
        lineFound = true;
    };

    for (const Line& line : kLines) {
        int runColour = kNoColour;
        int runLength = 1;
        for (int i = 0; i < line.length; ++i) {
            const BubblePiece* piece = board[CellIndex(line.col + line.dc * i, line.row + line.dr * i)];
            // A cleared bubble counts as an empty cell: it neither extends nor starts a run.
            const int colour = piece != nullptr && !piece->cleared ? piece->kind : kNoColour;
            if (colour != kNoColour && colour == runColour) {
                ++runLength;
                if (probeOnly && runLength >= kMinRun) return true;
            } else {
                if (runLength >= kMinRun) record(line, i, runLength);
                runColour = colour;
                runLength = 1;
            }
        }
        if (runLength >= kMinRun) record(line, line.length, runLength);
    }
    if (probeOnly) return false;

    if (lineFound) {
        // Columns outer, rows inner: the pops are listed in that order.
        for (int c = 0; c < kBoardSize; ++c) {
            for (int r = 0; r < kBoardSize; ++r) {
                const int cell = CellIndex(c, r);
                if (!marks[cell]) continue;
                // The list holds one entry per cell, so it cannot be full here; should it be,
                // the bubble stays live rather than cleared without a pop to remove it.
                if (popCount >= kPopListSize) continue;
                board[cell]->cleared = true;
                auto* pop = new BubblePiece(this, kPopKind);
                popList[popCount] = {static_cast<uint32_t>(now) + kPopLifetimeMs, pop, c, r};
                pop->MoveToCell(c, r);
                ++popCount;
            }
        }
        PlaySound(applet->bubbleDisappearSound);
        UpdateScore();
        DrawFreeMovesPanel();
    }
    RedrawBoardTiles();
    return lineFound;
}

}  // namespace sph
