// Reading the board and choosing moves.
#include "shell/bot/Board.h"

#include <unordered_map>
#include <vector>

#include "shell/core/HostStage.h"

namespace shell::bot {

namespace {

constexpr int kDirections[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};

bool OnBoard(int col, int row) { return col >= 0 && row >= 0 && col < kSide && row < kSide; }

// Sum over the windows of five cells through `cell` that hold no other colour (and no pop):
// the square of how many of `colour` each holds. Open, well-filled windows score high.
int Potential(const Board& board, int cell, int colour) {
    const int col = cell % kSide, row = cell / kSide;
    int total = 0;
    for (const auto& d : kDirections) {
        for (int start = -(kLine - 1); start <= 0; ++start) {
            int count = 0;
            bool open = true;
            for (int k = 0; k < kLine && open; ++k) {
                const int c = col + d[0] * (start + k), r = row + d[1] * (start + k);
                if (!OnBoard(c, r)) {
                    open = false;
                    break;
                }
                const int v = board[c + kSide * r];
                if (v == colour) {
                    ++count;
                } else if (v != kEmpty) {
                    open = false;
                }
            }
            if (open) total += count * count;
        }
    }
    return total;
}

// Keeps the best of a stream of candidates, choosing evenly among equals.
struct Picker {
    std::mt19937& random;
    std::optional<Move> best;
    int ties = 0;
    void Offer(const Move& m) {
        if (!best || m.value > best->value) {
            best = m;
            ties = 1;
        } else if (m.value == best->value) {
            ++ties;
            if (std::uniform_int_distribution<int>(1, ties)(random) == 1) best = m;
        }
    }
};

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
    Picker picker{random, {}, 0};
    Board after = board;
    for (int from = 0; from < kCells; ++from) {
        const int colour = board[from];
        if (colour < 0) continue;
        const int stayValue = Potential(board, from, colour);
        after[from] = kEmpty;
        for (int to = 0; to < kCells; ++to) {
            if (board[to] != kEmpty) continue;
            after[to] = colour;
            Move m{from, to, LongestRun(after, to), 0};
            if (m.run >= kLine) {
                m.value = 1000000 + 10000 * m.run;
            } else {
                m.value = Potential(after, to, colour) - stayValue;
            }
            after[to] = kEmpty;
            picker.Offer(m);
        }
        after[from] = colour;
    }
    return picker.best;
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
