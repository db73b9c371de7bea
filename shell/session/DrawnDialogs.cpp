// The nested loop of a dialog.
#include "shell/session/DrawnDialogs.h"

#include "host/GameLook.h"
#include "shell/core/Latin1.h"

namespace shell {

Rect DrawnDialogs::Above() {
    using namespace host::look;
    return {0, 0, kBoardFrameRight, kBoardFrameTop};
}

void DrawnDialogs::Place(DialogBox& box) {
    box.Layout(Above());
    if (box.Bounds().y < Above().y || box.Bounds().Bottom() > Above().Bottom()) box.Layout(Area());
}

Rect DrawnDialogs::Area() {
    // The board's frame: clear of the panels to its right.
    using namespace host::look;
    return {kBoardFrameLeft, kBoardFrameTop, kBoardFrameRight - kBoardFrameLeft,
            kBoardFrameBottom - kBoardFrameTop};
}

bool DrawnDialogs::Message(const std::string& title, const std::string& text, bool ask) {
    if (quitDecided_) return !ask;
    DialogBox box(fonts_, title, text,
                  ask ? std::vector<std::string>{"Yes", "No"} : std::vector<std::string>{"OK"});
    const int chosen = Run(box);
    return !ask || chosen == 0;
}

bool DrawnDialogs::Input(const std::string& title, const std::string& prompt, std::string* text,
                         int limit) {
    DialogBox box = DialogBox::Prompt(fonts_, title, prompt, *text, limit);
    if (quitDecided_) {
        box.Close();
    } else {
        Run(box);
    }
    *text = box.Field();
    return true;
}

void DrawnDialogs::PresentAll(const Pixmap& view) {
    Frontend& frontend = feed_.GetFrontend();
    int w = 0, h = 0;
    frontend.DrawableSize(&w, &h);
    viewport_.Fit(w, h);
    frontend.Present(view, DirtyRegion(), viewport_, true);
}

int DrawnDialogs::Run(DialogBox& box) {
    using Type = ShellEvent::Type;
    Frontend& frontend = feed_.GetFrontend();
    Place(box);
    const bool textWasOn = frontend.TextInputOn();
    frontend.TextInput(true);
    Pixmap view = backdrop_;
    box.Paint(view);
    PresentAll(view);
    const Rect area = box.Bounds().Union({box.Bounds().x + 4, box.Bounds().y + 4,
                                          box.Bounds().w, box.Bounds().h});
    while (!box.Done()) {
        ShellEvent e;
        if (!feed_.Wait(&e, -1)) {
            box.Close();
            break;
        }
        const auto [x, y] = viewport_.ToStage(e.x, e.y);
        const bool ctrl = (e.mods & kModCtrl) != 0;
        switch (e.type) {
            case Type::Terminate:
            case Type::Close:
                // Closing the name prompt keeps the name; closing a question answers it No.
                if (box.HasField() || e.type == Type::Terminate) {
                    quitDecided_ = true;
                } else {
                    closeRequested_ = true;
                }
                box.Close();
                break;
            case Type::Exposed:
            case Type::Resized: PresentAll(view); break;
            case Type::PointerDown: box.PointerDown(x, y); break;
            case Type::PointerUp: box.PointerUp(x, y); break;
            case Type::PointerMove: box.PointerMove(x, y); break;
            case Type::Key:
                switch (e.key) {
                    case KeyCode::Enter: box.Press(DialogBox::Key::Enter); break;
                    case KeyCode::Escape: box.Press(DialogBox::Key::Escape); break;
                    case KeyCode::Tab: box.Press(DialogBox::Key::Tab); break;
                    case KeyCode::Left: box.Press(DialogBox::Key::Left); break;
                    case KeyCode::Right: box.Press(DialogBox::Key::Right); break;
                    case KeyCode::Home: box.Press(DialogBox::Key::Home); break;
                    case KeyCode::End: box.Press(DialogBox::Key::End); break;
                    case KeyCode::Backspace: box.Press(DialogBox::Key::Backspace); break;
                    case KeyCode::Delete: box.Press(DialogBox::Key::Delete); break;
                    case KeyCode::Character:
                        if (ctrl && e.character == 'a') box.Press(DialogBox::Key::SelectAll);
                        if (ctrl && e.character == 'v') {
                            box.Paste(Utf8ToLatin1(frontend.ClipboardText()));
                        }
                        break;
                    default: break;
                }
                break;
            case Type::Text:
                for (char c : Utf8ToLatin1(e.text)) box.Typed(static_cast<uint8_t>(c));
                break;
            default: break;
        }
        view.CopyArea(backdrop_, area);
        box.Paint(view);
        DirtyRegion changed;
        changed.Add(area);
        frontend.Present(view, changed, viewport_, false);
    }
    if (!textWasOn) frontend.TextInput(false);
    PresentAll(backdrop_);
    return box.Chosen();
}

}  // namespace shell
