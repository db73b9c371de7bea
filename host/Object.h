// The root of every host object, the event record every callback receives, and the
// small set of numbers the applet and any host agree on.
#pragma once

#include <cstdint>

namespace host {

// Every object a host hands out carries one reference for the holder that received it.
// The holder gives it back exactly once with Release(); the host decides when memory goes.
class Object {
public:
    // Gives back the caller's one reference; the caller must not touch the object afterwards.
    virtual void Release() = 0;

protected:
    ~Object() = default;
};

// The record passed to every callback. Field order is part of the contract.
struct Event {
    void* context;   // the context given when the event source was made or subscribed
    int32_t unused;  // never read by the applet; hosts set 0
    int32_t value;   // pointer x, typed character, timer milliseconds or button id
    int32_t y;       // pointer y for sprite events; 0 otherwise
};

// A callback returns 0 to the host.
using Callback = int (*)(const Event* event);

// Event codes accepted by Factory::Subscribe.
enum EventCode : int32_t {
    kEventPointerPressed = 1,   // source: a sprite; value, y = pointer within the sprite
    kEventPointerReleased = 2,  // source: a sprite; value, y = pointer within the sprite
    kEventPointerMoved = 7,     // source: a sprite; value, y = pointer within the sprite
    kEventKeyTyped = 11,        // source: the ShellFrame; value = the character (Latin-1)
    kEventHelpRequested = 16,   // source: the ShellFrame; no value
};

// SettingsStore::ReadString: the result for a key that is not stored.
constexpr int32_t kSettingsKeyAbsent = 25;
// SettingsStore::ReadString never writes more than this many bytes (255 characters and a NUL).
constexpr int32_t kSettingsValueCapacity = 256;

// ShellFrame::MessageBox button codes and answers.
constexpr int32_t kMessageBoxInform = 1;       // one OK button; returns kAnswerYes
constexpr int32_t kMessageBoxAskYesNo = 2;     // Yes / No; returns kAnswerYes or kAnswerNo
constexpr int32_t kMessageBoxInformAlt = 257;  // informs like kMessageBoxInform
constexpr int32_t kAnswerYes = 1;
constexpr int32_t kAnswerNo = 2;

// Font style bits.
constexpr int32_t kStyleBold = 1;
constexpr int32_t kStyleItalic = 2;
constexpr int32_t kStyleUnderline = 4;

// Font::GetInfo writes the face into a buffer of this many characters (NUL included).
constexpr int32_t kFaceCapacity = 128;

// Sizes of the two stages.
constexpr int32_t kStageWidth = 530;
constexpr int32_t kStageHeight = 420;

}  // namespace host
