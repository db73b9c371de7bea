// The menu's loop and its entries.
#include "shell/session/MenuController.h"

#include "shell/core/Log.h"

namespace shell {

namespace {
constexpr int kVolumeStep = 10;
}

MenuController::MenuController(Run& run, Controls& controls, RunControl& control, Loop& loop,
                               EventFeed& feed, Viewport& viewport)
    : run_(run), controls_(controls), control_(control), loop_(loop), feed_(feed),
      viewport_(viewport) {}

std::vector<MenuEntry> MenuController::Entries() const {
    const ShellPrefs& prefs = run_.GetPrefs().Values();
    const bool paused = controls_.GetPause().Active();
    std::vector<MenuEntry> e;
    auto add = [&](MenuCommand command, const char* label, const char* keys) -> MenuEntry& {
        MenuEntry entry;
        entry.command = command;
        entry.label = label;
        entry.keys = keys;
        e.push_back(entry);
        return e.back();
    };
    add(MenuCommand::NewGame, "New game (same difficulty)", "").enabled =
        control_.Difficulty().has_value();
    add(MenuCommand::BackToTitle, "Back to title", "");
    add(MenuCommand::Pause, paused ? "Go on" : "Pause", "Esc, Ctrl+P");
    add(MenuCommand::Help, "Help", "F1");
    MenuEntry& symbols = add(MenuCommand::Symbols, "Symbol bubbles", "Ctrl+S");
    symbols.checked = prefs.symbols;
    symbols.groupStart = true;
    add(MenuCommand::Sound, "Sound", "Ctrl+M").checked = !prefs.muted;
    add(MenuCommand::VolumeUp, "Volume", "Ctrl+Up/Down").level = prefs.volume;
    add(MenuCommand::Relaxed, "Relaxed clock (from the next game)", "").checked = prefs.relaxed;
    add(MenuCommand::PixelPerfect, "Pixel-perfect scaling", "").checked = prefs.pixelPerfect;
    add(MenuCommand::Fullscreen, "Full screen", "F11").checked = feed_.GetFrontend().Fullscreen();
    add(MenuCommand::Quit, "Quit", "Ctrl+Q").groupStart = true;
    return e;
}

void MenuController::PresentAll(const Pixmap& view) {
    Frontend& frontend = feed_.GetFrontend();
    int w = 0, h = 0;
    frontend.DrawableSize(&w, &h);
    viewport_.Fit(w, h);
    frontend.Present(view, DirtyRegion(), viewport_, true);
}

bool MenuController::Choose(MenuCommand command, std::optional<MenuCommand>* after) {
    Prefs& prefs = run_.GetPrefs();
    Session& session = run_.GetSession();
    switch (command) {
        case MenuCommand::Symbols: prefs.SetSymbols(!prefs.Values().symbols); break;
        case MenuCommand::Sound: prefs.SetMuted(!prefs.Values().muted); break;
        case MenuCommand::VolumeDown:
        case MenuCommand::VolumeUp:
            prefs.SetVolume(prefs.Values().volume +
                            (command == MenuCommand::VolumeUp ? kVolumeStep : -kVolumeStep));
            if (prefs.Values().muted) prefs.SetMuted(false);
            break;
        case MenuCommand::PixelPerfect:
            prefs.SetPixelPerfect(!prefs.Values().pixelPerfect);
            viewport_.SetPixelPerfect(prefs.Values().pixelPerfect);
            break;
        case MenuCommand::Fullscreen: feed_.GetFrontend().ToggleFullscreen(); break;
        case MenuCommand::Relaxed:
            prefs.SetRelaxed(!prefs.Values().relaxed);
            // On the title screen there is no game to wait for: it is shown afresh with the
            // chosen clock and its table now.
            if (!run_.GetHost().Frame().GameActive() && control_.RelaxedPending()) {
                *after = command;
                return true;
            }
            break;
        default:
            *after = command;
            return true;
    }
    session.Compose(nullptr);
    return false;
}

bool MenuController::AbandonAsked() {
    if (!run_.GetHost().Frame().GameActive()) return true;
    run_.GetSession().Compose(nullptr);
    return run_.GetHost().Frame().Ask("Spherolette", "Abandon this game?");
}

void MenuController::CarryOut(MenuCommand command) {
    Session& session = run_.GetSession();
    Pause& pause = controls_.GetPause();
    switch (command) {
        case MenuCommand::NewGame:
        case MenuCommand::BackToTitle:
            if (!AbandonAsked()) return;
            pause.End();
            control_.Restart(command == MenuCommand::NewGame ? control_.Difficulty()
                                                             : std::nullopt);
            break;
        case MenuCommand::Relaxed: control_.Restart(std::nullopt); break;
        case MenuCommand::Pause:
            pause.Toggle();
            if (!pause.Active()) controls_.GetNotices().Refresh();
            break;
        case MenuCommand::Help: session.ShowHelp(); break;
        case MenuCommand::Quit: loop_.RequestQuit(); break;
        default: break;
    }
}

void MenuController::Open() {
    if (open_) return;
    open_ = true;
    using Type = ShellEvent::Type;
    Host& host = run_.GetHost();
    Session& session = run_.GetSession();
    Frontend& frontend = feed_.GetFrontend();
    // Nothing of the game runs while the menu is open.
    host.Clock().Hold();
    session.Compose(nullptr);
    GameMenu menu(host.Fonts(), Entries());
    const Rect control = Session::kMenuControl;
    auto layout = [&] {
        menu.Layout(control.Right(), control.Bottom() + 2, viewport_.StageWidth(),
                    viewport_.StageHeight());
    };
    layout();
    Pixmap view = session.Frame();
    menu.Paint(view);
    PresentAll(view);
    std::optional<MenuCommand> after;
    while (!menu.Closed()) {
        ShellEvent e;
        if (!feed_.Wait(&e, -1)) break;
        const auto [x, y] = viewport_.ToStage(e.x, e.y);
        const bool ctrl = (e.mods & kModCtrl) != 0;
        switch (e.type) {
            case Type::Close:
            case Type::Terminate:
                // The loop around takes these as it would without the menu.
                feed_.Inject(e, 0);
                menu.Close();
                break;
            case Type::Exposed:
            case Type::Resized: PresentAll(view); break;
            case Type::PointerDown: menu.PointerDown(x, y); break;
            case Type::PointerUp: menu.PointerUp(x, y); break;
            case Type::PointerMove: menu.PointerMove(x, y); break;
            case Type::Key:
                if (ctrl && e.key == KeyCode::Character && e.character == 'q') {
                    after = MenuCommand::Quit;
                    menu.Close();
                    break;
                }
                switch (e.key) {
                    case KeyCode::Up: menu.Press(GameMenu::Key::Up); break;
                    case KeyCode::Down:
                    case KeyCode::Tab: menu.Press(GameMenu::Key::Down); break;
                    case KeyCode::Left: menu.Press(GameMenu::Key::Left); break;
                    case KeyCode::Right: menu.Press(GameMenu::Key::Right); break;
                    case KeyCode::Enter:
                    case KeyCode::Space: menu.Press(GameMenu::Key::Enter); break;
                    case KeyCode::Escape:
                    case KeyCode::F10:
                    case KeyCode::Menu: menu.Press(GameMenu::Key::Close); break;
                    default: break;
                }
                break;
            default: break;
        }
        const Rect before = menu.Bounds();
        const std::optional<MenuCommand> chosen = menu.TakeChosen();
        if (chosen) {
            if (Choose(*chosen, &after)) menu.Close();
            menu.Refresh(Entries());
            layout();
        }
        view = session.Frame();
        if (!menu.Closed()) menu.Paint(view);
        if (chosen) {
            PresentAll(view);  // an option may have changed the picture or its scale
        } else {
            // The menu and its shadow.
            DirtyRegion changed;
            changed.Add(before.Union(menu.Bounds()).Union(
                {menu.Bounds().x + 4, menu.Bounds().y + 4, menu.Bounds().w, menu.Bounds().h}));
            frontend.Present(view, changed, viewport_, false);
        }
    }
    host.Clock().Resume();
    open_ = false;
    PresentAll(session.Frame());
    if (after) CarryOut(*after);
}

}  // namespace shell
