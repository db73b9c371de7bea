// An in-process host for applet tests. It implements every service of the host contract,
// records each call in order, answers Random() and the dialogs from scripts, keeps settings
// in memory, lets a test deliver pointer, key, click, timer and help events, and keeps a
// ledger of every object it handed out so a test can prove nothing leaked or was released
// twice. Objects are never freed before the host itself, so a double release is recorded,
// not a crash.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/Services.h"

namespace testhost {

// One recorded host call: "Kind#id.Operation(arg, arg, ...)".
struct Call {
    std::string kind;    // "Factory", "Stage", "Canvas", "Sprite", "Font", ...
    int objectId = 0;    // ledger id of the object called
    std::string op;      // operation name as in the contract, e.g. "LoadImage"
    std::vector<std::string> args;  // numbers in decimal, strings as given (unquoted),
                                    // objects as "Kind#id", null as "null"
    std::string Text() const;       // "Kind.Op(a,b,c)" without the id
};

// What the ledger knows of one object handed to the applet.
struct LedgerEntry {
    int id = 0;
    std::string kind;
    std::string label;     // e.g. the resource name of a loaded image
    int references = 0;    // references the applet holds now
    int releases = 0;      // Release() calls received
    bool siteOwned = false;  // stages, factory, frame, settings: the applet must never release
    int overReleases = 0;      // releases beyond the references held, or of a site object
    int usesAfterRelease = 0;  // calls made on it while the applet held no reference any more
};

class Ledger {
public:
    // Objects the applet still holds references to (site-owned objects excluded).
    std::vector<LedgerEntry> Live() const;
    // Objects released more often than they were handed out, or site objects released.
    std::vector<LedgerEntry> OverReleased() const;
    // Objects called after the applet gave back its last reference (a use after release).
    std::vector<LedgerEntry> UsedAfterRelease() const;
    // True when nothing is live and nothing was over-released.
    bool Clean() const;
    // A readable report of Live() and OverReleased(), for assertion messages.
    std::string Report() const;
    const std::map<int, LedgerEntry>& Entries() const { return entries_; }

    // Used by the host's objects.
    int Register(const std::string& kind, const std::string& label, bool siteOwned);
    void AddReference(int id);
    void Release(int id);
    void NoteUse(int id);

private:
    std::map<int, LedgerEntry> entries_;
    int nextId_ = 1;
};

// A text drawn on a canvas, with the state in force when it was drawn.
struct DrawnText {
    std::string text;
    int32_t x = 0, y = 0;
    int32_t fontSize = 0, fontStyle = 0;
    std::string face;
    uint8_t r = 0, g = 0, b = 0;
};

class TestCanvas;
class TestSprite;
class TestTimer;

class TestHost {
public:
    TestHost();
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // The site to hand to Shell_StartApplet.
    host::AppletSite* Site();

    // ---- Scripts -------------------------------------------------------------------------
    // Values Random() returns, in order; when the queue is empty it returns values from a
    // fixed-seed generator.
    void QueueRandom(std::vector<uint32_t> values);
    size_t RandomCallCount() const;
    // Answers of the next MessageBox calls (default when empty: kAnswerNo for yes/no boxes,
    // 1 for informing boxes).
    void QueueMessageBoxAnswer(int32_t answer);
    // Texts the next InputBox calls accept, as if typed and OK pressed (cut to the limit).
    // When the queue is empty InputBox behaves as cancelled: `out` is left as it was.
    void QueueInputBoxText(std::string text);
    // Sounds LoadSound should not find (null is returned for them), by name as asked.
    void MissingSounds(std::set<std::string> names);
    // Frame counts and sizes of pictures LoadImage makes, by upper-case name; pictures not
    // listed get sizes of the real assets when known, else 32 x 32 with 1 frame.
    void SetPicture(const std::string& upperName, int width, int height, int frames);
    // The result the next SetTitle calls give (0 unless set).
    void SetTitleResult(int32_t result);

    // ---- Settings ------------------------------------------------------------------------
    std::map<std::string, std::string>& Settings();

    // ---- Events --------------------------------------------------------------------------
    // Pointer events routed by position on the main stage, as a player makes them: the press
    // goes to the topmost sprite whose rectangle holds the point (or to a button there), and
    // from then on moves and the release go to that sprite with coordinates relative to its
    // current top-left. Returns false when the press found no sprite.
    bool PressAt(int32_t x, int32_t y);
    void MoveTo(int32_t x, int32_t y);
    void ReleaseAt(int32_t x, int32_t y);
    // Press, moves in a few steps, release.
    bool Drag(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);
    // Events straight to one sprite, coordinates relative to its top-left.
    void SendPointer(host::Sprite* sprite, int32_t code, int32_t x, int32_t y);
    // A click on a button: its callback with value = the button's id.
    void Click(host::Button* button);
    // Clicks the button whose rectangle holds the point; false when there is none.
    bool ClickAt(int32_t x, int32_t y);
    // A key typed (event 11 on the frame).
    void TypeKey(char c);
    void TypeText(const std::string& text);
    // The help request (event 16 on the frame).
    void RequestHelp();
    // Runs the virtual clock `ms` milliseconds ahead, firing every started timer at each of
    // its periods in time order (value = ms since its Start).
    void Advance(int32_t ms);
    // Fires one timer once now with the given value, regardless of its period.
    void FireTimer(host::Timer* timer, int32_t value);
    int64_t Now() const;

    // ---- Inspection ----------------------------------------------------------------------
    const std::vector<Call>& Calls() const;
    std::vector<Call> CallsTo(const std::string& op) const;  // by operation name
    std::vector<std::string> CallTexts() const;              // Call::Text() of each
    void ClearCalls();
    Ledger& GetLedger();

    host::Stage* MainStage();
    host::Stage* HelpStage();
    host::Canvas* MainCanvas();  // the main stage's background (no reference taken)
    host::Canvas* HelpCanvas();
    host::ShellFrame* Frame();
    host::Factory* GetFactory();

    // Sprites on a stage, bottom to top.
    std::vector<host::Sprite*> SpritesOn(host::Stage* stage) const;
    // Position, size, frame shown and whether its animation runs.
    struct SpriteInfo {
        int32_t x = 0, y = 0, width = 0, height = 0;
        int32_t frame = 0;
        bool animating = false;
        bool isButton = false;
        int32_t buttonId = 0;
        std::string label;   // picture name for loaded images, "" otherwise
        int id = 0;          // ledger id
        std::string picture;     // the upper-case name of the picture its frames come from
                                 // (also for CreateSprite sprites), "" when unknown
        int32_t frameCount = 0;  // frames in its animation's frame list
        bool looping = true;     // false once SetLooping(0) was called on that frame list
        int32_t mode = 0;        // the CreateSprite mode (0 for loaded images and buttons)
    };
    SpriteInfo Info(host::Sprite* sprite) const;
    // Texts drawn on a canvas since it was made or last cleared with ClearDrawnTexts.
    const std::vector<DrawnText>& TextsOn(host::Canvas* canvas) const;
    void ClearDrawnTexts(host::Canvas* canvas);
    // Live timers and whether they run.
    std::vector<host::Timer*> Timers() const;
    bool IsStarted(host::Timer* timer) const;
    int32_t PeriodOf(host::Timer* timer) const;
    // The title given with SetTitle, the game-active flag, the last Configure value.
    std::string Title() const;
    int32_t GameActive() const;
    int32_t LastConfigure() const;
    host::SettingsStore* Store();
    // The size of any canvas the host made (stage backgrounds, frames, offscreen canvases).
    host::Size SizeOf(host::Canvas* canvas) const;
    // The ledger id of a host object, 0 for null or an object this host did not make.
    int IdOf(const host::Object* object) const;

    // Text metrics of the test host's fonts: every character is (size / 2) pixels wide,
    // bold adds 1 per character; the height is size + size / 4.
    static int32_t TextWidth(int32_t size, int32_t style, int32_t length);
    static int32_t TextHeight(int32_t size);
    // The size step GetInfo reports: the step whose size in 24,18,14,12,10,8 is nearest.
    static int32_t StepForSize(int32_t size);

    struct Impl;

private:
    Impl* impl_;
};

}  // namespace testhost
