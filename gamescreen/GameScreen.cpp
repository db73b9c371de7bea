// The game screen's construction and destruction, and every panel it draws on the stage's
// background: logo, instructions, board frame, difficulty, score, next phase, free moves and
// the move-clock bar.
#include "gamescreen/GameScreen.h"

#include <cstdio>
#include <cstring>

#include "applet/Applet.h"
#include "game/BubblePiece.h"
#include "text/Markup.h"

namespace sph {

namespace {

constexpr uint8_t kBackR = 51, kBackG = 153, kBackB = 153;
constexpr int32_t kTimerPeriodMs = 20;

constexpr const char* kInstructions[] = {
    "Drag the bubbles into place",  "across the board.  Line up",
    "bubbles in horizontal, vertical,", "or diagonal lines of five or",
    "more to clear them out.  The",  "more bubbles you clear, the",
    "more points and free moves",    "you get.",
};

// A panel whose value is centred on x = 400 under its caption.
struct CentredPanel {
    int32_t left, top, right, bottom;
    const char* caption;
    int32_t captionX, captionY;
    int32_t valueY;
    int32_t fontSize;
};
constexpr int32_t kValueCentreX = 400;
constexpr CentredPanel kDifficultyPanel = {316, 165, 500, 205, "<S2><c000000><b>Difficulty:</b>",
                                           370, 155, 172, 18};
constexpr CentredPanel kScorePanel = {374, 205, 500, 270, "<S1><c000000><b>Score</b>",
                                      374, 215, 235, 24};
constexpr CentredPanel kNextPhasePanel = {316, 275, 500, 345,
                                          "<S2><c000000><b>Next Phase At:</b>", 350, 275, 295, 14};

// The move-clock bar: mini-bubbles stacked upward from y = 404, at most 28 of them.
constexpr int32_t kClockLeft = 290, kClockTop = 133, kClockRight = 300, kClockBottom = 420;
constexpr int32_t kClockFirstY = 404;
constexpr int32_t kClockStep = 10;
constexpr int64_t kClockMaxBubbles = 28;

int TickThunk(const host::Event* event) {
    return static_cast<GameScreen*>(event->context)->OnClockTick(event);
}

void DrawCentredPanel(GameScreen& screen, const CentredPanel& panel, const std::string& value) {
    host::Canvas* canvas = screen.canvas;
    canvas->SetColor(kBackR, kBackG, kBackB);
    canvas->FillRect(panel.left, panel.top, panel.right, panel.bottom);
    DrawMarkup(canvas, panel.caption, panel.captionX, panel.captionY);
    // The value has no tags: it is drawn in this font and the black the caption left set.
    host::Font* font = screen.factory->CreateFont("Arial", panel.fontSize, host::kStyleBold);
    canvas->SetFont(font);
    host::Size size{0, 0};
    canvas->MeasureText(font, value.c_str(), static_cast<int32_t>(value.size()), &size);
    DrawMarkup(canvas, value.c_str(), kValueCentreX - size.width / 2, panel.valueY);
    font->Release();
}

}  // namespace

std::string FormatThousands(int32_t value) {
    // Work on the magnitude in 64 bits, so that the most negative value has one too.
    const bool negative = value < 0;
    const int64_t v = negative ? -static_cast<int64_t>(value) : value;
    char text[32];
    if (v > 999999) {
        std::snprintf(text, sizeof text, "%s%lld,%03lld,%03lld", negative ? "-" : "",
                      static_cast<long long>(v / 1000000), static_cast<long long>(v / 1000 % 1000),
                      static_cast<long long>(v % 1000));
    } else if (v > 999) {
        std::snprintf(text, sizeof text, "%s%lld,%03lld", negative ? "-" : "",
                      static_cast<long long>(v / 1000), static_cast<long long>(v % 1000));
    } else {
        std::snprintf(text, sizeof text, "%s%lld", negative ? "-" : "", static_cast<long long>(v));
    }
    return text;
}

// ---- Construction and destruction ---------------------------------------------------------

GameScreen::GameScreen(Applet* owner, int chosenDifficulty) : Screen(owner) {
    PlaySound(applet->levelWinSound);
    canvas->Clear(kBackR, kBackG, kBackB);

    // The tables hold five levels; a difficulty from elsewhere is kept within them.
    if (chosenDifficulty < 0) chosenDifficulty = 0;
    if (chosenDifficulty >= kLevelCount) chosenDifficulty = kLevelCount - 1;
    popCount = 0;
    now = 0;
    difficulty = startDifficulty = chosenDifficulty;
    clockRunning = false;
    lastDrawnFreeMoves = -1000;

    host::Sprite* logo = factory->LoadImage("p-img-logo-big", 0);
    host::Canvas* logoPicture = nullptr;
    logo->GetBitmap(&logoPicture);
    canvas->DrawImage(logoPicture, 14, 4, 0);
    logoPicture->Release();
    logo->Release();

    // The first markup leaves the canvas at size 3, bold and black for the lines after it.
    DrawMarkup(canvas, "<S3><b><c000000>", 0, 0);
    int32_t y = 10;
    for (const char* line : kInstructions) {
        DrawMarkup(canvas, line, 314, y);
        y += 14;
    }
    DrawMarkup(canvas, "</b>", 0, 0);

    freeMoves = 0;
    phaseInLevel = 0;
    level = difficulty;
    secondsPerMove = SecondsPerMoveByLevel[level];
    msLeft = secondsPerMove * 1000;
    nextPhaseScore = PhaseScoreStepByLevel[level];

    RedrawBoardTiles();
    for (BubblePiece*& cell : board) cell = nullptr;

    canvas->SetColor(0, 51, 51);
    canvas->FrameRect(6, 131, 288, 413);

    bubbleCount = 0;
    score = 0;
    UpdateScore();
    DrawFreeMovesPanel();

    SpawnWave();
    DrawPhaseAndDifficultyPanels();

    // Made stopped: the first drop starts it.
    clockTimer = factory->CreateTimer(this, kTimerPeriodMs, TickThunk);
    DrawMoveClock();
    site->frame->SetGameActive(1);
}

GameScreen::~GameScreen() {
    for (BubblePiece*& cell : board) {
        delete cell;
        cell = nullptr;
    }
    clockTimer->Release();
    clockTimer = nullptr;
    for (int i = 0; i < popCount; ++i) {
        delete popList[i].piece;
        popList[i] = PopEntry{};
    }
    popCount = 0;
}

// ---- Drawing -----------------------------------------------------------------------------

void GameScreen::DrawPhaseAndDifficultyPanels() {
    DrawCentredPanel(*this, kNextPhasePanel, FormatThousands(nextPhaseScore));
    DrawCentredPanel(*this, kDifficultyPanel, DifficultyNames[level]);
}

void GameScreen::DrawScorePanel() {
    DrawCentredPanel(*this, kScorePanel, FormatThousands(score));
}

void GameScreen::DrawFreeMovesPanel() {
    canvas->SetColor(kBackR, kBackG, kBackB);
    canvas->FillRect(350, 350, 500, 420);
    if (freeMoves == 0) return;  // an empty panel says there are none
    DrawMarkup(canvas, "<S1><c000000><b>Free Moves</b>", 350, 350);
    char text[48];
    std::snprintf(text, sizeof text, "<S0><c000000><b>%d</b>", freeMoves);
    DrawMarkup(canvas, text, 395, 370);
}

void GameScreen::DrawMoveClock() {
    canvas->SetColor(kBackR, kBackG, kBackB);
    canvas->FillRect(kClockLeft, kClockTop, kClockRight, kClockBottom);
    // 29 steps over the move's time, so the bar stays full through the first 1/29 of it.
    int64_t n = 0;
    if (secondsPerMove > 0) n = static_cast<int64_t>(msLeft) * 29 / secondsPerMove / 1000;
    if (n > kClockMaxBubbles) n = kClockMaxBubbles;
    for (int64_t i = 0; i < n; ++i) {
        canvas->DrawImage(applet->miniBubblePicture, kClockLeft,
                          kClockFirstY - kClockStep * static_cast<int32_t>(i), 0);
    }
}

}  // namespace sph
