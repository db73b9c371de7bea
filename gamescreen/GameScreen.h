// The screen on which one game is played: the board, the move clock, the score and the
// progression, and the panels that show them.
#pragma once

#include <cstdint>
#include <string>

#include "applet/Screen.h"
#include "game/Board.h"

namespace sph {

class BubblePiece;

constexpr int kLevelCount = 5;

// By level 0..4: clock length at the start of the level, seconds taken off at each phase,
// and points from one threshold to the next.
extern const int32_t SecondsPerMoveByLevel[kLevelCount];
extern const int32_t PhaseDecrementByLevel[kLevelCount];
extern const int32_t PhaseScoreStepByLevel[kLevelCount];

// "Very Easy" .. "Very Hard", by difficulty.
extern const char* const DifficultyNames[kLevelCount];

// Group separators for the score panels: 1,234 and 1,234,567. Values of a thousand million
// or more keep all their leading digits in the first group. A negative value is written as
// its magnitude, grouped the same way, after a minus sign.
std::string FormatThousands(int32_t value);

class GameScreen : public Screen {
public:
    // Builds and draws a new game at `chosenDifficulty` (0..4) with its opening wave.
    GameScreen(Applet* owner, int chosenDifficulty);
    // Frees every piece on the board, the clock timer, then the pop pieces.
    ~GameScreen() override;

    // ---- Rules (game/) -------------------------------------------------------------------
    // Scans the 30 lines for runs of five or more. Probe mode only answers; apply mode
    // scores, grants free moves and starts the pops, then redraws the tiles.
    bool CheckLines(bool probeOnly);
    // One wave of one to three bubbles by level; false when none found room.
    bool SpawnWave();
    bool SpawnBubble();
    // A released bubble over the drop point (x, y) in stage coordinates.
    void DropPiece(BubblePiece* piece, int x, int y);
    // The move clock's 20 ms tick: timeouts, pop expiry and the board-cleared bonus.
    int OnClockTick(const host::Event* event);
    // Draws the 64 backdrop tiles in the look for the free-move count, when it changed.
    void RedrawBoardTiles();

    // ---- Progression and game over (gamescreen/) -----------------------------------------
    // Passes at most one phase or level threshold, then draws the score panel; true when a
    // threshold was passed.
    bool UpdateScore();
    // Records a high score, asks to play again and replaces this screen. Nothing of the
    // screen may be touched after it returns.
    void EndGame();
    // Places the score in the top five under a name the player types; false when it ranks
    // below all five.
    bool RecordHighScore();

    // ---- Drawing -------------------------------------------------------------------------
    void DrawPhaseAndDifficultyPanels();
    void DrawScorePanel();
    void DrawFreeMovesPanel();
    void DrawMoveClock();

    // Adds points without ever passing the largest score a 32-bit value holds.
    void AddScore(int64_t points);

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
    // Set when the game-over sequence starts: a tick or drop that still arrives while its
    // dialogs are open must not start it a second time.
    bool ending = false;
};

}  // namespace sph
