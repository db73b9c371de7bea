// The end of a game: a top-five score is entered under a name the player types, then the
// player chooses between another game and the title screen.
#include <cstring>
#include <new>

#include "applet/Applet.h"
#include "applet/Settings.h"
#include "gamescreen/GameScreen.h"
#include "screens/TitleScreen.h"

namespace sph {

namespace {

constexpr const char* kPromptTitle = "You got a high score!";
constexpr const char* kPromptText =
    "Congratulations - you got a high score!\nEnter your name for the records";
constexpr const char* kDefaultProposal = "Name";
constexpr int32_t kPromptFlags = 1;

}  // namespace

bool GameScreen::RecordHighScore() {
    host::SettingsStore* store = site->settings;
    host::ShellFrame* frame = site->frame;

    const int rank = settings::FindRank(store, score);
    if (rank == 0) return false;

    PlaySound(applet->highScoreSound);

    char proposed[settings::kValueCapacity] = {};
    if (store->ReadString(settings::kLastNameEntered, proposed) == host::kSettingsKeyAbsent) {
        std::strcpy(proposed, kDefaultProposal);
    }
    proposed[sizeof proposed - 1] = '\0';

    // Far more room than the limit asks for, and a length counted only within the buffer, so
    // a prompt that hands back more than it should can neither overrun this nor be accepted.
    char entered[settings::kValueCapacity] = {};
    auto prompt = [&] {
        frame->InputBox(kPromptTitle, kPromptText, proposed, entered, settings::kMaxNameLength,
                        kPromptFlags);
    };
    auto tooLong = [&] {
        return strnlen(entered, sizeof entered) > static_cast<size_t>(settings::kMaxNameLength);
    };
    prompt();
    while (tooLong()) {
        frame->MessageBox("Name too long",
                          "We're sorry, but names must be 20 letters or smaller.",
                          host::kMessageBoxInformAlt);
        // The prompt proposes what it proposed before, not the refused text.
        entered[sizeof entered - 1] = '\0';
        prompt();
    }

    store->WriteString(settings::kLastNameEntered, entered);
    settings::ShiftRowsDown(store, rank);
    settings::WriteRow(store, rank, entered, score);
    return true;
}

void GameScreen::EndGame() {
    if (ending) return;
    ending = true;

    int32_t answer = 0;
    if (RecordHighScore()) {
        answer = site->frame->MessageBox("Game Over", "Play Again?", host::kMessageBoxAskYesNo);
    } else {
        PlaySound(applet->gameOverSound);
        answer = site->frame->MessageBox("Game Over", "Sorry, no more moves left.\nTry Again?",
                                         host::kMessageBoxAskYesNo);
    }

    // The next game starts where this one started, not where its level-ups took it.
    Applet* owner = applet;
    Screen* next = nullptr;
    if (answer == host::kAnswerYes) {
        next = new (std::nothrow) GameScreen(owner, startDifficulty);
    } else {
        next = new (std::nothrow) TitleScreen(owner);
    }
    owner->SwitchScreen(this, next);  // this screen is gone
}

}  // namespace sph
