// Weighing positions and choosing the move that leaves the best one.
#include "shell/bot/Lookahead.h"

#include <algorithm>
#include <array>
#include <vector>

namespace shell::bot {

namespace {

constexpr int kDirections[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
constexpr int kPoints[kSide + 1] = {0, 0, 0, 0, 0, 100, 150, 250, 500};

using Stretch = std::array<int, kLine>;

// The 96 stretches of five cells in a row, column or diagonal, and for every cell the
// stretches through it (at most 20).
struct Stretches {
    std::vector<Stretch> all;
    std::array<std::vector<int>, kCells> through;
    Stretches() {
        for (const auto& d : kDirections) {
            for (int row = 0; row < kSide; ++row) {
                for (int col = 0; col < kSide; ++col) {
                    const int endCol = col + d[0] * (kLine - 1), endRow = row + d[1] * (kLine - 1);
                    if (endCol < 0 || endCol >= kSide || endRow < 0 || endRow >= kSide) continue;
                    Stretch s{};
                    for (int k = 0; k < kLine; ++k) {
                        s[k] = (col + d[0] * k) + kSide * (row + d[1] * k);
                        through[s[k]].push_back(static_cast<int>(all.size()));
                    }
                    all.push_back(s);
                }
            }
        }
    }
};

const Stretches& TheStretches() {
    static const Stretches s;
    return s;
}

// What one stretch holds: bubbles of a single colour and how many, or something that keeps
// it from ever being a line (two colours, or a pop).
struct Content {
    int colour = kEmpty;
    int n = 0;
    bool open = true;
};

Content Read(const Board& board, const Stretch& s) {
    Content c;
    for (int cell : s) {
        const int v = board[cell];
        if (v == kEmpty) continue;
        if (v < 0 || (c.colour != kEmpty && v != c.colour)) return {kEmpty, 0, false};
        c.colour = v;
        ++c.n;
    }
    return c;
}

}  // namespace

// How far each colour's stretches can be counted on: a colour with fewer bubbles on the board
// than a line needs has to wait for waves to bring the rest. A board read from the stage
// numbers its colours from 0 up, fewer than there are cells; a colour numbered beyond that
// counts as plentiful.
struct Lookahead::Supply {
    std::array<int, kCells> percent{};  // by colour
    int Of(int colour) const { return colour < kCells ? percent[colour] : 100; }
    Supply(const Board& board, const Weights& w) {
        std::array<int, kCells> count{};
        for (int v : board) {
            if (v >= 0 && v < kCells) ++count[v];
        }
        for (int colour = 0; colour < kCells; ++colour) {
            int p = 100;
            for (int missing = kLine - count[colour]; missing > 0; --missing) p = p * w.shortPercent / 100;
            percent[colour] = p;
        }
    }
};

int Lookahead::Value(const Supply& supply, int colour, int n, bool open) const {
    if (!open || n >= kLine) return 0;
    if (n == 0) return w_.open[0];
    return w_.open[n] * supply.Of(colour) / 100;
}

int Lookahead::Worth(const Board& board) const {
    const Supply supply(board, w_);
    int total = 0;
    for (const Stretch& s : TheStretches().all) {
        const Content c = Read(board, s);
        total += Value(supply, c.colour, c.n, c.open);
    }
    return total;
}

int Lookahead::Cleared(const Board& board, int cell) const {
    const int colour = board[cell], col = cell % kSide, row = cell / kSide;
    Board after = board;
    int points = 0, free = 0;
    for (const auto& d : kDirections) {
        int lo = 0, hi = 0;
        auto same = [&](int k) {
            const int c = col + d[0] * k, r = row + d[1] * k;
            return c >= 0 && r >= 0 && c < kSide && r < kSide && board[c + kSide * r] == colour;
        };
        while (same(lo - 1)) --lo;
        while (same(hi + 1)) ++hi;
        const int run = hi - lo + 1;
        if (run < kLine) continue;
        points += kPoints[run];
        free += run - 4;
        for (int k = lo; k <= hi; ++k) after[(col + d[0] * k) + kSide * (row + d[1] * k)] = kEmpty;
    }
    int removed = 0;
    for (int i = 0; i < kCells; ++i) {
        if (board[i] != after[i]) ++removed;
    }
    return Worth(after) + w_.points * points / 100 + w_.bubble * removed + w_.freeMove * free;
}

int Lookahead::Judge(const Board& board, int from, int to) const {
    Board after = board;
    after[to] = after[from];
    after[from] = kEmpty;
    if (LongestRun(after, to) >= kLine) return Cleared(after, to) - Worth(board);
    return Worth(after) - Worth(board) - w_.freeMove;
}

std::optional<Move> Lookahead::Choose(const Board& board, std::mt19937& random) const {
    std::optional<Move> best;
    int ties = 0;
    auto offer = [&](const Move& m) {
        if (!best || m.value > best->value) {
            best = m;
            ties = 1;
        } else if (m.value == best->value) {
            ++ties;
            if (std::uniform_int_distribution<int>(1, ties)(random) == 1) best = m;
        }
    };
    const Stretches& st = TheStretches();
    const int stretches = static_cast<int>(st.all.size());
    const Supply supply(board, w_);
    std::vector<Content> base(stretches), lifted;
    std::vector<int> baseValue(stretches), liftedValue;
    int worthBefore = 0;
    for (int i = 0; i < stretches; ++i) {
        base[i] = Read(board, st.all[i]);
        baseValue[i] = Value(supply, base[i].colour, base[i].n, base[i].open);
        worthBefore += baseValue[i];
    }
    Board after = board;
    for (int from = 0; from < kCells; ++from) {
        const int colour = board[from];
        if (colour < 0) continue;
        // The board with the bubble lifted: only the stretches through its cell change.
        after[from] = kEmpty;
        lifted = base;
        liftedValue = baseValue;
        int liftGain = 0;
        for (int i : st.through[from]) {
            lifted[i] = Read(after, st.all[i]);
            liftedValue[i] = Value(supply, lifted[i].colour, lifted[i].n, lifted[i].open);
            liftGain += liftedValue[i] - baseValue[i];
        }
        for (int to = 0; to < kCells; ++to) {
            if (board[to] != kEmpty) continue;
            // Dropped on `to`, the bubble adds to the stretches of its colour through it and
            // closes those of other colours; and a wave, or a free move, is the price. A
            // stretch it fills is a line.
            Move m{from, to, 0, -w_.freeMove};
            bool line = false;
            for (int i : st.through[to]) {
                const Content& c = lifted[i];
                const bool stillOpen = c.open && (c.n == 0 || c.colour == colour);
                if (stillOpen && c.n + 1 == kLine) line = true;
                m.value += Value(supply, colour, c.n + 1, stillOpen) - liftedValue[i];
            }
            m.value += liftGain;
            if (line) {
                after[to] = colour;
                m.run = LongestRun(after, to);
                m.value = Cleared(after, to) - worthBefore;
                after[to] = kEmpty;
            }
            offer(m);
        }
        after[from] = colour;
    }
    return best;
}

}  // namespace shell::bot
