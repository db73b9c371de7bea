// The applet fixture with helpers to find what the title and credits screens show.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "tests/support/AppletFixture.h"

namespace screens_test {

class ScreensTest : public testhost::AppletFixture {
protected:
    // Texts drawn on the main stage's background, in drawing order.
    const std::vector<testhost::DrawnText>& Texts() { return host.TextsOn(host.MainCanvas()); }

    // The text drawn last at (x, y), or null.
    const testhost::DrawnText* TextAt(int x, int y) {
        const testhost::DrawnText* found = nullptr;
        for (const testhost::DrawnText& t : Texts()) {
            if (t.x == x && t.y == y) found = &t;
        }
        return found;
    }

    std::string TextAtOrNone(int x, int y) {
        const testhost::DrawnText* t = TextAt(x, y);
        return t != nullptr ? t->text : "<none>";
    }

    // The sprite on the main stage whose top-left is (x, y), or null.
    host::Sprite* SpriteAt(int x, int y) {
        for (host::Sprite* s : host.SpritesOn(host.MainStage())) {
            const auto info = host.Info(s);
            if (info.x == x && info.y == y) return s;
        }
        return nullptr;
    }

    host::Sprite* CheckBoxSprite() { return SpriteAt(8, 392); }

    // The button on the main stage with this id at (x, y), or null.
    host::Button* ButtonAt(int x, int y) {
        host::Sprite* s = SpriteAt(x, y);
        if (s == nullptr || !host.Info(s).isButton) return nullptr;
        return static_cast<host::Button*>(s);
    }

    void ClickDifficulty(int id) {
        static constexpr int kX[] = {95, 120, 105, 120, 97};
        static constexpr int kY[] = {250, 272, 294, 316, 338};
        host::Button* button = ButtonAt(kX[id], kY[id]);
        ASSERT_NE(button, nullptr) << "no difficulty button " << id;
        host.Click(button);
    }

    // How often the new-game sound has been played.
    int NewGameSoundPlays() {
        int plays = 0;
        for (std::string label : SoundsPlayed()) {
            for (char& ch : label) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            if (label.find("newgame") != std::string::npos) ++plays;
        }
        return plays;
    }
};

}  // namespace screens_test
