// Reading the board and choosing moves.
#include "shell/bot/Board.h"

#include <unordered_map>
#include <vector>

#include "shell/bot/Lookahead.h"
#include "shell/core/HostStage.h"

namespace shell::bot {

namespace {

constexpr int kDirections[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};

bool OnBoard(int col, int row) { return col >= 0 && row >= 0 && col < kSide && row < kSide; }

}  // namespace

Board ReadBoard(const HostStage& stage) {
    Board board;
    board.fill(kEmpty);
    std::unordered_map<const void*, int> colours;
    std::vector<int> pops;
    for (HostSprite* sprite : stage.Sprites()) {
        HostAnimation* animation = sprite->Animation();
        if (animation == nullptr || animation->Frames() == nullptr || sprite->IsButton()) continue;
        const Rect b = sprite->Bounds();
        if (b.w != kBubbleSize || b.h != kBubbleSize) continue;
        const int col = (b.x - CellLeft(0)) / 35, row = (b.y - CellTop(0)) / 35;
        if (b.x < CellLeft(0) || b.y < CellTop(0) || !OnBoard(col, row) ||
            b.x != CellLeft(col) || b.y != CellTop(row)) {
            continue;  // not resting on a cell (being dragged, or not a bubble)
        }
        const int cell = col + kSide * row;
        if (!animation->Frames()->Looping()) {
            pops.push_back(cell);
            continue;
        }
        const auto [it, added] =
            colours.emplace(animation->Frames(), static_cast<int>(colours.size()));
        board[cell] = it->second;
    }
    for (int cell : pops) board[cell] = kBlocked;
    return board;
}

int LongestRun(const Board& board, int cell) {
    const int colour = board[cell];
    if (colour < 0) return 0;
    const int col = cell % kSide, row = cell / kSide;
    int longest = 0;
    for (const auto& d : kDirections) {
        int run = 1;
        for (int sign : {1, -1}) {
            int c = col + sign * d[0], r = row + sign * d[1];
            while (OnBoard(c, r) && board[c + kSide * r] == colour) {
                ++run;
                c += sign * d[0];
                r += sign * d[1];
            }
        }
        if (run > longest) longest = run;
    }
    return longest;
}

std::optional<Move> BestMove(const Board& board, std::mt19937& random) {
    static const Lookahead lookahead;
    return lookahead.Choose(board, random);
}

std::optional<Move> AnyMove(const Board& board, std::mt19937& random) {
    std::vector<int> bubbles, holes;
    for (int cell = 0; cell < kCells; ++cell) {
        if (board[cell] >= 0) bubbles.push_back(cell);
        if (board[cell] == kEmpty) holes.push_back(cell);
    }
    if (bubbles.empty() || holes.empty()) return std::nullopt;
    std::uniform_int_distribution<size_t> pickBubble(0, bubbles.size() - 1);
    std::uniform_int_distribution<size_t> pickHole(0, holes.size() - 1);
    std::optional<Move> fallback;
    for (int attempt = 0; attempt < 64; ++attempt) {
        Board after = board;
        Move m{bubbles[pickBubble(random)], holes[pickHole(random)], 0, 0};
        after[m.to] = after[m.from];
        after[m.from] = kEmpty;
        m.run = LongestRun(after, m.to);
        if (m.run < kLine) return m;
        if (!fallback) fallback = m;
    }
    return fallback;
}

}  // namespace shell::bot
