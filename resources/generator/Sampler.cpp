// The title screen's mini-sampler: a tiny 5 x 5 game in which two lines are made and popped,
// a new wave arrives, and the board starts over.
#include <cmath>
#include <map>
#include <utility>

#include "Art.h"

namespace assetgen {
namespace {

constexpr int kCells = 5;
constexpr int kPitch = 16;
constexpr float kRadius = 6.4f;

using Cell = std::pair<int, int>;          // column, row
using Board = std::map<Cell, int>;         // occupied cells and their colour

struct Piece {
    float x, y;       // centre in pixels
    int kind;
    float scale = 1;  // 0..1 while growing or shrinking, above 1 while held
};

float CentreOf(int index) { return kPitch * index + 7.5f; }

Piece At(Cell cell, int kind, float scale = 1) {
    return {CentreOf(cell.first), CentreOf(cell.second), kind, scale};
}

const Board kStart = {
    {{0, 2}, 0}, {{1, 2}, 0}, {{3, 2}, 0}, {{4, 2}, 0},  // a row of red waiting for one more
    {{4, 0}, 2}, {{4, 1}, 2}, {{4, 3}, 2}, {{4, 4}, 2},  // a column of blue likewise
    {{2, 4}, 0}, {{0, 4}, 2},                            // the two bubbles that will move
    {{1, 0}, 1}, {{2, 1}, 3}, {{0, 0}, 3}, {{3, 0}, 1}, {{1, 3}, 4}, {{3, 4}, 5},
};

void DrawBoard(Image& img) {
    const Image full = BoardTile(false);
    for (int r = 0; r < kCells; ++r) {
        for (int c = 0; c < kCells; ++c) {
            // A small version of the board tile; the gaps between tiles stay clear.
            RenderSupersampled(img, c * kPitch, r * kPitch, c * kPitch + 15, r * kPitch + 15, 4,
                               [&](float x, float y, Color* out) {
                                   const float lx = x - c * kPitch, ly = y - r * kPitch;
                                   if (SdRoundBox(lx, ly, 7.5f, 7.5f, 7.5f, 7.5f, 3) > 0) return false;
                                   *out = full.At(int(lx * 2.4f), int(ly * 2.4f));
                                   return true;
                               });
        }
    }
}

void DrawPiece(Image& img, const Piece& p) {
    if (p.scale <= 0.05f) return;
    DrawBubble(img, p.x, p.y, kRadius * p.scale, BubbleColor(p.kind), 0.0f, -1);
}

void DrawGlow(Image& img, Cell cell) {
    const float cx = CentreOf(cell.first), cy = CentreOf(cell.second);
    DrawOutlinedShape(img, [&](float x, float y) {
        return std::fabs(SdCircle(x, y, cx, cy, kRadius + 0.9f)) - 0.8f;
    }, Rgb(255, 255, 255), Rgb(255, 255, 255), 0.0f);
}

void DrawFlash(Image& img, Cell cell) {
    const float cx = CentreOf(cell.first), cy = CentreOf(cell.second);
    DrawOutlinedShape(img, [&](float x, float y) { return SdCircle(x, y, cx, cy, kRadius + 0.8f); },
                      Rgb(255, 255, 255), Rgb(150, 215, 250), 1.0f);
}

void DrawSparkle(Image& img, Cell cell) {
    const float cx = CentreOf(cell.first), cy = CentreOf(cell.second);
    DrawOutlinedShape(img, [&](float x, float y) {
        return SdPolygon(x, y, StarPolygon(cx, cy, 4, 6.5f, 1.8f));
    }, Rgb(255, 255, 255), Rgb(120, 190, 240), 0.7f);
}

Board Without(Board board, const std::vector<Cell>& cells) {
    for (const Cell& c : cells) board.erase(c);
    return board;
}

}  // namespace

Picture MakeSampler() {
    Picture picture;
    picture.name = "P-MINI-SAMPLER.GIF";
    picture.loops = true;
    picture.transparent = true;

    const Cell redFrom{2, 4}, redTo{2, 2}, blueFrom{0, 4}, blueTo{4, 2};
    const std::vector<Cell> row{{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}};
    const std::vector<Cell> column{{4, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 4}};
    const std::vector<Cell> wave{{1, 1}, {3, 3}, {2, 0}};

    const Board beforeFirst = Without(kStart, {redFrom});
    Board afterFirst = Without(beforeFirst, row);
    const Board beforeSecond = Without(afterFirst, {blueFrom});
    Board afterSecond = Without(beforeSecond, {column[0], column[1], column[3], column[4]});
    Board afterWave = afterSecond;
    afterWave[wave[0]] = 5;
    afterWave[wave[1]] = 6;
    afterWave[wave[2]] = 7;

    auto pieces = [](const Board& board, float scale = 1) {
        std::vector<Piece> out;
        for (const auto& [cell, kind] : board) out.push_back(At(cell, kind, scale));
        return out;
    };
    auto moving = [](Cell from, Cell to, int kind, float t) {
        return Piece{Mix(CentreOf(from.first), CentreOf(to.first), t),
                     Mix(CentreOf(from.second), CentreOf(to.second), t), kind, 1.15f};
    };

    for (int f = 0; f < 24; ++f) {
        Image img(80, 80);
        DrawBoard(img);
        std::vector<Piece> show;
        std::vector<Cell> glow, flash, sparkle;
        if (f == 0 || f == 23) {
            show = pieces(kStart);
        } else if (f <= 3) {  // the red bubble is dragged up into the gap
            show = pieces(beforeFirst);
            show.push_back(moving(redFrom, redTo, 0, f / 4.0f));
        } else if (f == 4) {  // five in a row
            Board b = beforeFirst;
            b[redTo] = 0;
            show = pieces(b);
            glow = row;
        } else if (f == 5 || f == 6) {
            show = pieces(afterFirst);
            (f == 5 ? flash : sparkle) = row;
        } else if (f == 7) {
            show = pieces(afterFirst);
        } else if (f <= 11) {  // the blue bubble crosses to the column
            show = pieces(beforeSecond);
            show.push_back(moving(blueFrom, blueTo, 2, (f - 7) / 5.0f));
        } else if (f == 12) {
            Board b = beforeSecond;
            b[blueTo] = 2;
            show = pieces(b);
            glow = column;
        } else if (f == 13 || f == 14) {
            show = pieces(afterSecond);
            (f == 13 ? flash : sparkle) = column;
        } else if (f == 15) {
            show = pieces(afterSecond);
        } else if (f <= 18) {  // a new wave grows in
            show = pieces(afterSecond);
            for (const Cell& c : wave) show.push_back(At(c, afterWave[c], f == 16 ? 0.45f : 1.0f));
        } else if (f <= 20) {  // the board empties ...
            show = pieces(afterWave, f == 19 ? 0.6f : 0.25f);
        } else {  // ... and the opening position comes back
            show = pieces(kStart, f == 21 ? 0.4f : 0.8f);
        }
        for (const Piece& p : show) DrawPiece(img, p);
        for (const Cell& c : glow) DrawGlow(img, c);
        for (const Cell& c : flash) DrawFlash(img, c);
        for (const Cell& c : sparkle) DrawSparkle(img, c);
        // Frames 5, 8, 13, 16 and 19 (counting from 1) hold for half a second, the last for two.
        int delay = 20;
        if (f == 4 || f == 7 || f == 12 || f == 15 || f == 18) delay = 50;
        if (f == 23) delay = 200;
        picture.frames.push_back({img, delay, 2});
    }
    return picture;
}

}  // namespace assetgen
