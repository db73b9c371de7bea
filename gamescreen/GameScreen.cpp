// The game screen's construction and destruction, and every panel it draws on the stage's
// background: logo, instructions, board frame, difficulty, score, next phase, free moves and
// the move-clock bar.
#include "gamescreen/GameScreen.h"

#include <algorithm>
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

// A panel whose value is centred on x = 400 under its caption. The caption is drawn bold and
// black at a size step of the markup.
struct CentredPanel {
    int32_t left, top, right, bottom;
    const char* caption;
    int32_t captionStep;
    int32_t captionX, captionY;
    int32_t valueY;
    int32_t fontSize;
};
constexpr int32_t kValueCentreX = 400;
constexpr CentredPanel kDifficultyPanel = {316, 165, 500, 205, "Difficulty:", 2,
                                           370, 155, 172, 18};
constexpr CentredPanel kScorePanel = {374, 205, 500, 270, "Score", 1, 374, 215, 235, 24};
constexpr CentredPanel kNextPhasePanel = {316, 275, 500, 345, "Next Phase At:", 2,
                                          350, 275, 295, 14};
// Anti-aliased glyph edges may reach this far left or right of the box their text measures.
constexpr int32_t kGlyphBleed = 2;

// The move-clock bar: mini-bubbles stacked upward from y = 404, at most 28 of them.
constexpr int32_t kClockLeft = 290, kClockTop = 133, kClockRight = 300, kClockBottom = 420;
constexpr int32_t kClockFirstY = 404;
constexpr int32_t kClockStep = 10;
constexpr int64_t kClockMaxBubbles = 28;

int TickThunk(const host::Event* event) {
    return static_cast<GameScreen*>(event->context)->OnClockTick(event);
}

// Text drawn again over its own anti-aliased pixels grows darker. The panel's fill blanks what
// lies inside the panel; this blanks the parts of a text's box (at `x`, `y` measuring `size`)
// that lie outside it, so that drawing the same text there again changes nothing.
void BlankBeyondPanel(host::Canvas* canvas, const CentredPanel& panel, int32_t x, int32_t y,
                      const host::Size& size) {
    const int32_t left = x - kGlyphBleed, right = x + size.width + kGlyphBleed;
    const int32_t top = y, bottom = y + size.height;
    const bool inside = left >= panel.left && right <= panel.right && top >= panel.top &&
                        bottom <= panel.bottom;
    if (inside || size.width <= 0 || size.height <= 0) return;
    canvas->SetColor(kBackR, kBackG, kBackB);
    if (top < panel.top) canvas->FillRect(left, top, right, std::min(bottom, panel.top));
    if (bottom > panel.bottom) canvas->FillRect(left, std::max(top, panel.bottom), right, bottom);
    const int32_t rowsTop = std::max(top, panel.top), rowsBottom = std::min(bottom, panel.bottom);
    if (rowsTop >= rowsBottom) return;
    if (left < panel.left) {
        canvas->FillRect(left, rowsTop, std::min(right, panel.left), rowsBottom);
    }
    if (right > panel.right) {
        canvas->FillRect(std::max(left, panel.right), rowsTop, right, rowsBottom);
    }
}

// Measures `text` in a bold "Arial" of `fontSize`.
host::Size MeasureBold(GameScreen& screen, const char* text, int32_t fontSize) {
    host::Font* font = screen.factory->CreateFont("Arial", fontSize, host::kStyleBold);
    host::Size size{0, 0};
    screen.canvas->MeasureText(font, text, static_cast<int32_t>(std::strlen(text)), &size);
    font->Release();
    return size;
}

void DrawCentredPanel(GameScreen& screen, const CentredPanel& panel, const std::string& value) {
    host::Canvas* canvas = screen.canvas;
    canvas->SetColor(kBackR, kBackG, kBackB);
    canvas->FillRect(panel.left, panel.top, panel.right, panel.bottom);
    BlankBeyondPanel(canvas, panel, panel.captionX + kRunIndent, panel.captionY,
                     MeasureBold(screen, panel.caption, kSizeByStep[panel.captionStep]));
    char caption[64];
    std::snprintf(caption, sizeof caption, "<S%d><c000000><b>%s</b>",
                  static_cast<int>(panel.captionStep), panel.caption);
    DrawMarkup(canvas, caption, panel.captionX, panel.captionY);
    // The value has no tags: it is drawn in this font and the black the caption left set.
    host::Font* font = screen.factory->CreateFont("Arial", panel.fontSize, host::kStyleBold);
    canvas->SetFont(font);
    host::Size size{0, 0};
    canvas->MeasureText(font, value.c_str(), static_cast<int32_t>(value.size()), &size);
    const int32_t valueX = kValueCentreX - size.width / 2;
    // A wide value (a score from 10,000 on) reaches past the panel's fill.
    BlankBeyondPanel(canvas, panel, valueX + kRunIndent, panel.valueY, size);
    DrawMarkup(canvas, value.c_str(), valueX, panel.valueY);
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
