// The page's records, canvas and clock for the shell core.
#include "web/WebFrontend.h"

#include <emscripten.h>

#include <algorithm>

#include "host/GameLook.h"
#include "web/WebImports.h"
#include "web/WebSound.h"

namespace shell {

namespace {
constexpr int kTextCapacity = 256;
constexpr int kKeyCodes = static_cast<int>(KeyCode::Menu) + 1;
constexpr int kLastType = static_cast<int>(ShellEvent::Type::Terminate);
// The page's records for its sound output (web/page/Page.js): x is the rate, or the frames.
constexpr int kSoundFormat = 100;
constexpr int kSoundBlock = 101;
}  // namespace

int64_t WebFrontend::RealMs() { return static_cast<int64_t>(emscripten_get_now()); }

bool WebFrontend::Translate(const int32_t record[8], const char* text, ShellEvent* out) {
    using Type = ShellEvent::Type;
    if (record[0] <= 0 || record[0] > kLastType) return false;
    ShellEvent e;
    e.type = static_cast<Type>(record[0]);
    e.x = record[1];
    e.y = record[2];
    e.held = record[3] != 0;
    switch (e.type) {
        case Type::Key:
            if (record[4] <= 0 || record[4] >= kKeyCodes) return false;
            e.key = static_cast<KeyCode>(record[4]);
            if (e.key == KeyCode::Character) {
                const int c = record[5];
                if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
                e.character = static_cast<char>(c);
            }
            e.mods = static_cast<uint32_t>(record[6]) & (kModCtrl | kModShift | kModAlt);
            break;
        case Type::Text:
            if (record[7] <= 0) return false;
            e.text.assign(text, static_cast<size_t>(std::min(record[7], kTextCapacity - 1)));
            break;
        default: break;
    }
    *out = std::move(e);
    return true;
}

bool WebFrontend::NextRecord(ShellEvent* event) {
    int32_t record[8] = {};
    char text[kTextCapacity] = {};
    while (web_next_event(record, text, kTextCapacity) != 0) {
        // The page's sound output asks through the queue too (see WebSound.h).
        if (record[0] == kSoundFormat) {
            WebSoundFormat(record[1]);
        } else if (record[0] == kSoundBlock) {
            WebSoundBlock(record[1]);
        } else if (Translate(record, text, event)) {
            return true;
        }
    }
    return false;
}

bool WebFrontend::WaitEvent(ShellEvent* event, int ms) {
    const int64_t until = ms < 0 ? -1 : RealMs() + ms;
    for (;;) {
        if (NextRecord(event)) return true;
        // The tab is closing: the run finishes with what it has, waiting no more.
        if (web_ending() != 0) return false;
        if (until >= 0 && RealMs() >= until) return false;
        // Until a record comes, or the frame that ends the wait (one landing within half a
        // frame of the end counts).
        web_wait(until < 0 ? -1 : static_cast<int>(until - RealMs()));
        if (NextRecord(event)) return true;
        if (until >= 0) return false;
    }
}

void WebFrontend::DrawableSize(int* width, int* height) { web_drawable_size(width, height); }

void WebFrontend::Put(const Pixmap& view, const Rect& area, const Viewport& viewport) {
    int w = 0, h = 0;
    DrawableSize(&w, &h);
    const Rect r = area.Intersect({0, 0, w, h});
    if (r.Empty()) return;
    pixels_.resize(static_cast<size_t>(r.w) * r.h);
    scaler_.Scale(view, viewport, r, pixels_.data(), r.w);
    // 0xFFRRGGBB words to the canvas's R, G, B, A bytes.
    for (uint32_t& p : pixels_) {
        p = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
    }
    web_put_pixels(pixels_.data(), r.x, r.y, r.w, r.h);
}

void WebFrontend::Present(const Pixmap& view, const DirtyRegion& changed,
                          const Viewport& viewport, bool all) {
    if (all) {
        // The margins around the stage, in the stage's own background colour.
        int w = 0, h = 0;
        DrawableSize(&w, &h);
        const Rect stage{viewport.OffsetX(), viewport.OffsetY(), viewport.DrawnWidth(),
                         viewport.DrawnHeight()};
        const Rect margins[] = {{0, 0, w, stage.y},
                                {0, stage.Bottom(), w, h - stage.Bottom()},
                                {0, stage.y, stage.x, stage.h},
                                {stage.Right(), stage.y, w - stage.Right(), stage.h}};
        for (const Rect& m : margins) {
            if (m.w > 0 && m.h > 0) {
                web_fill(m.x, m.y, m.w, m.h, host::look::kBackgroundRed,
                         host::look::kBackgroundGreen, host::look::kBackgroundBlue);
            }
        }
        Put(view, stage, viewport);
        // The first whole frame is on the canvas (the title, or a question asked before it).
        if (!shown_) web_first_frame();
        shown_ = true;
        return;
    }
    for (const Rect& r : changed.Rects()) {
        const Rect c = r.Intersect(view.Bounds());
        if (!c.Empty()) Put(view, StageScaler::Reach(viewport, c), viewport);
    }
}

void WebFrontend::SetTitle(const std::string& title) { web_set_title(title.c_str()); }

void WebFrontend::ToggleFullscreen() { web_toggle_fullscreen(); }

bool WebFrontend::Fullscreen() const { return web_fullscreen() != 0; }

void WebFrontend::TextInput(bool on) {
    textInput_ = on;
    web_text_input(on ? 1 : 0);
}

}  // namespace shell
