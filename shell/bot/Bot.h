// A player bot: it looks at what the main stage shows, clicks a difficulty on the title
// screen, drags bubbles with the same press, move and release a person makes (choosing each
// move by weighing the position it leaves, see Lookahead), answers the game-over dialogs, and now and then opens the help
// page, the credits or toggles the animation option, so that a long run walks every path a
// player can take. After every game it checks the settings store and, on every title screen,
// that the game holds no more objects than on the first one.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "shell/bot/Board.h"

namespace shell {
class Host;
class Session;
}  // namespace shell

namespace shell::bot {

struct BotOptions {
    std::optional<int> difficulty;  // 0 to 4; empty: a random one on every title screen
    int games = 0;                  // stop once this many games ended; 0: play on
    uint64_t seed = 0;
    bool paced = false;             // take the time a person would (a demo in the window)
    // Play every game until a wave finds the board full (a demo, or measuring the bot's
    // play); otherwise a game ends after a short random budget of good moves, so that soak
    // runs stay quick.
    bool playToEnd = false;
    // Run after every game: empty when the store is sound, otherwise what is wrong.
    std::function<std::string()> checkStore;
};

class Bot {
public:
    Bot(Session& session, Host& host, BotOptions options);

    // Does the next step of the bot's plan, planning anew from what the stage shows when the
    // plan is used up. Returns the milliseconds to wait before the next step, -1 once done.
    int Step();
    bool Done() const { return done_; }

    // Dialog answers. A Yes/No question: true for Yes. An input box: the text, or nothing
    // to cancel it.
    bool Answer(const std::string& title, const std::string& text, bool ask);
    std::optional<std::string> Input(const std::string& title, const std::string& prompt,
                                     int limit);

    // Empty unless a check failed (the run then stops).
    const std::string& Fault() const { return fault_; }
    int GamesFinished() const { return games_; }
    // Moves chosen and the processor time spent choosing them.
    long MovesChosen() const { return moves_; }
    double ChoosingSeconds() const { return choosingSeconds_; }
    // One line of figures: games, moves, lines, dialogs, visits.
    std::string Summary() const;

private:
    struct Action {
        enum class Kind { Press, Move, Release, Type, Help, Wait } kind = Kind::Wait;
        int x = 0, y = 0;
        std::string text;
        int after = 0;  // milliseconds to wait once done
    };
    enum class View { Title, Game, Credits, Help, Other };

    View Look() const;
    void Plan();
    void PlanTitle();
    void PlanGame();
    void PlanCredits();
    void PlanDrag(int from, int to);
    bool ClickSprite(bool button, int id, int left, int top);
    void Fail(const std::string& why);
    int Think();
    void Perform(const Action& action);

    Session& session_;
    Host& host_;
    BotOptions options_;
    std::mt19937 random_;
    std::deque<Action> plan_;
    bool done_ = false;
    std::string fault_;

    // Progress through the run.
    int games_ = 0;
    int playedAgain_ = 0;
    int backToTitle_ = 0;
    int titleVisits_ = 0;
    int titleLooks_ = 0;     // plans on the title screen in a row
    int credits_ = 0;
    int helpPages_ = 0;
    int toggles_ = 0;
    int highScores_ = 0;
    int namePrompts_ = 0;
    long moves_ = 0;
    long lines_ = 0;
    long refused_ = 0;
    double choosingSeconds_ = 0;
    size_t titleObjects_ = 0;  // objects the game held on the first title screen

    // The game being played.
    bool inGame_ = false;
    int gameMoves_ = 0;
    int gameLooks_ = 0;
    int moveBudget_ = 0;
    bool idleEnding_ = false;
    std::optional<Move> lastMove_;
    int lastColour_ = kEmpty;
};

}  // namespace shell::bot
