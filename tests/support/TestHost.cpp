// The recording test host: every host object, the ledger, the call record, the virtual clock
// and the event routing that applet tests drive the applet through.
#include "tests/support/TestHost.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>

namespace testhost {

// ---- Calls and the ledger --------------------------------------------------------------

std::string Call::Text() const {
    std::string text = kind + "." + op + "(";
    for (size_t i = 0; i < args.size(); ++i) {
        if (i > 0) text += ",";
        text += args[i];
    }
    return text + ")";
}

int Ledger::Register(const std::string& kind, const std::string& label, bool siteOwned) {
    LedgerEntry entry;
    entry.id = nextId_++;
    entry.kind = kind;
    entry.label = label;
    entry.siteOwned = siteOwned;
    entries_[entry.id] = entry;
    return entry.id;
}

void Ledger::AddReference(int id) {
    auto it = entries_.find(id);
    if (it != entries_.end()) ++it->second.references;
}

void Ledger::Release(int id) {
    auto it = entries_.find(id);
    if (it == entries_.end()) return;
    LedgerEntry& entry = it->second;
    ++entry.releases;
    if (entry.siteOwned || entry.references <= 0) {
        ++entry.overReleases;
    } else {
        --entry.references;
    }
}

void Ledger::NoteUse(int id) {
    auto it = entries_.find(id);
    if (it == entries_.end()) return;
    LedgerEntry& entry = it->second;
    if (!entry.siteOwned && entry.references == 0 && entry.releases > 0) ++entry.usesAfterRelease;
}

std::vector<LedgerEntry> Ledger::Live() const {
    std::vector<LedgerEntry> live;
    for (const auto& [id, entry] : entries_) {
        if (!entry.siteOwned && entry.references > 0) live.push_back(entry);
    }
    return live;
}

std::vector<LedgerEntry> Ledger::OverReleased() const {
    std::vector<LedgerEntry> over;
    for (const auto& [id, entry] : entries_) {
        if (entry.overReleases > 0) over.push_back(entry);
    }
    return over;
}

std::vector<LedgerEntry> Ledger::UsedAfterRelease() const {
    std::vector<LedgerEntry> used;
    for (const auto& [id, entry] : entries_) {
        if (entry.usesAfterRelease > 0) used.push_back(entry);
    }
    return used;
}

bool Ledger::Clean() const {
    return Live().empty() && OverReleased().empty();
}

std::string Ledger::Report() const {
    std::ostringstream out;
    auto name = [&out](const LedgerEntry& e) {
        out << "  " << e.kind << "#" << e.id;
        if (!e.label.empty()) out << " '" << e.label << "'";
    };
    for (const LedgerEntry& e : Live()) {
        out << "live:";
        name(e);
        out << " references=" << e.references << "\n";
    }
    for (const LedgerEntry& e : OverReleased()) {
        out << "over-released:";
        name(e);
        out << " releases=" << e.releases << (e.siteOwned ? " (site-owned)" : "") << "\n";
    }
    for (const LedgerEntry& e : UsedAfterRelease()) {
        out << "used after release:";
        name(e);
        out << " uses=" << e.usesAfterRelease << "\n";
    }
    std::string text = out.str();
    return text.empty() ? "ledger clean" : text;
}

// ---- Host objects ----------------------------------------------------------------------

namespace {

struct PictureSize {
    int width;
    int height;
    int frames;
};

std::string Upper(const char* text) {
    std::string upper = text != nullptr ? text : "";
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::string Str(const char* text) {
    return text != nullptr ? std::string(text) : std::string("null");
}

std::string Num(int64_t value) {
    return std::to_string(value);
}

// The first `length` characters, stopping early at a NUL so a bad length cannot overrun.
std::string Prefix(const char* text, int32_t length) {
    if (text == nullptr || length <= 0) return {};
    return std::string(text, strnlen(text, static_cast<size_t>(length)));
}

const char* const kOpaque = "*";  // contexts, callbacks and out-buffers

}  // namespace

// What every host object shares: the host it belongs to and its ledger id.
struct Base {
    TestHost::Impl* h = nullptr;
    int id = 0;
    std::string kind;
    virtual ~Base() = default;
};

class TestFont;
class TestFrameList;
class TestAnimation;
class TestStage;
class TestSubscription;

struct TestHost::Impl {
    TestHost* owner = nullptr;
    Ledger ledger;
    std::vector<Call> calls;
    std::vector<std::unique_ptr<Base>> objects;  // freed only with the host

    int64_t now = 0;
    std::deque<uint32_t> randomQueue;
    uint32_t randomState = 2463534242u;
    size_t randomCalls = 0;
    std::deque<int32_t> messageBoxAnswers;
    std::deque<std::string> inputBoxTexts;
    std::set<std::string> missingSounds;  // upper-case
    std::map<std::string, PictureSize> pictures;
    std::map<std::string, std::string> settings;
    int32_t titleResult = 0;
    std::string title;
    int32_t gameActive = 0;
    int32_t lastConfigure = 0;

    class TestSite* site = nullptr;
    TestStage* mainStage = nullptr;
    TestStage* helpStage = nullptr;
    class TestFactory* factory = nullptr;
    class TestFrame* frame = nullptr;
    class TestSettings* store = nullptr;

    std::vector<TestTimer*> timers;
    std::vector<TestSubscription*> subscriptions;
    TestSprite* captured = nullptr;
    TestSprite* pressedButton = nullptr;

    template <class T, class... Args>
    T* Make(const std::string& kind, const std::string& label, bool siteOwned, Args&&... args) {
        auto object = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = object.get();
        raw->h = this;
        raw->kind = kind;
        raw->id = ledger.Register(kind, label, siteOwned);
        objects.push_back(std::move(object));
        return raw;
    }

    // Counts one reference handed to the applet and gives the object back.
    template <class T>
    T* Hand(T* object) {
        if (object != nullptr) ledger.AddReference(object->id);
        return object;
    }

    void Record(const Base* object, const char* op, std::vector<std::string> args = {}) {
        Call call;
        call.kind = object->kind;
        call.objectId = object->id;
        call.op = op;
        call.args = std::move(args);
        calls.push_back(std::move(call));
        if (std::strcmp(op, "Release") != 0) ledger.NoteUse(object->id);
    }

    std::string Obj(const host::Object* object) const {
        if (object == nullptr) return "null";
        const Base* base = dynamic_cast<const Base*>(object);
        if (base == nullptr) return "foreign";
        return base->kind + "#" + std::to_string(base->id);
    }

    void OnRelease(Base* object);

    uint32_t NextRandom();
    void Deliver(const host::Object* source, int32_t code, int32_t value, int32_t y);
    TestSprite* SpriteAt(TestStage* stage, int32_t x, int32_t y, bool buttonsOnly) const;
    TestFrameList* MakeFrames(const std::string& label, int width, int height, int frames);
    TestFont* DefaultFont();
};

// Every host interface gets its Release from here: recorded, counted, never freed.
template <class Interface>
class Obj : public Interface, public Base {
public:
    void Release() override { h->OnRelease(this); }
};

class TestFont final : public Obj<host::Font> {
public:
    std::string face;
    int32_t size = 0;
    int32_t style = 0;

    void GetInfo(char* faceOut, int32_t* sizeOut, int32_t* step, int32_t* styleOut) override {
        h->Record(this, "GetInfo", {kOpaque, kOpaque, kOpaque, kOpaque});
        if (faceOut != nullptr) {
            const size_t n = std::min(face.size(), static_cast<size_t>(host::kFaceCapacity - 1));
            std::memcpy(faceOut, face.data(), n);
            faceOut[n] = '\0';
        }
        if (sizeOut != nullptr) *sizeOut = size;
        if (step != nullptr) *step = TestHost::StepForSize(size);
        if (styleOut != nullptr) *styleOut = style;
    }
};

class TestCanvas final : public Obj<host::Canvas> {
public:
    int32_t width = 0;
    int32_t height = 0;
    uint8_t color[3] = {0, 0, 0};
    uint8_t textColor[3] = {0, 0, 0};
    TestFont* font = nullptr;  // held by the canvas, not counted in the ledger
    std::vector<DrawnText> texts;

    TestFont* CurrentFont() {
        if (font == nullptr) font = h->DefaultFont();
        return font;
    }

    void Clear(uint8_t r, uint8_t g, uint8_t b) override {
        h->Record(this, "Clear", {Num(r), Num(g), Num(b)});
    }
    void SetColor(uint8_t r, uint8_t g, uint8_t b) override {
        h->Record(this, "SetColor", {Num(r), Num(g), Num(b)});
        color[0] = r;
        color[1] = g;
        color[2] = b;
    }
    void FrameRect(int32_t l, int32_t t, int32_t r, int32_t b) override {
        h->Record(this, "FrameRect", {Num(l), Num(t), Num(r), Num(b)});
    }
    void FillRect(int32_t l, int32_t t, int32_t r, int32_t b) override {
        h->Record(this, "FillRect", {Num(l), Num(t), Num(r), Num(b)});
    }
    void SetTextColor(uint8_t r, uint8_t g, uint8_t b) override {
        h->Record(this, "SetTextColor", {Num(r), Num(g), Num(b)});
        textColor[0] = r;
        textColor[1] = g;
        textColor[2] = b;
    }
    void SetFont(host::Font* newFont) override {
        h->Record(this, "SetFont", {h->Obj(newFont)});
        if (auto* f = dynamic_cast<TestFont*>(newFont)) font = f;
    }
    void GetFont(host::Font** out) override {
        h->Record(this, "GetFont", {kOpaque});
        if (out != nullptr) *out = h->Hand(CurrentFont());
    }
    void GetSize(int32_t* w, int32_t* hgt) override {
        h->Record(this, "GetSize", {kOpaque, kOpaque});
        if (w != nullptr) *w = width;
        if (hgt != nullptr) *hgt = height;
    }
    void MeasureText(host::Font* with, const char* text, int32_t length,
                     host::Size* size) override {
        const std::string shown = Prefix(text, length);
        h->Record(this, "MeasureText", {h->Obj(with), Str(text), Num(length), kOpaque});
        TestFont* f = dynamic_cast<TestFont*>(with);
        if (f == nullptr) f = CurrentFont();
        if (size != nullptr) {
            size->width = TestHost::TextWidth(f->size, f->style,
                                              static_cast<int32_t>(shown.size()));
            size->height = TestHost::TextHeight(f->size);
        }
    }
    void DrawText(const char* text, int32_t length, int32_t x, int32_t y) override {
        const std::string shown = Prefix(text, length);
        h->Record(this, "DrawText", {shown, Num(length), Num(x), Num(y)});
        TestFont* f = CurrentFont();
        DrawnText drawn;
        drawn.text = shown;
        drawn.x = x;
        drawn.y = y;
        drawn.face = f->face;
        drawn.fontSize = f->size;
        drawn.fontStyle = f->style;
        drawn.r = textColor[0];
        drawn.g = textColor[1];
        drawn.b = textColor[2];
        texts.push_back(drawn);
    }
    void DrawImage(host::Canvas* picture, int32_t x, int32_t y, int32_t flags) override {
        h->Record(this, "DrawImage", {h->Obj(picture), Num(x), Num(y), Num(flags)});
    }
};

class TestFrameList final : public Obj<host::FrameList> {
public:
    std::vector<TestCanvas*> frames;
    std::string picture;
    int32_t width = 0;
    int32_t height = 0;
    int32_t looping = 1;

    void GetFrame(int32_t index, host::Canvas** frame) override {
        h->Record(this, "GetFrame", {Num(index), kOpaque});
        if (frame == nullptr) return;
        const bool inRange = index >= 0 && static_cast<size_t>(index) < frames.size();
        *frame = inRange ? h->Hand(frames[static_cast<size_t>(index)]) : nullptr;
    }
    void SetLooping(int32_t value) override {
        h->Record(this, "SetLooping", {Num(value)});
        looping = value;
    }
};

class TestAnimation final : public Obj<host::Animation> {
public:
    TestFrameList* frames = nullptr;  // held, not counted
    int32_t frame = 0;

    void SetFrame(int32_t index) override {
        h->Record(this, "SetFrame", {Num(index)});
        frame = index;
    }
    void GetFrames(host::FrameList** out) override {
        h->Record(this, "GetFrames", {kOpaque});
        if (out != nullptr) *out = h->Hand(frames);
    }
};

// Sprites and buttons: a button is a sprite with a picture of two halves and a click callback.
class TestSprite final : public Obj<host::Button> {
public:
    TestAnimation* animation = nullptr;  // held, not counted (null for buttons)
    TestCanvas* picture = nullptr;       // a button's two looks
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;   // buttons only; other sprites take their frames' size
    int32_t height = 0;
    bool animating = false;
    bool isButton = false;
    int32_t buttonId = 0;
    int32_t mode = 0;
    void* context = nullptr;
    host::Callback callback = nullptr;
    std::string label;

    int32_t Width() const {
        if (isButton || animation == nullptr || animation->frames == nullptr) return width;
        return animation->frames->width;
    }
    int32_t Height() const {
        if (isButton || animation == nullptr || animation->frames == nullptr) return height;
        return animation->frames->height;
    }
    bool Holds(int32_t px, int32_t py) const {
        return px >= x && px < x + Width() && py >= y && py < y + Height();
    }

    void MoveTo(int32_t nx, int32_t ny, int32_t flags) override {
        h->Record(this, "MoveTo", {Num(nx), Num(ny), Num(flags)});
        x = nx;
        y = ny;
    }
    void GetPosition(int32_t* px, int32_t* py) override {
        h->Record(this, "GetPosition", {kOpaque, kOpaque});
        if (px != nullptr) *px = x;
        if (py != nullptr) *py = y;
    }
    void StartAnimation() override {
        h->Record(this, "StartAnimation");
        animating = true;
    }
    void GetAnimation(host::Animation** out) override {
        h->Record(this, "GetAnimation", {kOpaque});
        if (out != nullptr) *out = h->Hand(animation);
    }
    void GetBitmap(host::Canvas** out) override {
        h->Record(this, "GetBitmap", {kOpaque});
        if (out == nullptr) return;
        TestCanvas* shown = picture;
        if (animation != nullptr && animation->frames != nullptr &&
            !animation->frames->frames.empty()) {
            const auto& frames = animation->frames->frames;
            const auto index = static_cast<size_t>(std::clamp<int32_t>(
                animation->frame, 0, static_cast<int32_t>(frames.size()) - 1));
            shown = frames[index];
        }
        *out = h->Hand(shown);
    }
};

class TestStage final : public Obj<host::Stage> {
public:
    TestCanvas* background = nullptr;
    std::vector<TestSprite*> sprites;  // bottom to top; the stage's own references

    void AddSprite(host::Sprite* sprite) override {
        h->Record(this, "AddSprite", {h->Obj(sprite)});
        auto* s = dynamic_cast<TestSprite*>(sprite);
        if (s == nullptr) return;
        std::erase(sprites, s);  // shown once, on top
        sprites.push_back(s);
    }
    void RemoveSprite(host::Sprite* sprite) override {
        h->Record(this, "RemoveSprite", {h->Obj(sprite)});
        std::erase(sprites, dynamic_cast<TestSprite*>(sprite));
    }
    void RaiseSprite(host::Sprite* sprite) override {
        h->Record(this, "RaiseSprite", {h->Obj(sprite)});
        auto* s = dynamic_cast<TestSprite*>(sprite);
        auto it = std::find(sprites.begin(), sprites.end(), s);
        if (it == sprites.end()) return;
        sprites.erase(it);
        sprites.push_back(s);
    }
    void GetCanvas(host::Canvas** canvas) override {
        h->Record(this, "GetCanvas", {kOpaque});
        if (canvas != nullptr) *canvas = h->Hand(background);
    }
};

class TestTimer final : public Obj<host::Timer> {
public:
    void* context = nullptr;
    int32_t period = 0;
    host::Callback callback = nullptr;
    bool started = false;
    bool dead = false;
    int64_t startTime = 0;
    int64_t nextFire = 0;

    void Start() override {
        h->Record(this, "Start");
        started = true;
        startTime = h->now;
        nextFire = h->now + std::max<int32_t>(period, 1);
    }
    void Fire(int32_t value) {
        if (dead || callback == nullptr) return;
        const host::Event event{context, 0, value, 0};
        callback(&event);
    }
};

class TestSound final : public Obj<host::Sound> {
public:
    void Play(int32_t flags) override { h->Record(this, "Play", {Num(flags)}); }
};

class TestSubscription final : public Obj<host::Subscription> {
public:
    const host::Object* source = nullptr;
    int32_t code = 0;
    void* context = nullptr;
    host::Callback callback = nullptr;
    bool dead = false;
};

class TestFactory final : public Obj<host::Factory> {
public:
    host::Sprite* CreateSprite(host::Animation* animation, int32_t mode) override {
        h->Record(this, "CreateSprite", {h->Obj(animation), Num(mode)});
        auto* sprite = h->Make<TestSprite>("Sprite", "", false);
        sprite->animation = dynamic_cast<TestAnimation*>(animation);
        sprite->mode = mode;
        return h->Hand(sprite);
    }

    host::Sprite* LoadImage(const char* name, int32_t flags) override {
        h->Record(this, "LoadImage", {Str(name), Num(flags)});
        const std::string upper = Upper(name);
        auto known = h->pictures.find(upper);
        const bool found = known != h->pictures.end();
        const PictureSize size = found ? known->second : PictureSize{32, 32, 1};
        const std::string label = found ? upper : "UNKNOWN:" + Str(name);
        auto* animation = h->Make<TestAnimation>("Animation", label, false);
        animation->frames = h->MakeFrames(label, size.width, size.height, size.frames);
        auto* sprite = h->Make<TestSprite>("Sprite", label, false);
        sprite->animation = animation;
        sprite->label = label;
        return h->Hand(sprite);
    }

    host::Timer* CreateTimer(void* context, int32_t ms, host::Callback callback) override {
        h->Record(this, "CreateTimer", {kOpaque, Num(ms), kOpaque});
        auto* timer = h->Make<TestTimer>("Timer", "", false);
        timer->context = context;
        timer->period = ms;
        timer->callback = callback;
        h->timers.push_back(timer);
        return h->Hand(timer);
    }

    host::Sound* LoadSound(const char* name, int32_t flags) override {
        h->Record(this, "LoadSound", {Str(name), Num(flags)});
        if (h->missingSounds.count(Upper(name)) != 0) return nullptr;
        return h->Hand(h->Make<TestSound>("Sound", Str(name), false));
    }

    host::Subscription* Subscribe(host::Object* source, int32_t code, void* context,
                                  host::Callback callback) override {
        h->Record(this, "Subscribe", {h->Obj(source), Num(code), kOpaque, kOpaque});
        auto* subscription =
            h->Make<TestSubscription>("Subscription", h->Obj(source) + "/" + Num(code), false);
        subscription->source = source;
        subscription->code = code;
        subscription->context = context;
        subscription->callback = callback;
        h->subscriptions.push_back(subscription);
        return h->Hand(subscription);
    }

    host::Font* CreateFont(const char* face, int32_t size, int32_t style) override {
        h->Record(this, "CreateFont", {Str(face), Num(size), Num(style)});
        auto* font = h->Make<TestFont>("Font", Str(face), false);
        font->face = face != nullptr ? face : "";
        font->size = size;
        font->style = style;
        return h->Hand(font);
    }

    host::Canvas* CreateCanvas(int32_t width, int32_t height, int32_t flags) override {
        h->Record(this, "CreateCanvas", {Num(width), Num(height), Num(flags)});
        auto* canvas = h->Make<TestCanvas>("Canvas", "", false);
        canvas->width = width;
        canvas->height = height;
        return h->Hand(canvas);
    }

    host::Animation* CreateAnimation(host::FrameList* frames) override {
        h->Record(this, "CreateAnimation", {h->Obj(frames)});
        auto* animation = h->Make<TestAnimation>("Animation", "", false);
        animation->frames = dynamic_cast<TestFrameList*>(frames);
        return h->Hand(animation);
    }

    host::Button* CreateButton(host::Stage* stage, void* context, int32_t x, int32_t y,
                               int32_t width, int32_t height, host::Canvas* picture,
                               int32_t flags, int32_t buttonId, host::Callback callback) override {
        h->Record(this, "CreateButton",
                  {h->Obj(stage), kOpaque, Num(x), Num(y), Num(width), Num(height),
                   h->Obj(picture), Num(flags), Num(buttonId), kOpaque});
        auto* button = h->Make<TestSprite>("Button", "", false);
        button->isButton = true;
        button->picture = dynamic_cast<TestCanvas*>(picture);
        button->x = x;
        button->y = y;
        button->width = width;
        button->height = height;
        button->buttonId = buttonId;
        button->context = context;
        button->callback = callback;
        if (auto* s = dynamic_cast<TestStage*>(stage)) s->sprites.push_back(button);
        return h->Hand(button);
    }
};

class TestFrame final : public Obj<host::ShellFrame> {
public:
    int32_t SetTitle(const char* name) override {
        h->Record(this, "SetTitle", {Str(name)});
        h->title = name != nullptr ? name : "";
        return h->titleResult;
    }
    void SetGameActive(int32_t active) override {
        h->Record(this, "SetGameActive", {Num(active)});
        h->gameActive = active;
    }
    void Configure(int32_t value) override {
        h->Record(this, "Configure", {Num(value)});
        h->lastConfigure = value;
    }
    int32_t MessageBox(const char* title, const char* text, int32_t buttons) override {
        h->Record(this, "MessageBox", {Str(title), Str(text), Num(buttons)});
        if (!h->messageBoxAnswers.empty()) {
            const int32_t answer = h->messageBoxAnswers.front();
            h->messageBoxAnswers.pop_front();
            return answer;
        }
        return buttons == host::kMessageBoxAskYesNo ? host::kAnswerNo : host::kAnswerYes;
    }
    int32_t InputBox(const char* title, const char* prompt, const char* initial, char* out,
                     int32_t limit, int32_t flags) override {
        h->Record(this, "InputBox",
                  {Str(title), Str(prompt), Str(initial), kOpaque, Num(limit), Num(flags)});
        if (h->inputBoxTexts.empty() || out == nullptr) return 2;
        const std::string typed = h->inputBoxTexts.front();
        h->inputBoxTexts.pop_front();
        const size_t n = std::min(typed.size(), static_cast<size_t>(std::max(limit, 0)));
        std::memcpy(out, typed.data(), n);
        out[n] = '\0';
        return 1;
    }
};

class TestSettings final : public Obj<host::SettingsStore> {
public:
    int32_t WriteString(const char* key, const char* value) override {
        h->Record(this, "WriteString", {Str(key), Str(value)});
        if (key != nullptr) h->settings[key] = value != nullptr ? value : "";
        return 0;
    }
    int32_t ReadString(const char* key, char* out) override {
        h->Record(this, "ReadString", {Str(key), kOpaque});
        if (key == nullptr) return host::kSettingsKeyAbsent;
        auto it = h->settings.find(key);
        if (it == h->settings.end()) return host::kSettingsKeyAbsent;
        if (out != nullptr) {
            const size_t n = std::min(it->second.size(),
                                      static_cast<size_t>(host::kSettingsValueCapacity - 1));
            std::memcpy(out, it->second.data(), n);
            out[n] = '\0';
        }
        return 0;
    }
};

class TestSite final : public host::AppletSite, public Base {
public:
    void Release() override { h->OnRelease(this); }
    uint32_t Random() override {
        h->Record(this, "Random");
        return h->NextRandom();
    }
};

// ---- Host internals --------------------------------------------------------------------

void TestHost::Impl::OnRelease(Base* object) {
    Record(object, "Release");
    ledger.Release(object->id);
    if (ledger.Entries().at(object->id).references > 0) return;
    if (auto* timer = dynamic_cast<TestTimer*>(object)) timer->dead = true;
    if (auto* subscription = dynamic_cast<TestSubscription*>(object)) subscription->dead = true;
}

uint32_t TestHost::Impl::NextRandom() {
    ++randomCalls;
    if (!randomQueue.empty()) {
        const uint32_t value = randomQueue.front();
        randomQueue.pop_front();
        return value;
    }
    // xorshift32: the same sequence in every run.
    uint32_t x = randomState;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    randomState = x;
    return x;
}

void TestHost::Impl::Deliver(const host::Object* source, int32_t code, int32_t value,
                             int32_t y) {
    // A callback may subscribe or release subscriptions: deliver to those present now,
    // skipping any released on the way.
    std::vector<TestSubscription*> snapshot;
    for (TestSubscription* s : subscriptions) {
        if (!s->dead && s->source == source && s->code == code) snapshot.push_back(s);
    }
    for (TestSubscription* s : snapshot) {
        if (s->dead || s->callback == nullptr) continue;
        const host::Event event{s->context, 0, value, y};
        s->callback(&event);
    }
}

TestSprite* TestHost::Impl::SpriteAt(TestStage* stage, int32_t x, int32_t y,
                                     bool buttonsOnly) const {
    for (auto it = stage->sprites.rbegin(); it != stage->sprites.rend(); ++it) {
        if (buttonsOnly && !(*it)->isButton) continue;
        if ((*it)->Holds(x, y)) return *it;
    }
    return nullptr;
}

TestFrameList* TestHost::Impl::MakeFrames(const std::string& label, int width, int height,
                                          int frames) {
    auto* list = Make<TestFrameList>("FrameList", label, false);
    list->picture = label;
    list->width = width;
    list->height = height;
    for (int i = 0; i < frames; ++i) {
        auto* canvas = Make<TestCanvas>("Canvas", label + "[" + std::to_string(i) + "]", false);
        canvas->width = width;
        canvas->height = height;
        list->frames.push_back(canvas);
    }
    return list;
}

TestFont* TestHost::Impl::DefaultFont() {
    auto* font = Make<TestFont>("Font", "default", false);
    font->face = "Arial";
    font->size = 12;
    font->style = 0;
    return font;
}

// ---- TestHost --------------------------------------------------------------------------

namespace {

void AddRealPictures(std::map<std::string, PictureSize>& pictures) {
    for (int kind = 0; kind <= 7; ++kind) {
        pictures["P-IMG-BUBBLE" + std::to_string(kind) + ".GIF"] = {32, 32, 8};
    }
    pictures["P-IMG-BUBBLE8.GIF"] = {32, 32, 7};
    pictures["P-IMG-BUBBLE9.GIF"] = {32, 32, 13};
    pictures["P-IMG-BUBBLEBG"] = {36, 36, 2};
    pictures["P-MINI-BUBBLE.GIF"] = {10, 10, 1};
    pictures["P-MINI-SAMPLER.GIF"] = {80, 80, 24};
    pictures["CHECKBOX.GIF"] = {20, 19, 2};
    pictures["P-IMG-LOGO-BIG"] = {276, 122, 1};
    pictures["P-IMG-GAMELOGO.GIF"] = {80, 60, 1};
}

}  // namespace

TestHost::TestHost() : impl_(new Impl) {
    Impl& h = *impl_;
    h.owner = this;
    AddRealPictures(h.pictures);
    h.site = h.Make<TestSite>("Site", "", true);
    h.mainStage = h.Make<TestStage>("Stage", "main", true);
    h.helpStage = h.Make<TestStage>("Stage", "help", true);
    for (TestStage* stage : {h.mainStage, h.helpStage}) {
        stage->background = h.Make<TestCanvas>("Canvas", "background", false);
        stage->background->width = host::kStageWidth;
        stage->background->height = host::kStageHeight;
    }
    h.factory = h.Make<TestFactory>("Factory", "", true);
    h.frame = h.Make<TestFrame>("ShellFrame", "", true);
    h.store = h.Make<TestSettings>("SettingsStore", "", true);
    h.site->stage = h.mainStage;
    h.site->helpStage = h.helpStage;
    h.site->factory = h.factory;
    h.site->frame = h.frame;
    h.site->settings = h.store;
}

TestHost::~TestHost() {
    delete impl_;
}

host::AppletSite* TestHost::Site() {
    return impl_->site;
}

void TestHost::QueueRandom(std::vector<uint32_t> values) {
    impl_->randomQueue.insert(impl_->randomQueue.end(), values.begin(), values.end());
}

size_t TestHost::RandomCallCount() const {
    return impl_->randomCalls;
}

void TestHost::QueueMessageBoxAnswer(int32_t answer) {
    impl_->messageBoxAnswers.push_back(answer);
}

void TestHost::QueueInputBoxText(std::string text) {
    impl_->inputBoxTexts.push_back(std::move(text));
}

void TestHost::MissingSounds(std::set<std::string> names) {
    impl_->missingSounds.clear();
    for (const std::string& name : names) impl_->missingSounds.insert(Upper(name.c_str()));
}

void TestHost::SetPicture(const std::string& upperName, int width, int height, int frames) {
    impl_->pictures[Upper(upperName.c_str())] = {width, height, frames};
}

void TestHost::SetTitleResult(int32_t result) {
    impl_->titleResult = result;
}

std::map<std::string, std::string>& TestHost::Settings() {
    return impl_->settings;
}

// ---- Events ----------------------------------------------------------------------------

bool TestHost::PressAt(int32_t x, int32_t y) {
    Impl& h = *impl_;
    TestSprite* target = h.SpriteAt(h.mainStage, x, y, false);
    h.captured = nullptr;
    h.pressedButton = nullptr;
    if (target == nullptr) return false;
    if (target->isButton) {
        h.pressedButton = target;
        return true;
    }
    h.captured = target;
    h.Deliver(target, host::kEventPointerPressed, x - target->x, y - target->y);
    return true;
}

void TestHost::MoveTo(int32_t x, int32_t y) {
    Impl& h = *impl_;
    if (h.captured == nullptr) return;
    h.Deliver(h.captured, host::kEventPointerMoved, x - h.captured->x, y - h.captured->y);
}

void TestHost::ReleaseAt(int32_t x, int32_t y) {
    Impl& h = *impl_;
    TestSprite* sprite = h.captured;
    TestSprite* button = h.pressedButton;
    h.captured = nullptr;
    h.pressedButton = nullptr;
    if (sprite != nullptr) {
        h.Deliver(sprite, host::kEventPointerReleased, x - sprite->x, y - sprite->y);
    } else if (button != nullptr && button->Holds(x, y)) {
        Click(button);
    }
}

bool TestHost::Drag(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    if (!PressAt(fromX, fromY)) return false;
    constexpr int kSteps = 4;
    for (int i = 1; i <= kSteps; ++i) {
        MoveTo(fromX + (toX - fromX) * i / kSteps, fromY + (toY - fromY) * i / kSteps);
    }
    ReleaseAt(toX, toY);
    return true;
}

void TestHost::SendPointer(host::Sprite* sprite, int32_t code, int32_t x, int32_t y) {
    impl_->Deliver(sprite, code, x, y);
}

void TestHost::Click(host::Button* button) {
    auto* b = dynamic_cast<TestSprite*>(button);
    if (b == nullptr || !b->isButton || b->callback == nullptr) return;
    const host::Event event{b->context, 0, b->buttonId, 0};
    b->callback(&event);
}

bool TestHost::ClickAt(int32_t x, int32_t y) {
    Impl& h = *impl_;
    TestSprite* button = h.SpriteAt(h.mainStage, x, y, true);
    if (button == nullptr) button = h.SpriteAt(h.helpStage, x, y, true);
    if (button == nullptr) return false;
    Click(button);
    return true;
}

void TestHost::TypeKey(char c) {
    impl_->Deliver(impl_->frame, host::kEventKeyTyped, static_cast<unsigned char>(c), 0);
}

void TestHost::TypeText(const std::string& text) {
    for (char c : text) TypeKey(c);
}

void TestHost::RequestHelp() {
    impl_->Deliver(impl_->frame, host::kEventHelpRequested, 0, 0);
}

void TestHost::Advance(int32_t ms) {
    Impl& h = *impl_;
    const int64_t end = h.now + std::max<int32_t>(ms, 0);
    for (;;) {
        // The earliest due timer next; ties go to the older timer. Callbacks may make,
        // start or release timers, so the search starts afresh each time.
        TestTimer* next = nullptr;
        for (TestTimer* t : h.timers) {
            if (t->dead || !t->started || t->nextFire > end) continue;
            if (next == nullptr || t->nextFire < next->nextFire) next = t;
        }
        if (next == nullptr) break;
        h.now = next->nextFire;
        next->nextFire += std::max<int32_t>(next->period, 1);
        next->Fire(static_cast<int32_t>(h.now - next->startTime));
    }
    h.now = end;
}

void TestHost::FireTimer(host::Timer* timer, int32_t value) {
    if (auto* t = dynamic_cast<TestTimer*>(timer)) t->Fire(value);
}

int64_t TestHost::Now() const {
    return impl_->now;
}

// ---- Inspection ------------------------------------------------------------------------

const std::vector<Call>& TestHost::Calls() const {
    return impl_->calls;
}

std::vector<Call> TestHost::CallsTo(const std::string& op) const {
    std::vector<Call> found;
    for (const Call& call : impl_->calls) {
        if (call.op == op) found.push_back(call);
    }
    return found;
}

std::vector<std::string> TestHost::CallTexts() const {
    std::vector<std::string> texts;
    texts.reserve(impl_->calls.size());
    for (const Call& call : impl_->calls) texts.push_back(call.Text());
    return texts;
}

void TestHost::ClearCalls() {
    impl_->calls.clear();
}

Ledger& TestHost::GetLedger() {
    return impl_->ledger;
}

host::Stage* TestHost::MainStage() {
    return impl_->mainStage;
}

host::Stage* TestHost::HelpStage() {
    return impl_->helpStage;
}

host::Canvas* TestHost::MainCanvas() {
    return impl_->mainStage->background;
}

host::Canvas* TestHost::HelpCanvas() {
    return impl_->helpStage->background;
}

host::ShellFrame* TestHost::Frame() {
    return impl_->frame;
}

host::Factory* TestHost::GetFactory() {
    return impl_->factory;
}

host::SettingsStore* TestHost::Store() {
    return impl_->store;
}

std::vector<host::Sprite*> TestHost::SpritesOn(host::Stage* stage) const {
    std::vector<host::Sprite*> sprites;
    if (auto* s = dynamic_cast<TestStage*>(stage)) {
        for (TestSprite* sprite : s->sprites) sprites.push_back(sprite);
    }
    return sprites;
}

TestHost::SpriteInfo TestHost::Info(host::Sprite* sprite) const {
    SpriteInfo info;
    auto* s = dynamic_cast<TestSprite*>(sprite);
    if (s == nullptr) return info;
    info.x = s->x;
    info.y = s->y;
    info.width = s->Width();
    info.height = s->Height();
    info.frame = s->animation != nullptr ? s->animation->frame : 0;
    info.animating = s->animating;
    info.isButton = s->isButton;
    info.buttonId = s->buttonId;
    info.label = s->label;
    info.id = s->id;
    info.mode = s->mode;
    if (s->animation != nullptr && s->animation->frames != nullptr) {
        const TestFrameList* frames = s->animation->frames;
        info.picture = frames->picture;
        info.frameCount = static_cast<int32_t>(frames->frames.size());
        info.looping = frames->looping != 0;
    }
    return info;
}

const std::vector<DrawnText>& TestHost::TextsOn(host::Canvas* canvas) const {
    static const std::vector<DrawnText> kNone;
    auto* c = dynamic_cast<TestCanvas*>(canvas);
    return c != nullptr ? c->texts : kNone;
}

void TestHost::ClearDrawnTexts(host::Canvas* canvas) {
    if (auto* c = dynamic_cast<TestCanvas*>(canvas)) c->texts.clear();
}

std::vector<host::Timer*> TestHost::Timers() const {
    std::vector<host::Timer*> live;
    for (TestTimer* t : impl_->timers) {
        if (!t->dead) live.push_back(t);
    }
    return live;
}

bool TestHost::IsStarted(host::Timer* timer) const {
    auto* t = dynamic_cast<TestTimer*>(timer);
    return t != nullptr && !t->dead && t->started;
}

int32_t TestHost::PeriodOf(host::Timer* timer) const {
    auto* t = dynamic_cast<TestTimer*>(timer);
    return t != nullptr ? t->period : 0;
}

std::string TestHost::Title() const {
    return impl_->title;
}

int32_t TestHost::GameActive() const {
    return impl_->gameActive;
}

int32_t TestHost::LastConfigure() const {
    return impl_->lastConfigure;
}

host::Size TestHost::SizeOf(host::Canvas* canvas) const {
    auto* c = dynamic_cast<TestCanvas*>(canvas);
    return c != nullptr ? host::Size{c->width, c->height} : host::Size{0, 0};
}

int TestHost::IdOf(const host::Object* object) const {
    const auto* base = dynamic_cast<const Base*>(object);
    return base != nullptr ? base->id : 0;
}

int32_t TestHost::TextWidth(int32_t size, int32_t style, int32_t length) {
    const int32_t perCharacter = size / 2 + ((style & host::kStyleBold) != 0 ? 1 : 0);
    return perCharacter * std::max(length, 0);
}

int32_t TestHost::TextHeight(int32_t size) {
    return size + size / 4;
}

int32_t TestHost::StepForSize(int32_t size) {
    constexpr int32_t kSizes[] = {24, 18, 14, 12, 10, 8};
    int32_t best = 0;
    for (int32_t step = 1; step < 6; ++step) {
        if (std::abs(kSizes[step] - size) < std::abs(kSizes[best] - size)) best = step;
    }
    return best;
}

}  // namespace testhost
