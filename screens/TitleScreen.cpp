// The title screen and its top-five table. Everything is drawn once, at construction, on the
// stage's background canvas; afterwards the screen only answers clicks and keys.
#include "screens/TitleScreen.h"

#include <cstdio>
#include <new>
#include <string>
#include <utility>

#include "applet/Applet.h"
#include "applet/Globals.h"
#include "applet/Settings.h"
#include "gamescreen/GameScreen.h"
#include "screens/CheckBox.h"
#include "screens/CreditsScreen.h"
#include "text/Markup.h"

namespace sph {

int creditsKeyCount = 0;

namespace {

// ---- Data ------------------------------------------------------------------------------

struct DifficultyButton {
    const char* label;
    int x;
    int y;
};
constexpr DifficultyButton kDifficultyButtons[kDifficultyCount] = {
    {"Very Easy", 95, 250}, {"Easy", 120, 272}, {"Medium", 105, 294},
    {"Hard", 120, 316},     {"Very Hard", 97, 338},
};
constexpr int kButtonFontSize = 18;

constexpr const char* kInstructions[] = {
    "Drag the bubbles into place",      "across the board.  Line up",
    "bubbles in horizontal, vertical,", "or diagonal lines of five or",
    "more to clear them out.  The",     "more bubbles you clear, the",
    "more points and free moves",       "you get.",
};

constexpr const char* kCreditsWordLower = "credits";
constexpr const char* kCreditsWordUpper = "CREDITS";
constexpr int kCreditsWordLength = 7;

// The mini-sampler's place and its frame.
constexpr int kSamplerX = 348;
constexpr int kSamplerY = 204;

// The top-five panel.
constexpr int kPanelLeft = 330;
constexpr int kPanelTop = 40;
constexpr int kPanelRight = 530;
constexpr int kPanelBottom = 140;
constexpr int kRowHeight = 17;
constexpr int kLeaderEnd = 125;
constexpr int kScoreX = 435;
// The strip blanked behind a name reaches this far past the measured name.
constexpr int kNameStripMargin = 8;
// The names are drawn in "<s3><b>": the size of step 3, bold.
constexpr int32_t kRowFontSize = 12;
// The widest name drawn whole: its strip then ends where the score column starts, so a name
// never overprints the score nor runs off the stage. Longer names are cut and end in "...".
constexpr int32_t kNameColumnWidth = kScoreX - kPanelLeft - kNameStripMargin;
constexpr const char* kEllipsis = "...";

// Markup around a stored value: the longest wrapper is 20 characters, the value at most 255
// (the store cuts longer ones), so this leaves room to spare.
constexpr int kRowMarkupCapacity = settings::kValueCapacity + 64;

// ---- Callbacks -------------------------------------------------------------------------

int OnDifficultyClicked(const host::Event* event) {
    return static_cast<TitleScreen*>(event->context)->OnDifficultyChosen(event);
}

int OnKeyTypedEvent(const host::Event* event) {
    return static_cast<TitleScreen*>(event->context)->OnKeyTyped(event);
}

// The score with thousands separators; negative scores have none.
void FormatScoreMarkup(int32_t s, char* out, size_t capacity) {
    if (s > 999999) {
        std::snprintf(out, capacity, "<s3><b><c000000>%d,%03d,%03d</b>", s / 1000000,
                      (s / 1000) % 1000, s % 1000);
    } else if (s > 999) {
        std::snprintf(out, capacity, "<s3><b><c000000>%d,%03d</b>", s / 1000, s % 1000);
    } else {
        std::snprintf(out, capacity, "<s3><b><c000000>%d</b>", s);
    }
}

int32_t TextWidth(host::Canvas* canvas, host::Font* font, const std::string& text) {
    host::Size size{0, 0};
    canvas->MeasureText(font, text.c_str(), static_cast<int32_t>(text.size()), &size);
    return size.width;
}

// What is drawn for a stored name: the name itself when it fits the name column in `font`,
// otherwise its longest start that fits with "..." after it (blanks before the dots dropped).
// `width` receives the measured width of the text returned.
std::string FitName(host::Canvas* canvas, host::Font* font, const std::string& name,
                    int32_t* width) {
    *width = TextWidth(canvas, font, name);
    if (*width <= kNameColumnWidth) return name;

    auto cut = [&name](size_t keep) {
        size_t end = keep;
        while (end > 0 && name[end - 1] == ' ') --end;
        return name.substr(0, end) + kEllipsis;
    };
    std::string best = cut(0);
    int32_t bestWidth = TextWidth(canvas, font, best);
    if (bestWidth > kNameColumnWidth) {  // not even the dots fit: draw nothing
        *width = 0;
        return std::string();
    }
    // Widths grow with the characters kept: search for the most that fit. Keeping `fits`
    // characters is known to fit; keeping all of them is known not to.
    size_t fits = 0, tooMany = name.size();
    while (tooMany - fits > 1) {
        const size_t keep = fits + (tooMany - fits) / 2;
        std::string candidate = cut(keep);
        const int32_t w = TextWidth(canvas, font, candidate);
        if (w <= kNameColumnWidth) {
            fits = keep;
            best = std::move(candidate);
            bestWidth = w;
        } else {
            tooMany = keep;
        }
    }
    *width = bestWidth;
    return best;
}

}  // namespace

// ---- Construction ------------------------------------------------------------------------

TitleScreen::TitleScreen(Applet* owner) : Screen(owner) {
    canvas->Clear(51, 153, 153);
    PlaySound(applet->newGameSound);

    keySubscription =
        factory->Subscribe(site->frame, host::kEventKeyTyped, this, OnKeyTypedEvent);

    // The logo belongs to the background, not to the sprites.
    host::Sprite* logo = factory->LoadImage("p-img-logo-big", 0);
    host::Canvas* logoPicture = nullptr;
    logo->GetBitmap(&logoPicture);
    canvas->DrawImage(logoPicture, 22, 23, 0);
    logoPicture->Release();
    logo->Release();

    stage->AddSprite(applet->miniSampler);
    applet->miniSampler->MoveTo(kSamplerX, kSamplerY, 0);
    canvas->SetColor(0, 51, 51);
    canvas->FrameRect(kSamplerX - 2, kSamplerY - 2, 428, 284);

    DrawHighScores();

    // The box is put in place before the stored option is read and shown on it.
    titleCheckBox = new (std::nothrow) CheckBox(applet);
    if (titleCheckBox != nullptr) titleCheckBox->sprite->MoveTo(8, 392, 0);
    const bool animated = settings::ReadAnimatedBubbles(site->settings);
    if (titleCheckBox != nullptr) titleCheckBox->SetChecked(animated);
    DrawMarkup(canvas, "<S3><b><c000000>Use Animated Bubbles</b>", 25, 396);

    // A tags-only text sets size, bold and black for the plain lines that follow.
    DrawMarkup(canvas, "<S3><b><c000000>", 0, 0);
    int y = 295;
    for (const char* line : kInstructions) {
        DrawMarkup(canvas, line, 306, y);
        y += 14;
    }
    DrawMarkup(canvas, "</b>", 0, 0);

    DrawMarkup(canvas, "<S1><b><c000000>Select Difficulty to Start:</b>", 42, 214);
    for (int id = 0; id < kDifficultyCount; ++id) {
        const DifficultyButton& b = kDifficultyButtons[id];
        difficultyButtons[id] = applet->CreateTextButton(b.label, b.x, b.y, id, kButtonFontSize,
                                                         this, OnDifficultyClicked);
    }

    site->frame->SetGameActive(0);
}

TitleScreen::~TitleScreen() {
    for (host::Button*& button : difficultyButtons) {
        if (button == nullptr) continue;
        stage->RemoveSprite(button);
        button->Release();
        button = nullptr;
    }
    if (titleCheckBox != nullptr) {
        delete titleCheckBox;
        titleCheckBox = nullptr;
    }
    // The sampler stays with the applet for the next title screen.
    stage->RemoveSprite(applet->miniSampler);
    keySubscription->Release();
}

// ---- Event handlers ----------------------------------------------------------------------

int TitleScreen::OnDifficultyChosen(const host::Event* event) {
    const int chosen = event->value;
    // Only our five buttons call here; anything else would start a game the rules don't know.
    if (chosen < 0 || chosen >= kDifficultyCount) return 0;

    animatedBubbles = titleCheckBox != nullptr ? titleCheckBox->IsChecked() : animatedBubbles;
    site->settings->WriteString(settings::kUseAnimatedBubbles, animatedBubbles ? "1" : "0");

    Applet* owner = applet;
    Screen* game = new (std::nothrow) GameScreen(owner, chosen);
    owner->SwitchScreen(this, game);
    return 0;  // this screen is gone
}

int TitleScreen::OnKeyTyped(const host::Event* event) {
    int n = creditsKeyCount;
    if (n < 0 || n >= kCreditsWordLength) n = 0;
    const int key = event->value;
    // A key that breaks the word is not tried again as the word's first letter.
    if (key == static_cast<unsigned char>(kCreditsWordLower[n]) ||
        key == static_cast<unsigned char>(kCreditsWordUpper[n])) {
        ++n;
    } else {
        n = 0;
    }
    creditsKeyCount = n;
    if (n == kCreditsWordLength) {
        Applet* owner = applet;
        Screen* credits = new (std::nothrow) CreditsScreen(owner);
        owner->SwitchScreen(this, credits);
        creditsKeyCount = 0;  // this screen is gone; only the applet-wide count is touched
    }
    return 0;
}

// ---- Drawing -----------------------------------------------------------------------------

void TitleScreen::DrawHighScores() {
    canvas->SetColor(51, 153, 153);
    canvas->FillRect(kPanelLeft, kPanelTop, kPanelRight, kPanelBottom);
    DrawMarkup(canvas, "<s1><c003333><b>Top Players</b>", 320, 18);

    host::SettingsStore* store = site->settings;
    settings::SeedDefaultTable(store);

    for (int y = kPanelTop; y < kLeaderEnd; y += kRowHeight) {
        DrawMarkup(canvas, "<s3><c000000><b>. . . . . . . . . . . . . . . . .</b>", kPanelLeft,
                   y);
    }

    int y = kPanelTop;
    for (int rank = 1; rank <= settings::kRanks; ++rank, y += kRowHeight) {
        // A row key missing while "Score1Name" exists leaves its buffer empty: no name, 0.
        char name[settings::kValueCapacity] = {};
        char scoreText[settings::kValueCapacity] = {};
        store->ReadString(settings::NameKey(rank).text, name);
        store->ReadString(settings::ScoreKey(rank).text, scoreText);
        // The store never fills more than the capacity, but a cut value must still end here.
        name[sizeof name - 1] = '\0';
        scoreText[sizeof scoreText - 1] = '\0';
        const int32_t score = settings::ParseLeadingInt(scoreText);

        // Measure in the face the row is drawn in, so the strip fits the drawn name. The
        // store keeps the name whole; only what is drawn is cut.
        host::Font* font = factory->CreateFont("Arial", kRowFontSize, host::kStyleBold);
        canvas->SetFont(font);
        int32_t width = 0;
        const std::string shown = FitName(canvas, font, name, &width);
        canvas->SetColor(51, 153, 153);
        canvas->FillRect(kPanelLeft, y, kPanelLeft + kNameStripMargin + width, y + kRowHeight);
        font->Release();

        char markup[kRowMarkupCapacity];
        // The name goes into the markup as stored: tags in it take effect.
        std::snprintf(markup, sizeof markup, "<s3><b><c000000>%s</b>", shown.c_str());
        DrawMarkup(canvas, markup, kPanelLeft, y);

        FormatScoreMarkup(score, markup, sizeof markup);
        DrawMarkup(canvas, markup, kScoreX, y);
    }
}

}  // namespace sph
