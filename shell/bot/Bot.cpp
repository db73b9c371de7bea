// The bot's plans and answers.
#include "shell/bot/Bot.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "shell/session/Session.h"
#include "shell/core/Host.h"

namespace shell::bot {

namespace {

constexpr int kDifficulties = 5;
constexpr int kCheckBoxLeft = 8, kCheckBoxTop = 392;
// A title screen that never starts a game, or a game that never ends, is a fault.
constexpr int kMostTitleLooks = 20;
constexpr int kMostGameLooks = 20000;
// Played to its end, a game still stops somewhere: past this many moves the bot plays to
// lose. Good play reaches the last level long before, where the waves win in the end.
constexpr int kMostMovesToEnd = 50000;
constexpr int kMostLooksToEnd = 10 * kMostMovesToEnd;
// How often the bot looks again while cleared bubbles are popping (they take 1.2 seconds).
constexpr int kPopWaitMs = 200;

// Names typed for high scores, in turn: plain, Latin-1 letters, exactly the longest allowed,
// and one letter.
const char* const kNames[] = {"Robot", "Zo\xEB \xC5ngstr\xF6m", "Twenty Characters Ok", "R"};

}  // namespace

Bot::Bot(Session& session, Host& host, BotOptions options)
    : session_(session), host_(host), options_(std::move(options)) {
    std::seed_seq seq{static_cast<uint32_t>(options_.seed), static_cast<uint32_t>(options_.seed >> 32)};
    random_.seed(seq);
}

void Bot::Fail(const std::string& why) {
    if (fault_.empty()) fault_ = why;
    done_ = true;
    plan_.clear();
}

int Bot::Think() {
    if (options_.paced) return std::uniform_int_distribution<int>(450, 900)(random_);
    return std::uniform_int_distribution<int>(40, 400)(random_);
}

// ---- Looking --------------------------------------------------------------------------------

Bot::View Bot::Look() const {
    if (session_.HelpShown()) return View::Help;
    if (host_.Frame().GameActive()) return View::Game;
    int buttons = 0;
    for (HostSprite* sprite : host_.MainStage().Sprites()) {
        if (sprite->IsButton()) ++buttons;
    }
    if (buttons == kDifficulties) return View::Title;
    if (buttons == 1) return View::Credits;
    return View::Other;
}

// Queues a press and a release on an opaque pixel of a sprite: a button by its id, or any
// other sprite by its top-left corner. False when no such sprite shows.
bool Bot::ClickSprite(bool button, int id, int left, int top) {
    HostStage& stage = host_.MainStage();
    for (HostSprite* sprite : stage.Sprites()) {
        const bool match = button ? sprite->IsButton() && sprite->ClickTarget().id == id
                                  : !sprite->IsButton() && sprite->X() == left && sprite->Y() == top;
        if (!match) continue;
        const Rect b = sprite->Bounds();
        // Search outward from the middle, where a person aims.
        for (int radius = 0; radius < std::max(b.w, b.h); ++radius) {
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (std::max(std::abs(dx), std::abs(dy)) != radius) continue;
                    const int x = b.x + b.w / 2 + dx, y = b.y + b.h / 2 + dy;
                    if (stage.SpriteAt(x, y) != sprite) continue;
                    plan_.push_back({Action::Kind::Move, x, y, {}, options_.paced ? 250 : 0});
                    plan_.push_back({Action::Kind::Press, x, y, {}, options_.paced ? 120 : 0});
                    plan_.push_back({Action::Kind::Release, x, y, {}, Think()});
                    return true;
                }
            }
        }
    }
    return false;
}

// ---- Planning -------------------------------------------------------------------------------

void Bot::Plan() {
    if (done_) return;
    const View view = Look();
    if (view != View::Title) titleLooks_ = 0;
    switch (view) {
        case View::Title:
            if (options_.games > 0 && games_ >= options_.games) {
                done_ = true;
                return;
            }
            PlanTitle();
            break;
        case View::Game: PlanGame(); break;
        case View::Credits: PlanCredits(); break;
        case View::Help: plan_.push_back({Action::Kind::Help, 0, 0, {}, Think()}); break;
        case View::Other: plan_.push_back({Action::Kind::Wait, 0, 0, {}, 100}); break;
    }
}

void Bot::PlanTitle() {
    inGame_ = false;
    if (++titleLooks_ > kMostTitleLooks) {
        Fail("the title screen does not start a game");
        return;
    }
    if (titleLooks_ == 1) {
        ++titleVisits_;
        // Every title screen holds the same objects; more than on the first means a leak.
        const size_t held = host_.GetLedger().Live().size();
        if (titleVisits_ == 1) {
            titleObjects_ = held;
        } else if (held != titleObjects_) {
            Fail("the game holds " + std::to_string(held) + " objects on title screen " +
                 std::to_string(titleVisits_) + ", " + std::to_string(titleObjects_) +
                 " on the first");
            return;
        }
        // Now and then the other ways off the title screen and the animation option.
        if (titleVisits_ % 4 == 3) {
            ++credits_;
            plan_.push_back({Action::Kind::Type, 0, 0, "credits", Think()});
            return;
        }
        if (titleVisits_ % 3 == 2 && ClickSprite(false, 0, kCheckBoxLeft, kCheckBoxTop)) {
            ++toggles_;
        }
    }
    const int difficulty = options_.difficulty
                               ? *options_.difficulty
                               : std::uniform_int_distribution<int>(0, kDifficulties - 1)(random_);
    if (!ClickSprite(true, difficulty, 0, 0)) plan_.push_back({Action::Kind::Wait, 0, 0, {}, 100});
}

void Bot::PlanCredits() {
    inGame_ = false;
    if (!ClickSprite(true, 0, 0, 0)) plan_.push_back({Action::Kind::Wait, 0, 0, {}, 100});
}

void Bot::PlanDrag(int from, int to) {
    const int fx = CellLeft(from % kSide) + kBubbleSize / 2, fy = CellTop(from / kSide) + kBubbleSize / 2;
    const int tx = CellLeft(to % kSide) + kBubbleSize / 2, ty = CellTop(to / kSide) + kBubbleSize / 2;
    const int steps = options_.paced ? 16 : 4;
    const int stepMs = options_.paced ? 20 : 0;
    if (options_.paced) plan_.push_back({Action::Kind::Move, fx, fy, {}, 200});
    plan_.push_back({Action::Kind::Press, fx, fy, {}, stepMs});
    for (int i = 1; i <= steps; ++i) {
        plan_.push_back({Action::Kind::Move, fx + (tx - fx) * i / steps, fy + (ty - fy) * i / steps,
                         {}, stepMs});
    }
    plan_.push_back({Action::Kind::Release, tx, ty, {}, Think()});
}

void Bot::PlanGame() {
    if (!inGame_) {
        inGame_ = true;
        gameMoves_ = 0;
        gameLooks_ = 0;
        lastMove_.reset();
        // A good bot can play for a long time; past its budget it plays to lose, and one
        // game in six it simply stops and lets the move clock bring the waves.
        moveBudget_ = std::uniform_int_distribution<int>(20, 120)(random_);
        idleEnding_ = std::uniform_int_distribution<int>(0, 5)(random_) == 0;
        if (options_.playToEnd) {
            moveBudget_ = kMostMovesToEnd;
            idleEnding_ = false;
        }
    }
    if (++gameLooks_ > (options_.playToEnd ? kMostLooksToEnd : kMostGameLooks)) {
        Fail("game " + std::to_string(games_ + 1) + " does not end");
        return;
    }
    const Board board = ReadBoard(host_.MainStage());
    // The last drop went to an empty cell on the board, so the bubble must have left its cell:
    // finding it back there, with its target empty, means the input did not reach the game.
    if (lastMove_) {
        if (board[lastMove_->to] == kEmpty && board[lastMove_->from] == lastColour_) ++refused_;
        lastMove_.reset();
        if (refused_ > 3 && refused_ * 20 > moves_) {
            Fail(std::to_string(refused_) + " of " + std::to_string(moves_) +
                 " drops onto empty cells were refused");
            return;
        }
    }
    if (games_ % 5 == 4 && gameMoves_ == 3 && helpPages_ <= games_ / 5) {
        ++helpPages_;
        plan_.push_back({Action::Kind::Help, 0, 0, {}, Think()});
        return;
    }
    // Bubbles that a line cleared still hold their cells for a moment; a player lets them go
    // before choosing, which the clock (four seconds at least) leaves time for.
    if (std::find(board.begin(), board.end(), kBlocked) != board.end()) {
        plan_.push_back({Action::Kind::Wait, 0, 0, {}, kPopWaitMs});
        return;
    }
    std::optional<Move> move;
    if (gameMoves_ < moveBudget_) {
        const std::clock_t start = std::clock();
        move = BestMove(board, random_);
        choosingSeconds_ += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    } else if (idleEnding_) {
        plan_.push_back({Action::Kind::Wait, 0, 0, {}, 1000});
        return;
    } else {
        move = AnyMove(board, random_);
    }
    if (!move) {
        plan_.push_back({Action::Kind::Wait, 0, 0, {}, 100});  // only pops: wait for them to go
        return;
    }
    ++gameMoves_;
    ++moves_;
    if (move->run >= kLine) ++lines_;
    lastMove_ = move;
    lastColour_ = board[move->from];
    PlanDrag(move->from, move->to);
}

// ---- Acting ---------------------------------------------------------------------------------

void Bot::Perform(const Action& a) {
    switch (a.kind) {
        case Action::Kind::Press: session_.PointerDown(a.x, a.y); break;
        case Action::Kind::Move: session_.PointerMove(a.x, a.y); break;
        case Action::Kind::Release: session_.PointerUp(a.x, a.y); break;
        case Action::Kind::Type:
            for (char c : a.text) session_.Typed(static_cast<uint8_t>(c));
            break;
        case Action::Kind::Help: session_.HelpKey(); break;
        case Action::Kind::Wait: break;
    }
}

int Bot::Step() {
    if (plan_.empty()) Plan();
    if (done_) return -1;
    if (plan_.empty()) return 100;
    const Action action = plan_.front();
    plan_.pop_front();
    Perform(action);
    // A check made inside a dialog the action opened may have ended the run.
    return done_ ? -1 : action.after;
}

// ---- Dialogs --------------------------------------------------------------------------------

bool Bot::Answer(const std::string& title, const std::string& text, bool ask) {
    (void)text;
    if (!ask) return true;
    if (title != "Game Over") return true;  // the shell's own questions: yes
    ++games_;
    inGame_ = false;
    plan_.clear();
    if (options_.checkStore) {
        const std::string problem = options_.checkStore();
        if (!problem.empty()) Fail("after game " + std::to_string(games_) + ": " + problem);
    }
    // Every other game is followed by another at once; the rest go back to the title screen.
    const bool again = !done_ && games_ % 2 == 1 && (options_.games == 0 || games_ < options_.games);
    ++(again ? playedAgain_ : backToTitle_);
    return again;
}

std::optional<std::string> Bot::Input(const std::string& title, const std::string& prompt,
                                      int limit) {
    (void)title;
    (void)prompt;
    (void)limit;
    ++namePrompts_;
    // One prompt in five is cancelled, as a player might.
    if (namePrompts_ % 5 == 0) return std::nullopt;
    ++highScores_;
    return std::string(kNames[highScores_ % std::size(kNames)]);
}

std::string Bot::Summary() const {
    char line[320];
    std::snprintf(line, sizeof line,
                  "%d games (%d played again, %d back to the title), %ld moves, %ld lines, "
                  "%ld drops refused, %d name prompts, %d title screens, %d credits, "
                  "%d help pages, %d option toggles",
                  games_, playedAgain_, backToTitle_, moves_, lines_, refused_, namePrompts_,
                  titleVisits_, credits_, helpPages_, toggles_);
    return line;
}

}  // namespace shell::bot
