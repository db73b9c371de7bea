// Canvas drawing. Rectangles are half-open ([left, right) x [top, bottom)) and clipped to
// the canvas; fills replace pixels, text and pictures blend with their alpha.
#include "shell/core/HostCanvas.h"

#include <algorithm>
#include <cstring>

#include "shell/core/Trace.h"

namespace shell {

namespace {
constexpr const char* kDefaultFace = "Arial";
constexpr int32_t kDefaultSize = 12;
}  // namespace

std::string TextOf(const char* text, int32_t length) {
    if (text == nullptr) return {};
    if (length < 0) return std::string(text);
    return std::string(text, strnlen(text, static_cast<size_t>(length)));
}

HostCanvas::HostCanvas(ObjectSpace& space, FontCache& fonts, std::shared_ptr<Pixmap> pixels,
                       std::string label)
    : HostObject(space, "Canvas", std::move(label)), fonts_(fonts), pixels_(std::move(pixels)) {
    if (!pixels_) pixels_ = std::make_shared<Pixmap>();
}

HostCanvas::HostCanvas(ObjectSpace& space, FontCache& fonts, int width, int height,
                       uint32_t fill, std::string label)
    : HostObject(space, "Canvas", std::move(label)),
      fonts_(fonts),
      lazyWidth_(width > 0 ? width : 0),
      lazyHeight_(height > 0 ? height : 0),
      lazyFill_(fill) {}

void HostCanvas::Materialise() const {
    pixels_ = std::make_shared<Pixmap>(lazyWidth_, lazyHeight_, lazyFill_);
}

void HostCanvas::OnDisposed() {
    putOff_.clear();
    shown_.clear();
    pixels_ = std::make_shared<Pixmap>();
    if (font_ != nullptr) font_->Drop();
    font_ = nullptr;
    sink_ = nullptr;
}

void HostCanvas::ReplacePixels(std::shared_ptr<Pixmap> pixels) {
    if (!pixels || Disposed()) return;
    // What was drawn before is replaced with the rest of the old pixels.
    putOff_.clear();
    shown_.clear();
    pixels_ = std::move(pixels);
    ++version_;
    Touched(pixels_->Bounds());
}

Rect HostCanvas::Area() const {
    return pixels_ ? pixels_->Bounds() : Rect{0, 0, lazyWidth_, lazyHeight_};
}

Pixmap& HostCanvas::Own() const {
    if (!pixels_) Materialise();
    if (pixels_.use_count() > 1) pixels_ = std::make_shared<Pixmap>(*pixels_);
    return *pixels_;
}

Pixmap& HostCanvas::Writable() {
    if (!putOff_.empty()) DrawPutOff();
    return Own();
}

// Drawing is put off until someone reads the pixels: the compositor when it looks for changes,
// a screenshot, a hit test, a picture drawn elsewhere. Two rules come from every step changing
// only the pixels of its area, each from that pixel's own value and a picture that cannot
// change under it (its pixels are shared and copied before they are drawn on):
//  - a step whose area a later fill covers leaves no trace, so it is dropped: while a kept game
//    is played back unseen, a clock bar repainted with its marks on every tick costs one
//    tick's steps, not an hour's;
//  - a fill and the steps inside its area that follow it make its area the same pixels
//    whatever was there, so when the very same steps come again and nothing has changed that
//    area since, they are not drawn at all: a game repainting an unchanged bar on every tick
//    changes no pixel, and the compositor has nothing to look at.
void HostCanvas::PutOff(Step step) {
    if (step.area.Empty()) return;
    if (!step.picture) {
        std::erase_if(putOff_, [&](const Step& s) { return step.area.Contains(s.area); });
    }
    if (putOff_.size() >= kMostPutOff) DrawPutOff();
    putOff_.push_back(std::move(step));
}

void HostCanvas::DrawPutOff() const {
    std::vector<Step> steps;
    steps.swap(putOff_);
    for (size_t i = 0; i < steps.size();) {
        size_t end = i + 1;
        if (!steps[i].picture) {
            while (end < steps.size() && steps[i].area.Contains(steps[end].area)) ++end;
        }
        Draw(steps.data() + i, end - i);
        i = end;
    }
}

void HostCanvas::Draw(const Step* steps, size_t count) const {
    const bool fill = !steps[0].picture;
    const auto same = [&](const std::vector<Step>& shown) {
        return std::equal(shown.begin(), shown.end(), steps, steps + count);
    };
    if (fill && std::any_of(shown_.begin(), shown_.end(), same)) return;
    // A canvas drawn onto itself holds its own old pixels, which are not kept for comparing.
    const bool own = std::any_of(steps, steps + count,
                                 [&](const Step& s) { return s.picture && s.picture == pixels_; });
    Pixmap& pixels = Own();
    for (const Step* s = steps; s != steps + count; ++s) {
        Touched(s->picture ? pixels.Blend(*s->picture, s->x, s->y) : pixels.Fill(s->area, s->colour));
    }
    if (!fill || own) return;
    if (shown_.size() >= kMostRemembered) shown_.erase(shown_.begin());
    shown_.emplace_back(steps, steps + count);
}

void HostCanvas::Fill(const Rect& area) { PutOff({area.Intersect(Area()), colour_, nullptr}); }

void HostCanvas::Touched(const Rect& r) const {
    // Pixels drawn again as they were change nothing the compositor must look at.
    if (r.Empty()) return;
    ++version_;
    if (sink_ != nullptr) sink_->Add(r);
    // What a remembered fill drew there is no longer all that shows.
    std::erase_if(shown_, [&](const std::vector<Step>& s) { return !s[0].area.Intersect(r).Empty(); });
}

HostFont* HostCanvas::CurrentFont() {
    if (font_ == nullptr) font_ = Space().Make<HostFont>(kDefaultFace, kDefaultSize, 0);
    return font_;
}

void HostCanvas::Clear(uint8_t r, uint8_t g, uint8_t b) {
    TraceCall(this, "Clear", r, g, b);
    PutOff({Area(), Argb(r, g, b), nullptr});
}

void HostCanvas::SetColor(uint8_t r, uint8_t g, uint8_t b) {
    TraceCall(this, "SetColor", r, g, b);
    colour_ = Argb(r, g, b);
}

void HostCanvas::FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    TraceCall(this, "FrameRect", left, top, right, bottom);
    if (right <= left || bottom <= top) return;
    const int w = right - left, h = bottom - top;
    Fill({left, top, w, 1});
    Fill({left, bottom - 1, w, 1});
    Fill({left, top, 1, h});
    Fill({right - 1, top, 1, h});
}

void HostCanvas::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    TraceCall(this, "FillRect", left, top, right, bottom);
    if (right <= left || bottom <= top) return;
    Fill({left, top, right - left, bottom - top});
}

void HostCanvas::SetTextColor(uint8_t r, uint8_t g, uint8_t b) {
    TraceCall(this, "SetTextColor", r, g, b);
    text_[0] = r;
    text_[1] = g;
    text_[2] = b;
}

void HostCanvas::SetFont(host::Font* font) {
    TraceCall(this, "SetFont", font);
    HostFont* f = As<HostFont>(font);
    if (f == nullptr || f->Disposed()) return;
    f->Retain();
    if (font_ != nullptr) font_->Drop();
    font_ = f;
}

void HostCanvas::GetFont(host::Font** font) {
    TraceCall(this, "GetFont");
    if (font == nullptr) return;
    HostFont* f = CurrentFont();
    f->HandOut();
    *font = f;
}

void HostCanvas::GetSize(int32_t* width, int32_t* height) {
    TraceCall(this, "GetSize");
    if (width != nullptr) *width = pixels_ ? pixels_->Width() : lazyWidth_;
    if (height != nullptr) *height = pixels_ ? pixels_->Height() : lazyHeight_;
}

void HostCanvas::MeasureText(host::Font* font, const char* text, int32_t length,
                             host::Size* size) {
    TraceCall(this, "MeasureText", font, text, length);
    HostFont* f = As<HostFont>(font);
    if (f == nullptr || f->Disposed()) f = CurrentFont();
    int32_t w = 0, h = 0;
    fonts_.Measure(f->Face(), f->Size(), f->Style(), TextOf(text, length), &w, &h);
    if (size != nullptr) *size = {w, h};
}

void HostCanvas::DrawText(const char* text, int32_t length, int32_t x, int32_t y) {
    TraceCall(this, "DrawText", text, length, x, y);
    const std::string s = TextOf(text, length);
    if (s.empty()) return;
    HostFont* f = CurrentFont();
    Touched(fonts_.Draw(Writable(), f->Face(), f->Size(), f->Style(), s, x, y, text_[0],
                        text_[1], text_[2]));
}

void HostCanvas::DrawImage(host::Canvas* picture, int32_t x, int32_t y, int32_t flags) {
    TraceCall(this, "DrawImage", picture, x, y, flags);
    HostCanvas* source = As<HostCanvas>(picture);
    if (source == nullptr) return;
    // Hold the source's pixels: drawing a canvas onto itself must read the old pixels.
    source->Pixels();
    const std::shared_ptr<Pixmap> from = source->pixels_;
    PutOff({Rect{x, y, from->Width(), from->Height()}.Intersect(Area()), 0, from, x, y});
}

}  // namespace shell
