// The screen on which one game is played: the board, the move clock, the score and the
// progression, and the panels that show them.
#pragma once

#include <cstdint>

#include "applet/Screen.h"

namespace sph {

class BubblePiece;

constexpr int kBoardSize = 8;
constexpr int kCells = kBoardSize * kBoardSize;

class GameScreen : public Screen {
public:
    GameScreen(Applet* owner, int difficulty);
    ~GameScreen() override;

    host::Timer* clockTimer = nullptr;
    BubblePiece* board[kCells] = {};
    int32_t lastDrawnFreeMoves = -1000;
    int32_t score = 0;
    int32_t msLeft = 0;
    int32_t bubbleCount = 0;
    int32_t freeMoves = 0;
    int32_t difficulty = 0;
    int32_t secondsPerMove = 0;
    bool clockRunning = false;
    int32_t level = 0;
    int32_t phaseInLevel = 0;
    int32_t nextPhaseScore = 0;
    int32_t popCount = 0;
    int32_t now = 0;
    int32_t startDifficulty = 0;
};

}  // namespace sph
