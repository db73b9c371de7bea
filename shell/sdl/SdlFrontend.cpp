// SDL's events as the shell's records.
#include "shell/sdl/SdlFrontend.h"

#include <SDL.h>

#include <algorithm>

#include "shell/core/Host.h"

namespace shell {

SdlFrontend::~SdlFrontend() = default;

int64_t SdlFrontend::RealMs() { return MonotonicMs(); }

void SdlFrontend::TextInput(bool on) {
    if (on) {
        SDL_StartTextInput();
    } else {
        SDL_StopTextInput();
    }
}

bool SdlFrontend::TextInputOn() const { return SDL_IsTextInputActive() == SDL_TRUE; }

std::string SdlFrontend::ClipboardText() {
    if (SDL_HasClipboardText() != SDL_TRUE) return {};
    char* text = SDL_GetClipboardText();
    if (text == nullptr) return {};
    std::string out(text);
    SDL_free(text);
    return out;
}

namespace {
KeyCode KeyOf(SDL_Keycode key) {
    switch (key) {
        case SDLK_ESCAPE: return KeyCode::Escape;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return KeyCode::Enter;
        case SDLK_TAB: return KeyCode::Tab;
        case SDLK_BACKSPACE: return KeyCode::Backspace;
        case SDLK_DELETE: return KeyCode::Delete;
        case SDLK_LEFT: return KeyCode::Left;
        case SDLK_RIGHT: return KeyCode::Right;
        case SDLK_UP: return KeyCode::Up;
        case SDLK_DOWN: return KeyCode::Down;
        case SDLK_HOME: return KeyCode::Home;
        case SDLK_END: return KeyCode::End;
        case SDLK_SPACE: return KeyCode::Space;
        case SDLK_F1: return KeyCode::F1;
        case SDLK_F10: return KeyCode::F10;
        case SDLK_F11: return KeyCode::F11;
        case SDLK_F12: return KeyCode::F12;
        case SDLK_MENU:
        case SDLK_APPLICATION: return KeyCode::Menu;
        default: break;
    }
    if ((key >= SDLK_a && key <= SDLK_z) || (key >= SDLK_0 && key <= SDLK_9)) {
        return KeyCode::Character;
    }
    return KeyCode::None;
}
}  // namespace

bool SdlFrontend::Translate(const SDL_Event& e, ShellEvent* out) const {
    using Type = ShellEvent::Type;
    const auto point = [this](int x, int y) {
        const double ppp = window_.PixelsPerPoint();
        return std::make_pair(static_cast<int>(x * ppp), static_cast<int>(y * ppp));
    };
    switch (e.type) {
        case SDL_QUIT: *out = ShellEvent::Of(Type::Terminate); return true;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE: *out = ShellEvent::Of(Type::Close); return true;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_RESTORED: *out = ShellEvent::Of(Type::Exposed); return true;
                case SDL_WINDOWEVENT_SIZE_CHANGED: {
                    *out = ShellEvent::Of(Type::Resized);
                    window_.DrawableSize(&out->x, &out->y);
                    return true;
                }
                case SDL_WINDOWEVENT_FOCUS_LOST:
                case SDL_WINDOWEVENT_MINIMIZED: *out = ShellEvent::Of(Type::FocusLost); return true;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    *out = ShellEvent::Of(Type::FocusGained);
                    return true;
                case SDL_WINDOWEVENT_LEAVE: *out = ShellEvent::Of(Type::PointerLeft); return true;
                default: return false;
            }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (e.button.button != SDL_BUTTON_LEFT) return false;
            const bool down = e.type == SDL_MOUSEBUTTONDOWN;
            // Moves and the release reach the window even outside it while the button is held.
            SDL_CaptureMouse(down ? SDL_TRUE : SDL_FALSE);
            const auto [x, y] = point(e.button.x, e.button.y);
            *out = ShellEvent::Pointer(down ? Type::PointerDown : Type::PointerUp, x, y);
            return true;
        }
        case SDL_MOUSEMOTION: {
            const auto [x, y] = point(e.motion.x, e.motion.y);
            *out = ShellEvent::Pointer(Type::PointerMove, x, y, (e.motion.state & SDL_BUTTON_LMASK) != 0);
            return true;
        }
        case SDL_KEYDOWN: {
            const KeyCode key = KeyOf(e.key.keysym.sym);
            if (key == KeyCode::None) return false;
            uint32_t mods = 0;
            if ((e.key.keysym.mod & KMOD_CTRL) != 0) mods |= kModCtrl;
            if ((e.key.keysym.mod & KMOD_SHIFT) != 0) mods |= kModShift;
            if ((e.key.keysym.mod & KMOD_ALT) != 0) mods |= kModAlt;
            const char character =
                key == KeyCode::Character ? static_cast<char>(e.key.keysym.sym) : 0;
            *out = ShellEvent::KeyDown(key, mods, character);
            return true;
        }
        case SDL_TEXTINPUT:
            // With Ctrl held the key is a shortcut, not typing.
            if ((SDL_GetModState() & KMOD_CTRL) != 0) return false;
            *out = ShellEvent::Typed(e.text.text);
            return true;
        default: return false;
    }
}

bool SdlFrontend::WaitEvent(ShellEvent* event, int ms) {
    const int64_t until = ms < 0 ? -1 : RealMs() + ms;
    for (;;) {
        SDL_Event e;
        const int left = until < 0 ? -1 : static_cast<int>(std::max<int64_t>(0, until - RealMs()));
        if (!waiter_.Wait(&e, left)) {
            // Nothing came in time (or woken by a signal with nothing to read).
            if (until < 0 || RealMs() >= until) return false;
            continue;
        }
        if (Translate(e, event)) return true;
        // An event of no use to the shell: look again, waiting no longer than asked.
    }
}

}  // namespace shell
