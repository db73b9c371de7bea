// Tokenising and drawing of markup text.
//
// Beyond the texts the game itself writes, any bytes must draw safely: a "<" with no ">"
// makes a tag of the rest of the text, a size tag with another character after the S does
// nothing, a colour tag with fewer than six characters is read as a number whose leading
// zeros were left out ("<C000cc>" is 0000cc, a clear blue), and tokens past kMaxMarkupTokens
// are dropped.
#include "text/Markup.h"

#include <cstring>

#include "applet/Globals.h"
#include "host/Services.h"

namespace sph {

namespace {

struct Token {
    const char* start;
    int32_t length;
    bool isTag;
};

int Tokenize(const char* text, Token* tokens) {
    int count = 0;
    const char* p = text;
    while (*p != '\0' && count < kMaxMarkupTokens) {
        if (*p != '<') {
            const char* end = std::strchr(p, '<');
            if (end == nullptr) end = p + std::strlen(p);
            tokens[count++] = {p, static_cast<int32_t>(end - p), false};
            p = end;
        } else {
            const char* content = p + 1;
            const char* close = std::strchr(content, '>');
            const char* end = close != nullptr ? close : content + std::strlen(content);
            tokens[count++] = {content, static_cast<int32_t>(end - content), true};
            p = close != nullptr ? close + 1 : end;
        }
    }
    return count;
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The state of one DrawMarkup call.
class Renderer {
public:
    Renderer(host::Canvas* canvas, int x, int y) : canvas_(canvas), penX_(x), penY_(y) {
        canvas_->GetFont(&font_);
        int32_t height = 0;
        canvas_->GetSize(&width_, &height);
    }
    ~Renderer() { font_->Release(); }
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    void Run(const Token& token) {
        host::Size size{0, 0};
        canvas_->MeasureText(font_, token.start, token.length, &size);
        const int32_t dx = centred_ ? (width_ - size.width) / 2 : penX_ + kRunIndent;
        canvas_->DrawText(token.start, token.length, dx, penY_);
        penX_ += size.width;
    }

    void Tag(const Token& token) {
        const char* c = token.start;
        int32_t n = token.length;
        bool closing = false;
        if (n > 0 && c[0] == '/') {
            closing = true;
            ++c;
            --n;
        }
        if (n == 0) return;
        const char second = n > 1 ? Upper(c[1]) : '\0';
        switch (Upper(c[0])) {
            case 'B':
                if (second == 'R') {
                    Break(15);
                } else {
                    ChangeStyle(host::kStyleBold, closing);
                }
                break;
            case 'I': ChangeStyle(host::kStyleItalic, closing); break;
            case 'U': ChangeStyle(host::kStyleUnderline, closing); break;
            case 'S': SizeTag(second); break;
            case 'C':
                if (n == 1) {
                    centred_ = !closing;
                } else {
                    Colour(c + 1, n - 1);
                }
                break;
            case 'P': Break(30); break;
            default: break;
        }
    }

private:
    void Break(int32_t lineStep) {
        penX_ = 0;
        penY_ += lineStep;
    }

    // RRGGBB from the characters after the C; only the tag's own characters are read, and
    // a shorter colour counts from the right, so the missing digits are the leading ones.
    void Colour(const char* digits, int32_t available) {
        const int32_t given = available < 6 ? available : 6;
        const int32_t missing = 6 - given;
        int value[6];
        for (int i = 0; i < 6; ++i) value[i] = i < missing ? 0 : HexDigitValue(digits[i - missing]);
        canvas_->SetTextColor(static_cast<uint8_t>(16 * value[0] + value[1]),
                              static_cast<uint8_t>(16 * value[2] + value[3]),
                              static_cast<uint8_t>(16 * value[4] + value[5]));
    }

    void SizeTag(char which) {
        if (which != '+' && which != '-' && !(which >= '0' && which <= '5')) return;
        Describe();
        // A host may report any step; bring it into the table before stepping from it.
        int32_t step = step_ < 0 ? 0 : (step_ > kSizeSteps - 1 ? kSizeSteps - 1 : step_);
        if (which == '+') {
            step = step - 1 > 0 ? step - 1 : 0;
        } else if (which == '-') {
            step = step + 1 < kSizeSteps - 1 ? step + 1 : kSizeSteps - 1;
        } else {
            step = which - '0';
        }
        Recreate(kSizeByStep[step], style_);
    }

    void ChangeStyle(int32_t bit, bool clear) {
        Describe();
        Recreate(size_, clear ? (style_ & ~bit) : (style_ | bit));
    }

    void Describe() {
        face_[0] = '\0';
        font_->GetInfo(face_, &size_, &step_, &style_);
        face_[host::kFaceCapacity - 1] = '\0';
    }

    void Recreate(int32_t size, int32_t style) {
        font_->Release();
        font_ = factory->CreateFont(face_, size, style);
        canvas_->SetFont(font_);
    }

    host::Canvas* canvas_;
    host::Font* font_ = nullptr;
    int32_t width_ = 0;
    int32_t penX_;
    int32_t penY_;
    bool centred_ = false;
    char face_[host::kFaceCapacity] = {};
    int32_t size_ = 0;
    int32_t step_ = 0;
    int32_t style_ = 0;
};

}  // namespace

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

int DrawMarkup(host::Canvas* canvas, const char* text, int x, int y) {
    Token tokens[kMaxMarkupTokens];
    const int count = Tokenize(text != nullptr ? text : "", tokens);
    Renderer renderer(canvas, x, y);
    for (int i = 0; i < count; ++i) {
        if (tokens[i].isTag) {
            renderer.Tag(tokens[i]);
        } else {
            renderer.Run(tokens[i]);
        }
    }
    return 0;
}

}  // namespace sph
