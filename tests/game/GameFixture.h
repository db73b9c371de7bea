// The applet fixture with a game screen made directly, scripted random values, and helpers to
// lay out boards and read what the screen did.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/Board.h"
#include "game/BubblePiece.h"
#include "gamescreen/GameScreen.h"
#include "tests/support/AppletFixture.h"

namespace gametest {

class GameTest : public testhost::AppletFixture {
protected:
    // Starts the applet and replaces its title screen with a game at `difficulty`, whose
    // opening wave takes `opening` as its random values.
    sph::GameScreen* NewGame(int difficulty, std::vector<uint32_t> opening) {
        if (!Started()) Start();
        host.QueueRandom(std::move(opening));
        host.ClearCalls();
        host.ClearDrawnTexts(host.MainCanvas());
        auto* game = new sph::GameScreen(sph::theApplet, difficulty);
        sph::theApplet->SwitchScreen(sph::theApplet->currentScreen, game);
        return game;
    }

    // The current screen as a game (null once a game over has switched away).
    sph::GameScreen* Game() const {
        return dynamic_cast<sph::GameScreen*>(sph::theApplet->currentScreen);
    }

    // Replaces the board with rows drawn as text: '.' empty, '0'..'7' a bubble of that kind.
    void Layout(sph::GameScreen* g, const std::vector<std::string>& rows) {
        for (sph::BubblePiece*& cell : g->board) {
            delete cell;
            cell = nullptr;
        }
        g->bubbleCount = 0;
        for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
            for (int c = 0; c < static_cast<int>(rows[r].size()); ++c) {
                if (rows[r][c] != '.') Put(g, c, r, rows[r][c] - '0');
            }
        }
    }

    sph::BubblePiece* Put(sph::GameScreen* g, int col, int row, int kind) {
        auto* piece = new sph::BubblePiece(g, kind);
        piece->MoveToCell(col, row);
        g->board[sph::CellIndex(col, row)] = piece;
        ++g->bubbleCount;
        return piece;
    }

    // The board as text, in the same form Layout takes; cleared bubbles show as '*'.
    static std::vector<std::string> Picture(const sph::GameScreen* g) {
        std::vector<std::string> rows;
        for (int r = 0; r < sph::kBoardSize; ++r) {
            std::string row;
            for (int c = 0; c < sph::kBoardSize; ++c) {
                const sph::BubblePiece* p = g->board[sph::CellIndex(c, r)];
                row += p == nullptr ? '.' : p->cleared ? '*' : static_cast<char>('0' + p->kind);
            }
            rows.push_back(row);
        }
        return rows;
    }

    static int Occupied(const sph::GameScreen* g) {
        int n = 0;
        for (const sph::BubblePiece* p : g->board) n += p != nullptr;
        return n;
    }

    // Drags the bubble on (col, row) so that its drop point is (x, y), by real pointer events.
    void DropAt(int col, int row, int x, int y) {
        const int px = 9 + 35 * col + 10;
        const int py = 134 + 35 * row + 10;
        ASSERT_TRUE(host.PressAt(px, py)) << "no bubble at " << col << "," << row;
        // The grab point is 10 pixels inside the sprite; the drop point is 17 inside.
        host.MoveTo(x - 17 + 10, y - 17 + 10);
        host.ReleaseAt(x - 17 + 10, y - 17 + 10);
    }

    // Moves the bubble on (fromCol, fromRow) to the centre of (toCol, toRow).
    void Move(int fromCol, int fromRow, int toCol, int toRow) {
        DropAt(fromCol, fromRow, 9 + 35 * toCol + 17, 134 + 35 * toRow + 17);
    }

    void Tick(sph::GameScreen* g, int32_t value) { host.FireTimer(g->clockTimer, value); }

    std::vector<std::string> Sounds() { return SoundsPlayed(); }

    int Count(const std::string& op) { return static_cast<int>(host.CallsTo(op).size()); }

    // Texts drawn on the stage's background since the calls were last cleared.
    std::vector<std::string> TextsDrawn() {
        std::vector<std::string> texts;
        for (const testhost::Call& call : host.CallsTo("DrawText")) texts.push_back(call.args[0]);
        return texts;
    }

    // MessageBox calls as "title|text|buttons".
    std::vector<std::string> Boxes() {
        std::vector<std::string> boxes;
        for (const testhost::Call& c : host.CallsTo("MessageBox")) {
            boxes.push_back(c.args[0] + "|" + c.args[1] + "|" + c.args[2]);
        }
        return boxes;
    }
};

}  // namespace gametest
