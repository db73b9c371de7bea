// The nested loop of a dialog.
#include "shell/app/WindowDialogs.h"

#include <SDL.h>

#include "shell/core/Latin1.h"

namespace shell {

bool WindowDialogs::Message(const std::string& title, const std::string& text, bool ask) {
    DialogBox box(fonts_, title, text,
                  ask ? std::vector<std::string>{"Yes", "No"} : std::vector<std::string>{"OK"});
    const int chosen = Run(box);
    return !ask || chosen == 0;
}

bool WindowDialogs::Input(const std::string& title, const std::string& prompt,
                          std::string* text, int limit) {
    DialogBox box(fonts_, title, prompt, {"OK", "Cancel"}, true, *text, limit);
    if (Run(box) != 0) return false;
    *text = box.Field();
    return true;
}

int WindowDialogs::Run(DialogBox& box) {
    box.Layout(backdrop_.Width(), backdrop_.Height());
    const bool textWasOn = SDL_IsTextInputActive() == SDL_TRUE;
    SDL_StartTextInput();
    Pixmap view = backdrop_;
    box.Paint(view);
    window_.PresentAll(view);
    const Rect area = box.Bounds().Union({box.Bounds().x + 4, box.Bounds().y + 4,
                                          box.Bounds().w, box.Bounds().h});
    while (!box.Done()) {
        SDL_Event e;
        if (SDL_WaitEvent(&e) == 0) {
            box.Close();
            break;
        }
        switch (e.type) {
            case SDL_QUIT:
                terminated_ = true;
                box.Close();
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                    closeRequested_ = true;
                    box.Close();
                } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                    e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                    window_.PresentAll(view);
                }
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (e.button.button == SDL_BUTTON_LEFT) {
                    {
                        const auto [x, y] = window_.ToStagePoint(e.button.x, e.button.y);
                        box.PointerDown(x, y);
                    }
                }
                break;
            case SDL_MOUSEBUTTONUP:
                if (e.button.button == SDL_BUTTON_LEFT) {
                    {
                        const auto [x, y] = window_.ToStagePoint(e.button.x, e.button.y);
                        box.PointerUp(x, y);
                    }
                }
                break;
            case SDL_MOUSEMOTION:
                {
                    const auto [x, y] = window_.ToStagePoint(e.motion.x, e.motion.y);
                    box.PointerMove(x, y);
                }
                break;
            case SDL_KEYDOWN:
                switch (e.key.keysym.sym) {
                    case SDLK_RETURN:
                    case SDLK_KP_ENTER: box.Press(DialogBox::Key::Enter); break;
                    case SDLK_ESCAPE: box.Press(DialogBox::Key::Escape); break;
                    case SDLK_TAB: box.Press(DialogBox::Key::Tab); break;
                    case SDLK_LEFT: box.Press(DialogBox::Key::Left); break;
                    case SDLK_RIGHT: box.Press(DialogBox::Key::Right); break;
                    case SDLK_BACKSPACE: box.Press(DialogBox::Key::Backspace); break;
                    default: break;
                }
                break;
            case SDL_TEXTINPUT:
                for (char c : Utf8ToLatin1(e.text.text)) box.Typed(static_cast<uint8_t>(c));
                break;
            default: break;
        }
        view.CopyArea(backdrop_, area);
        box.Paint(view);
        DirtyRegion changed;
        changed.Add(area);
        window_.Present(view, changed);
    }
    if (!textWasOn) SDL_StopTextInput();
    window_.PresentAll(backdrop_);
    return box.Chosen();
}

}  // namespace shell
