// A canvas: stage backgrounds, offscreen canvases, still pictures and animation frames. The
// pixels are shared copy-on-write, so every frame list made from one picture shares its
// decoded frames until someone draws on one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Drawing.h"
#include "shell/core/FontCache.h"
#include "shell/core/HostFont.h"
#include "shell/core/ObjectBase.h"
#include "shell/core/Pixmap.h"

namespace shell {

class HostCanvas : public HostObject<host::Canvas> {
public:
    HostCanvas(ObjectSpace& space, FontCache& fonts, std::shared_ptr<Pixmap> pixels,
               std::string label = {});
    // A canvas of one colour whose pixels are only made when something first needs them (a
    // stage that may never be shown).
    HostCanvas(ObjectSpace& space, FontCache& fonts, int width, int height, uint32_t fill,
               std::string label = {});

    bool PixelsMade() const { return pixels_ != nullptr; }
    // Drawing is put off until the pixels are read (see HostCanvas.cpp): reading them or their
    // version draws what waits.
    const Pixmap& Pixels() const {
        Settle();
        if (!pixels_) Materialise();
        return *pixels_;
    }
    // Changes each time the pixels change, so a compositor can tell a sprite needs redrawing.
    uint64_t Version() const {
        Settle();
        return version_;
    }
    // Draws the steps put off, telling the dirty sink what they changed.
    void Settle() const {
        if (!putOff_.empty()) DrawPutOff();
    }
    // Drawing steps waiting, for tests.
    size_t PutOffSteps() const { return putOff_.size(); }
    // Shows other pixels of the same use (a picture swapped for another look).
    void ReplacePixels(std::shared_ptr<Pixmap> pixels);
    // Areas drawn are added here (the stage a background canvas belongs to).
    void SetDirtySink(DirtyRegion* sink) { sink_ = sink; }

    void Clear(uint8_t r, uint8_t g, uint8_t b) override;
    void SetColor(uint8_t r, uint8_t g, uint8_t b) override;
    void FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void SetTextColor(uint8_t r, uint8_t g, uint8_t b) override;
    void SetFont(host::Font* font) override;
    void GetFont(host::Font** font) override;
    void GetSize(int32_t* width, int32_t* height) override;
    void MeasureText(host::Font* font, const char* text, int32_t length,
                     host::Size* size) override;
    void DrawText(const char* text, int32_t length, int32_t x, int32_t y) override;
    void DrawImage(host::Canvas* picture, int32_t x, int32_t y, int32_t flags) override;

protected:
    void OnDisposed() override;

private:
    // A fill (no picture) or a picture blended with its top-left at (x, y), over `area`.
    struct Step {
        Rect area;
        uint32_t colour = 0;
        std::shared_ptr<const Pixmap> picture;
        int x = 0, y = 0;
        bool operator==(const Step& o) const {
            return area == o.area && colour == o.colour && picture == o.picture && x == o.x &&
                   y == o.y;
        }
    };
    // At most this many steps wait; one more draws them all.
    static constexpr size_t kMostPutOff = 256;
    // Areas whose last drawing is remembered.
    static constexpr size_t kMostRemembered = 4;

    void Materialise() const;
    Rect Area() const;
    Pixmap& Own() const;
    Pixmap& Writable();
    void Fill(const Rect& area);
    void PutOff(Step step);
    void DrawPutOff() const;
    void Draw(const Step* steps, size_t count) const;
    void Touched(const Rect& r) const;
    HostFont* CurrentFont();

    FontCache& fonts_;
    mutable std::shared_ptr<Pixmap> pixels_;  // null until first needed (see above)
    mutable std::vector<Step> putOff_;        // drawn, oldest first, before pixels are read
    mutable std::vector<std::vector<Step>> shown_;  // fills with what was drawn in them since
    int lazyWidth_ = 0, lazyHeight_ = 0;
    uint32_t lazyFill_ = 0;
    mutable uint64_t version_ = 0;
    DirtyRegion* sink_ = nullptr;
    uint32_t colour_ = Argb(0, 0, 0);
    uint8_t text_[3] = {0, 0, 0};
    HostFont* font_ = nullptr;  // our own reference; made on first use ("Arial" 12)
};

// Text of at most `length` bytes, stopping at a NUL; a negative length means up to the NUL.
std::string TextOf(const char* text, int32_t length);

}  // namespace shell
