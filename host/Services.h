// Services: the stages, the object factory, the frame (title, dialogs, keys, help),
// the settings store, timers, sounds and subscriptions, and the site that hands them out.
#pragma once

#include "host/Drawing.h"

namespace host {

// A background canvas with sprites above it, in the order they were added.
class Stage : public Object {
public:
    // Shows the sprite on top of the sprites already here; the stage keeps its own reference.
    virtual void AddSprite(Sprite* sprite) = 0;
    // Takes the sprite off the stage (a sprite not on it is ignored).
    virtual void RemoveSprite(Sprite* sprite) = 0;
    // Puts the sprite above every other sprite on the stage.
    virtual void RaiseSprite(Sprite* sprite) = 0;
    // Gives a new reference to the background canvas, which keeps what is drawn on it.
    virtual void GetCanvas(Canvas** canvas) = 0;
};

// A periodic timer, made stopped. Each event's value is milliseconds since Start.
class Timer : public Object {
public:
    // Starts (or restarts) the timer.
    virtual void Start() = 0;
};

// A loaded sound; several may play at once.
class Sound : public Object {
public:
    // Plays the sound once from the start. `flags` is 0.
    virtual void Play(int32_t flags) = 0;
};

// A registration of a callback; releasing it ends the callbacks.
class Subscription : public Object {};

// Makes every object the applet asks for.
class Factory : public Object {
public:
    // Makes a hidden sprite showing `animation` (the sprite keeps its own reference).
    virtual Sprite* CreateSprite(Animation* animation, int32_t mode) = 0;
    // Loads the named picture resource as a hidden sprite. `flags` is 0.
    virtual Sprite* LoadImage(const char* name, int32_t flags) = 0;
    // Makes a stopped timer calling `callback` with `context` every `ms` milliseconds.
    virtual Timer* CreateTimer(void* context, int32_t ms, Callback callback) = 0;
    // Loads the named sound resource; null when it cannot be had. `flags` is 0.
    virtual Sound* LoadSound(const char* name, int32_t flags) = 0;
    // Calls `callback` with `context` for every event `code` of `source` until released.
    virtual Subscription* Subscribe(Object* source, int32_t code, void* context,
                                    Callback callback) = 0;
    // Makes a font of `face` at `size` pixels with style bits.
    virtual Font* CreateFont(const char* face, int32_t size, int32_t style) = 0;
    // Makes a blank offscreen canvas. `flags` is 0.
    virtual Canvas* CreateCanvas(int32_t width, int32_t height, int32_t flags) = 0;
    // Makes an animation over `frames` with its own current frame (frame 0).
    virtual Animation* CreateAnimation(FrameList* frames) = 0;
    // Makes a width x height button at (x, y) already on `stage`, whose looks are the two
    // halves of `picture` (2 * width wide); a click calls `callback` with value = id.
    virtual Button* CreateButton(Stage* stage, void* context, int32_t x, int32_t y,
                                 int32_t width, int32_t height, Canvas* picture, int32_t flags,
                                 int32_t id, Callback callback) = 0;
};

// The shell's frame: the title, the game-active flag, dialogs, and the source of
// key-typed and help-requested events.
class ShellFrame : public Object {
public:
    // Shows the game's name; the result is handed back to the shell by Shell_StartApplet.
    virtual int32_t SetTitle(const char* name) = 0;
    // 1 while a game is on the stage (quitting then asks first), 0 otherwise.
    virtual void SetGameActive(int32_t active) = 0;
    // A request with no effect the applet relies on.
    virtual void Configure(int32_t value) = 0;
    // Modal box; buttons kMessageBoxAskYesNo answers kAnswerYes / kAnswerNo, the others inform.
    virtual int32_t MessageBox(const char* title, const char* text, int32_t buttons) = 0;
    // Modal single-line prompt holding `initial`; on OK copies at most `limit` characters and
    // a NUL into `out`; on cancel leaves `out` as it was. Returns 1 for OK, 2 for cancel.
    virtual int32_t InputBox(const char* title, const char* prompt, const char* initial,
                             char* out, int32_t limit, int32_t flags) = 0;
};

// The persistent key/value store (text keys and values).
class SettingsStore : public Object {
public:
    // Creates the key or replaces its value. Returns 0 on success.
    virtual int32_t WriteString(const char* key, const char* value) = 0;
    // Copies the value into `out` (at most kSettingsValueCapacity bytes, NUL included;
    // longer values are cut) and returns 0; returns kSettingsKeyAbsent and leaves `out`
    // untouched when the key is not stored.
    virtual int32_t ReadString(const char* key, char* out) = 0;
};

// The one object given to Shell_StartApplet. Its members belong to the site: the applet
// never releases them.
class AppletSite : public Object {
public:
    // 32 random bits from the host's seeded generator.
    virtual uint32_t Random() = 0;

    void* reserved = nullptr;          // not used by the applet
    Stage* stage = nullptr;            // the main stage (play area)
    Stage* helpStage = nullptr;        // the help panel's stage
    Factory* factory = nullptr;        // makes every object
    ShellFrame* frame = nullptr;       // title, dialogs, keys, help
    SettingsStore* settings = nullptr; // the persistent store

protected:
    ~AppletSite() = default;
};

}  // namespace host
