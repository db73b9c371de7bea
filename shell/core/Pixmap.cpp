// Pixel operations. Blending is exact straight-alpha "over" with rounding, so a test can
// predict every pixel.
#include "shell/core/Pixmap.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "shell/fonts/Blend.h"

namespace shell {

uint32_t BlendPixel(uint32_t dst, uint32_t src) { return fonts::BlendOver(dst, src); }

Pixmap::Pixmap(int width, int height, uint32_t fill)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      pixels_(static_cast<size_t>(width_) * height_, fill) {}

namespace {
// The bounds of the pixels that changed, gathered row by row.
class ChangedArea {
public:
    void Row(int y, int first, int last) {
        if (first > last) return;
        left_ = std::min(left_, first);
        right_ = std::max(right_, last + 1);
        top_ = std::min(top_, y);
        bottom_ = y + 1;
    }
    Rect Get() const {
        return right_ > left_ ? Rect{left_, top_, right_ - left_, bottom_ - top_} : Rect{};
    }

private:
    int left_ = INT32_MAX, right_ = INT32_MIN, top_ = INT32_MAX, bottom_ = 0;
};

// Writes `value(i)` over row[0..w) and gives the first and last index that changed.
template <class Value>
void WriteRow(uint32_t* row, int w, Value value, int* first, int* last) {
    *first = w;
    *last = -1;
    for (int i = 0; i < w; ++i) {
        const uint32_t v = value(i);
        if (row[i] == v) continue;
        row[i] = v;
        if (*first == w) *first = i;
        *last = i;
    }
}
}  // namespace

Rect Pixmap::Fill(const Rect& area, uint32_t colour) {
    const Rect r = area.Intersect(Bounds());
    ChangedArea changed;
    for (int y = r.y; y < r.Bottom(); ++y) {
        uint32_t* row = Row(y) + r.x;
        // A row already of the colour (a panel painted again) is only read.
        uint32_t differs = 0;
        for (int i = 0; i < r.w; ++i) differs |= row[i] ^ colour;
        if (differs == 0) continue;
        int first = 0, last = r.w - 1;
        while (row[first] == colour) ++first;
        while (row[last] == colour) --last;
        std::fill(row + first, row + last + 1, colour);
        changed.Row(y, r.x + first, r.x + last);
    }
    return changed.Get();
}

const Pixmap::BlendPlan& Pixmap::Plan() const {
    if (plan_) return *plan_;
    auto plan = std::make_shared<BlendPlan>();
    plan->rows.resize(static_cast<size_t>(height_));
    for (int y = 0; y < height_; ++y) {
        const uint32_t* row = Row(y);
        std::vector<Span>& spans = plan->rows[static_cast<size_t>(y)];
        for (int x = 0; x < width_;) {
            const uint8_t a = AlphaOf(row[x]);
            int end = x + 1;
            if (a == 0) {
                while (end < width_ && AlphaOf(row[end]) == 0) ++end;
            } else {
                const bool opaque = a == 255;
                while (end < width_ && AlphaOf(row[end]) != 0 && (AlphaOf(row[end]) == 255) == opaque) ++end;
                spans.push_back({x, end, opaque});
            }
            x = end;
        }
    }
    plan_ = plan;
    return *plan_;
}

Rect Pixmap::Blend(const Pixmap& source, int x, int y, const Rect& clip) {
    const Rect r = Rect{x, y, source.width_, source.height_}.Intersect(clip).Intersect(Bounds());
    if (r.Empty()) return {};
    const BlendPlan& plan = source.Plan();
    plan_.reset();
    ChangedArea changed;
    for (int row = r.y; row < r.Bottom(); ++row) {
        uint32_t* d = pixels_.data() + static_cast<size_t>(row) * width_;
        const uint32_t* s = source.Row(row - y);
        int rowFirst = INT32_MAX, rowLast = -1;
        for (const Span& span : plan.rows[static_cast<size_t>(row - y)]) {
            const int from = std::max(x + span.start, r.x), to = std::min(x + span.end, r.Right());
            if (from >= to) continue;
            uint32_t* dd = d + from;
            const uint32_t* ss = s + (from - x);
            const int n = to - from;
            int first = 0, last = 0;
            if (span.opaque) {
                if (std::memcmp(dd, ss, static_cast<size_t>(n) * 4) == 0) continue;
                first = 0;
                last = n - 1;
                while (dd[first] == ss[first]) ++first;
                while (dd[last] == ss[last]) --last;
                std::memcpy(dd + first, ss + first, static_cast<size_t>(last - first + 1) * 4);
            } else {
                WriteRow(dd, n, [dd, ss](int i) { return BlendPixel(dd[i], ss[i]); }, &first, &last);
                if (last < first) continue;
            }
            rowFirst = std::min(rowFirst, from + first);
            rowLast = std::max(rowLast, from + last);
        }
        changed.Row(row, rowFirst, rowLast);
    }
    return changed.Get();
}

Rect Pixmap::BlendRaw(const uint32_t* pixels, int pitch, int width, int height, int x, int y) {
    const Rect r = Rect{x, y, width, height}.Intersect(Bounds());
    ChangedArea changed;
    for (int row = r.y; row < r.Bottom(); ++row) {
        uint32_t* d = Row(row) + r.x;
        const auto* s = reinterpret_cast<const uint32_t*>(
                            reinterpret_cast<const uint8_t*>(pixels) +
                            static_cast<size_t>(row - y) * pitch) +
                        (r.x - x);
        int first = 0, last = 0;
        WriteRow(d, r.w, [d, s](int i) { return BlendPixel(d[i], s[i]); }, &first, &last);
        changed.Row(row, r.x + first, r.x + last);
    }
    return changed.Get();
}

void Pixmap::CopyArea(const Pixmap& source, const Rect& area) {
    const Rect r = area.Intersect(Bounds()).Intersect(source.Bounds());
    for (int y = r.y; y < r.Bottom(); ++y) {
        std::memcpy(Row(y) + r.x, source.Row(y) + r.x, static_cast<size_t>(r.w) * 4);
    }
}

void Pixmap::CopyFrom(const Pixmap& source, int sx, int sy, const Rect& area) {
    const Rect r = area.Intersect(Bounds());
    for (int y = r.y; y < r.Bottom(); ++y) {
        for (int x = r.x; x < r.Right(); ++x) {
            const int px = sx + (x - area.x), py = sy + (y - area.y);
            Row(y)[x] = source.Bounds().Contains(px, py) ? source.At(px, py) : 0;
        }
    }
}

std::vector<uint8_t> Pixmap::ToRgba() const {
    std::vector<uint8_t> out(pixels_.size() * 4);
    for (size_t i = 0; i < pixels_.size(); ++i) {
        const uint32_t p = pixels_[i];
        out[4 * i] = static_cast<uint8_t>(p >> 16);
        out[4 * i + 1] = static_cast<uint8_t>(p >> 8);
        out[4 * i + 2] = static_cast<uint8_t>(p);
        out[4 * i + 3] = static_cast<uint8_t>(p >> 24);
    }
    return out;
}

Pixmap Pixmap::FromRgba(int width, int height, const uint8_t* rgba) {
    Pixmap p(width, height);
    for (size_t i = 0; i < p.pixels_.size(); ++i) {
        const uint8_t* c = rgba + 4 * i;
        p.pixels_[i] = Argb(c[0], c[1], c[2], c[3]);
    }
    return p;
}

}  // namespace shell
