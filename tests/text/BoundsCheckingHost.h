// A minimal host for throwing arbitrary bytes at the markup renderer: the canvas checks that
// every text it is asked to measure or draw lies inside the buffer being rendered (and reads
// each of those bytes, so AddressSanitizer sees any stray one), and the fonts count their
// references so a leak or a double release shows. No test framework is needed, so the fuzz
// targets use it too.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "host/Services.h"

namespace checking {

struct Counters {
    int outOfRange = 0;     // texts measured or drawn outside the rendered buffer
    int overReleased = 0;   // fonts released more often than referenced
    int fontsMade = 0;
    int textsDrawn = 0;
};

class CheckFont final : public host::Font {
    Counters& counters_;

public:
    CheckFont(Counters& counters, int32_t size, int32_t style, int32_t reportedStep)
        : counters_(counters), size_(size), style_(style), step_(reportedStep) {}

    void Release() override {
        if (--references <= -1) ++counters_.overReleased;
    }
    void GetInfo(char* face, int32_t* size, int32_t* step, int32_t* style) override {
        std::memset(face, 'x', host::kFaceCapacity);  // the whole buffer is ours to fill
        std::strcpy(face, "Arial");
        *size = size_;
        *step = step_;
        *style = style_;
    }

    int references = 1;
    int32_t size_;
    int32_t style_;
    int32_t step_;
};

class CheckCanvas final : public host::Canvas {
public:
    explicit CheckCanvas(Counters& counters, int32_t width) : counters_(counters), width_(width) {}

    // The bytes DrawMarkup is given; texts must lie within [begin, end).
    void Expect(const char* begin, size_t length) {
        begin_ = begin;
        end_ = begin + length;
    }

    void Release() override {}
    void Clear(uint8_t, uint8_t, uint8_t) override {}
    void SetColor(uint8_t, uint8_t, uint8_t) override {}
    void FrameRect(int32_t, int32_t, int32_t, int32_t) override {}
    void FillRect(int32_t, int32_t, int32_t, int32_t) override {}
    void SetTextColor(uint8_t, uint8_t, uint8_t) override {}
    void SetFont(host::Font* font) override {
        auto* f = static_cast<CheckFont*>(font);
        ++f->references;
        if (font_ != nullptr) font_->Release();
        font_ = f;
    }
    void GetFont(host::Font** font) override {
        ++font_->references;
        *font = font_;
    }
    void GetSize(int32_t* width, int32_t* height) override {
        *width = width_;
        *height = 420;
    }
    void MeasureText(host::Font* font, const char* text, int32_t length,
                     host::Size* size) override {
        Touch(text, length);
        const auto* f = static_cast<CheckFont*>(font);
        size->width = length * (f->size_ / 2);
        size->height = f->size_;
    }
    void DrawText(const char* text, int32_t length, int32_t, int32_t) override {
        Touch(text, length);
        ++counters_.textsDrawn;
    }
    void DrawImage(host::Canvas*, int32_t, int32_t, int32_t) override {}

    CheckFont* font_ = nullptr;

private:
    void Touch(const char* text, int32_t length) {
        if (length < 0 || text < begin_ || text + length > end_) {
            ++counters_.outOfRange;
            return;
        }
        volatile unsigned sum = 0;
        for (int32_t i = 0; i < length; ++i) sum = sum + static_cast<unsigned char>(text[i]);
    }

    Counters& counters_;
    int32_t width_;
    const char* begin_ = nullptr;
    const char* end_ = nullptr;
};

class CheckFactory final : public host::Factory {
public:
    explicit CheckFactory(Counters& counters) : counters_(counters) {}

    // The step the next fonts report, whatever their size: hosts may report anything.
    int32_t reportedStep = 3;

    CheckFont* Make(int32_t size, int32_t style) {
        fonts_.push_back(std::make_unique<CheckFont>(counters_, size, style, reportedStep));
        ++counters_.fontsMade;
        return fonts_.back().get();
    }
    // Every font but the one the canvas holds must be back to no references.
    bool FontsBalanced(const CheckCanvas& canvas) const {
        for (const auto& f : fonts_) {
            const int expected = f.get() == canvas.font_ ? 1 : 0;
            if (f->references != expected) return false;
        }
        return true;
    }

    void Release() override {}
    host::Sprite* CreateSprite(host::Animation*, int32_t) override { return nullptr; }
    host::Sprite* LoadImage(const char*, int32_t) override { return nullptr; }
    host::Timer* CreateTimer(void*, int32_t, host::Callback) override { return nullptr; }
    host::Sound* LoadSound(const char*, int32_t) override { return nullptr; }
    host::Subscription* Subscribe(host::Object*, int32_t, void*, host::Callback) override {
        return nullptr;
    }
    host::Font* CreateFont(const char* face, int32_t size, int32_t style) override {
        if (face == nullptr || std::strlen(face) >= host::kFaceCapacity) ++counters_.outOfRange;
        return Make(size, style);
    }
    host::Canvas* CreateCanvas(int32_t, int32_t, int32_t) override { return nullptr; }
    host::Animation* CreateAnimation(host::FrameList*) override { return nullptr; }
    host::Button* CreateButton(host::Stage*, void*, int32_t, int32_t, int32_t, int32_t,
                               host::Canvas*, int32_t, int32_t, host::Callback) override {
        return nullptr;
    }

private:
    Counters& counters_;
    std::vector<std::unique_ptr<CheckFont>> fonts_;
};

// A canvas holding a 12-pixel font, and the factory that made it.
struct Host {
    Counters counters;
    CheckFactory factory{counters};
    CheckCanvas canvas{counters, host::kStageWidth};

    Host() {
        CheckFont* start = factory.Make(12, 0);
        canvas.SetFont(start);
        start->Release();
    }
};

}  // namespace checking
