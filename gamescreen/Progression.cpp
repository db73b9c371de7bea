// Score thresholds: phases that shorten the move clock and, after three phases in a level, a
// level-up that adds a colour and larger waves.
#include <cstdint>
#include <cstdio>

#include "applet/Applet.h"
#include "gamescreen/GameScreen.h"

namespace sph {

const int32_t SecondsPerMoveByLevel[kLevelCount] = {28, 26, 24, 20, 12};
const int32_t PhaseDecrementByLevel[kLevelCount] = {2, 2, 2, 4, 4};
const int32_t PhaseScoreStepByLevel[kLevelCount] = {1500, 1500, 2000, 2500, 3000};
const char* const DifficultyNames[kLevelCount] = {"Very Easy", "Easy", "Medium", "Hard",
                                                  "Very Hard"};

namespace {

constexpr int kPhasesPerLevel = 3;
constexpr int kTopLevel = kLevelCount - 1;
constexpr int32_t kShortestClock = 4;

int32_t Saturate(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace

void GameScreen::AddScore(int64_t points) {
    score = Saturate(static_cast<int64_t>(score) + points);
}

bool GameScreen::UpdateScore() {
    bool passed = false;
    // One threshold per call, however far the score jumped past it.
    if (score >= nextPhaseScore) {
        if (level < kTopLevel && phaseInLevel == kPhasesPerLevel) {
            PlaySound(applet->levelWinSound);
            const char* oldName = DifficultyNames[difficulty];
            const char* newName = DifficultyNames[difficulty + 1];
            ++difficulty;
            char message[256];
            std::snprintf(message, sizeof message,
                          "You have completed all segments of your current\ndifficulty level "
                          "of '%s.'\n\nYou are now playing at '%s.'",
                          oldName, newName);
            site->frame->MessageBox("Congratulations", message, host::kMessageBoxInform);
            phaseInLevel = 0;
            ++level;
            // The new level's own clock, which may be longer than the one it replaces.
            secondsPerMove = SecondsPerMoveByLevel[level];
        } else {
            PlaySound(applet->levelWinSound);
            secondsPerMove -= PhaseDecrementByLevel[level];
            if (secondsPerMove < kShortestClock) secondsPerMove = kShortestClock;
            ++phaseInLevel;
        }
        nextPhaseScore =
            Saturate(static_cast<int64_t>(nextPhaseScore) + PhaseScoreStepByLevel[level]);
        DrawPhaseAndDifficultyPanels();
        passed = true;
    }
    DrawScorePanel();
    return passed;
}

}  // namespace sph
