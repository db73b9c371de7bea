// The bot's choice of moves and its checks of the store, and whole runs of the program with
// --autoplay: games end, both answers to "Play Again?" are taken, the store stays sound.
#include <gtest/gtest.h>

#include <regex>

#include "shell/bot/Board.h"
#include "shell/bot/StoreCheck.h"
#include "shell/settings/SettingsFormat.h"
#include "tests/badinput/ProgramRun.h"

namespace bot = shell::bot;
using proof::ProgramResult;
using proof::RunProgram;
using proof::TempDir;

namespace {

bot::Board Empty() {
    bot::Board board;
    board.fill(bot::kEmpty);
    return board;
}
int Cell(int col, int row) { return col + bot::kSide * row; }

}  // namespace

TEST(BotMoves, CompletesALineOfFiveWhenOneMoveDoesIt) {
    for (int seed = 0; seed < 20; ++seed) {
        bot::Board board = Empty();
        for (int col = 0; col < 4; ++col) board[Cell(col, 3)] = 1;  // four in row 3
        board[Cell(6, 7)] = 1;                                      // the fifth, elsewhere
        board[Cell(2, 0)] = 2;
        std::mt19937 random(seed);
        const std::optional<bot::Move> move = bot::BestMove(board, random);
        ASSERT_TRUE(move);
        EXPECT_EQ(move->from, Cell(6, 7));
        EXPECT_EQ(move->to, Cell(4, 3));
        EXPECT_EQ(move->run, 5);
    }
}

TEST(BotMoves, PrefersTheLongerLineAndNeverCountsAPopAsAColour) {
    bot::Board board = Empty();
    // Diagonal of colour 0 waiting for its middle (would make 7), row of colour 1 for its end
    // (would make 5).
    for (int i : {0, 1, 2, 4, 5, 6}) board[Cell(i, i)] = 0;
    board[Cell(7, 0)] = 0;
    for (int col = 1; col < 5; ++col) board[Cell(col, 7)] = 1;
    board[Cell(7, 5)] = 1;
    std::mt19937 random(1);
    std::optional<bot::Move> move = bot::BestMove(board, random);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->to, Cell(3, 3));
    EXPECT_EQ(move->run, 7);

    // A popping bubble in the gap's line breaks it; the pop itself is never moved.
    board[Cell(3, 3)] = bot::kBlocked;
    move = bot::BestMove(board, random);
    ASSERT_TRUE(move);
    EXPECT_NE(move->from, Cell(3, 3));
    EXPECT_LT(bot::LongestRun([&] {
        bot::Board after = board;
        after[move->to] = after[move->from];
        after[move->from] = bot::kEmpty;
        return after;
    }(), move->to), 8);
}

TEST(BotMoves, NoMoveWithoutAMovableBubbleOrAnEmptyCell) {
    std::mt19937 random(3);
    bot::Board board = Empty();
    board[Cell(0, 0)] = bot::kBlocked;
    EXPECT_FALSE(bot::BestMove(board, random));
    EXPECT_FALSE(bot::AnyMove(board, random));
    board.fill(2);
    EXPECT_FALSE(bot::BestMove(board, random));
    EXPECT_FALSE(bot::AnyMove(board, random));
}

TEST(BotMoves, AnyMoveAvoidsClearingALine) {
    bot::Board board = Empty();
    for (int col = 0; col < 4; ++col) board[Cell(col, 0)] = 0;
    for (int seed = 0; seed < 50; ++seed) {
        std::mt19937 random(seed);
        const std::optional<bot::Move> move = bot::AnyMove(board, random);
        ASSERT_TRUE(move);
        EXPECT_LT(move->run, bot::kLine);
        EXPECT_EQ(board[move->to], bot::kEmpty);
        EXPECT_GE(board[move->from], 0);
    }
}

TEST(BotStoreCheck, AcceptsTheDefaultTableAndCatchesEachKindOfDamage) {
    std::map<std::string, std::string> store;
    const int scores[] = {16000, 8000, 4000, 2000, 1000};
    for (int r = 1; r <= 5; ++r) {
        store["Score" + std::to_string(r) + "Name"] = "Quorvex";
        store["Score" + std::to_string(r) + "Score"] = std::to_string(scores[r - 1]);
    }
    auto check = [&] {
        return bot::CheckScoreTable([&](const std::string& key) -> std::optional<std::string> {
            auto it = store.find(key);
            return it == store.end() ? std::nullopt : std::optional<std::string>(it->second);
        });
    };
    EXPECT_EQ(check(), "");
    store["Score3Score"] = "8000";  // equal to the one above: still in order
    EXPECT_EQ(check(), "");

    auto damaged = [&](const std::string& key, std::optional<std::string> value) {
        auto saved = store;
        if (value) store[key] = *value; else store.erase(key);
        const std::string problem = check();
        store = saved;
        return problem;
    };
    EXPECT_NE(damaged("Score4Score", "2001000"), "");  // above rank 3
    EXPECT_NE(damaged("Score2Score", "8,000"), "");    // a group separator in the store
    EXPECT_NE(damaged("Score1Score", "99999999999"), "");
    EXPECT_NE(damaged("Score5Name", std::nullopt), "");
    EXPECT_NE(damaged("Score5Score", std::nullopt), "");
    EXPECT_NE(damaged("Score1Name", std::string(21, 'n')), "");
    EXPECT_EQ(damaged("Score1Name", std::string(20, 'n')), "");
    EXPECT_EQ(damaged("Score5Score", "-40"), "");
}

TEST(BotStoreCheck, ASettingsFileThatDoesNotParseIsAFault) {
    TempDir dir;
    std::ofstream(dir / "s.txt") << "# spherolette settings 1\nno equals sign\n";
    EXPECT_NE(bot::CheckSettingsFile((dir / "s.txt").string(), "Spherolette."), "");
    EXPECT_NE(bot::CheckSettingsFile((dir / "absent.txt").string(), "Spherolette."), "");
}

// ---- Whole runs --------------------------------------------------------------------------

namespace {

int Figure(const std::string& out, const std::string& what) {
    std::smatch m;
    if (!std::regex_search(out, m, std::regex("(\\d+) " + what))) return -1;
    return std::stoi(m[1]);
}

}  // namespace

TEST(Autoplay, PlaysWholeGamesAtEveryDifficultyAndLeavesASoundTable) {
    TempDir dir;
    const std::string settings = (dir / "settings.txt").string();
    for (int difficulty = 0; difficulty < 5; ++difficulty) {
        const ProgramResult run = RunProgram(
            SHELL_PROGRAM,
            {"--headless", "--library", GAME_LIBRARY, "--autoplay", "--autoplay-games", "2",
             "--autoplay-difficulty", std::to_string(difficulty), "--seed",
             std::to_string(100 + difficulty), "--settings", settings});
        ASSERT_EQ(run.status, 0) << "difficulty " << difficulty << ":\n" << run.err << run.out;
        EXPECT_EQ(Figure(run.out, "games"), 2) << run.out;
        EXPECT_EQ(Figure(run.out, "played again"), 1) << run.out;
        EXPECT_EQ(Figure(run.out, "back to the title"), 1) << run.out;
        EXPECT_GT(Figure(run.out, "moves"), 10) << run.out;
        EXPECT_EQ(Figure(run.out, "drops refused"), 0) << run.out;
    }
    EXPECT_EQ(bot::CheckSettingsFile(settings, "Spherolette."), "");
}

TEST(Autoplay, TheSameSeedPlaysTheSameGames) {
    auto play = [] {
        return RunProgram(SHELL_PROGRAM, {"--headless", "--library", GAME_LIBRARY, "--autoplay",
                                          "--autoplay-games", "3", "--seed", "77"});
    };
    const ProgramResult a = play(), b = play();
    ASSERT_EQ(a.status, 0) << a.err;
    const std::string figures = a.out.substr(0, a.out.find(';'));
    EXPECT_EQ(figures, b.out.substr(0, b.out.find(';')));
    EXPECT_NE(figures.find("3 games"), std::string::npos) << a.out;
}

TEST(Autoplay, OptionsNeedAutoplayAndSaneValues) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--headless", "--autoplay-games", "3"},
          {"--headless", "--autoplay", "--autoplay-difficulty", "5"},
          {"--headless", "--autoplay", "--autoplay-games", "-1"}}) {
        std::vector<std::string> full = args;
        full.insert(full.end(), {"--library", GAME_LIBRARY});
        EXPECT_EQ(RunProgram(SHELL_PROGRAM, full).status, 2) << args[1];
    }
}
