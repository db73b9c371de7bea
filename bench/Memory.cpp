// Where the game's memory goes: builds the program up step by step as the shell does (the game
// library, the host, the pictures, the title screen, a game, the help page, a sound) and after
// each step prints the resident set, split into file-backed mappings (libraries, the game's
// embedded resources) and anonymous memory, the heap in use, and what the shell's own objects
// hold: decoded pictures, canvases' pixels, the stages and the composed frame, decoded sounds.
//
//   spherolette-memory [--library FILE] [--silent] [--pictures]
//
// --pictures lists at the end every picture decoded, with its frames and bytes.
// The sound bank runs as in a window (decoding sounds); there is no sound card here, so the
// output's format is given to the bank where the window would open its device.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "shell/core/Host.h"
#include "shell/fonts/SystemFonts.h"
#include "shell/headless/HeadlessRunner.h"
#include "GameLibrary.h"
#include "shell/posix/AppletLibrary.h"
#include "shell/session/Session.h"

namespace {

// The window's sound card format (shell/sdl/SdlAudio.cpp asks for it).
constexpr int kOutputRate = 44100, kOutputChannels = 2;
// A point inside the Medium button of the title screen, and a first move at seed 1 is found
// on the board as spherolette-games does; here any drop of a bubble will do.
constexpr int kMediumX = 115, kMediumY = 304;

struct Resident {
    long fileKb = 0;  // mappings of a file: libraries, the game library's resources
    long anonKb = 0;  // heap, stacks, anonymous mappings
    long gameKb = 0;  // of fileKb, the game library's own mappings
};

Resident ReadResident(const std::string& gameLibrary) {
    Resident r;
    std::ifstream in("/proc/self/smaps");
    std::string line;
    bool file = false, game = false;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        const bool header = line.find('-') < line.find(' ') && line.find(':') > line.find(' ');
        if (header) {
            const size_t slash = line.find('/');
            file = slash != std::string::npos;
            game = file && line.size() >= gameLibrary.size() &&
                   line.compare(line.size() - gameLibrary.size(), std::string::npos, gameLibrary) == 0;
            continue;
        }
        if (line.rfind("Rss:", 0) != 0) continue;
        const long kb = std::atol(line.c_str() + 4);
        (file ? r.fileKb : r.anonKb) += kb;
        if (game) r.gameKb += kb;
    }
    return r;
}

struct Objects {
    size_t pictures = 0, canvases = 0, stages = 0, sounds = 0;
};

size_t PixelBytes(const shell::Pixmap& p) {
    return static_cast<size_t>(p.Width()) * static_cast<size_t>(p.Height()) * 4;
}

Objects Count(shell::Host& host, const shell::Session* session) {
    Objects o;
    std::set<const shell::Pixmap*> decoded;
    for (const auto& [name, image] : host.Images().Pictures()) {
        for (const auto& frame : image->frames) decoded.insert(frame.get());
    }
    o.pictures = host.Images().Bytes();
    o.sounds = host.Sounds().Bytes();
    const shell::HostCanvas* backgrounds[] = {host.MainStage().Background(),
                                              host.HelpStage().Background()};
    std::set<const shell::Pixmap*> seen;
    host.Space().ForEachLive<shell::HostCanvas>([&](shell::HostCanvas& canvas) {
        if (!canvas.PixelsMade()) return;
        const shell::Pixmap* p = &canvas.Pixels();
        if (decoded.count(p) != 0 || !seen.insert(p).second) return;
        const bool stage = &canvas == backgrounds[0] || &canvas == backgrounds[1];
        (stage ? o.stages : o.canvases) += PixelBytes(*p);
    });
    if (session != nullptr) o.stages += PixelBytes(session->Frame());
    return o;
}

std::string Mb(double kb) {
    char s[32];
    std::snprintf(s, sizeof s, "%.2f", kb / 1024.0);
    return s;
}

class Table {
public:
    explicit Table(std::string gameLibrary) : game_(std::move(gameLibrary)) {
        std::printf("| Step | Resident | Files mapped (game library) | Anonymous | Heap in use | "
                    "Resident added | Heap added | Decoded pictures | Canvases | Stages and frame | "
                    "Decoded sounds | Sounds played |\n");
        std::printf("| --- | --- | --- | --- | --- | --- | --- | --- | --- | --- | --- | --- |\n");
    }
    void Row(const char* step, shell::Host* host, const shell::Session* session) {
        const Resident r = ReadResident(game_);
        const struct mallinfo2 m = mallinfo2();
        // Blocks in use in the arenas, and the large ones malloc maps on their own.
        const long heapKb = static_cast<long>((m.uordblks + m.hblkhd) / 1024);
        const long rss = r.fileKb + r.anonKb;
        Objects o;
        int plays = 0;
        if (host != nullptr) {
            o = Count(*host, session);
            plays = host->Sounds().PlayCount();
        }
        std::printf("| %s | %s MB | %s MB (%s) | %s MB | %s MB | %s%s | %s%s | %s | %s | %s | %s | %d |\n",
                    step, Mb(rss).c_str(), Mb(r.fileKb).c_str(), Mb(r.gameKb).c_str(),
                    Mb(r.anonKb).c_str(), Mb(heapKb).c_str(), first_ ? "" : "+",
                    first_ ? "" : Mb(rss - lastRss_).c_str(), first_ ? "" : "+",
                    first_ ? "" : Mb(heapKb - lastHeap_).c_str(), Mb(o.pictures / 1024.0).c_str(),
                    Mb(o.canvases / 1024.0).c_str(), Mb(o.stages / 1024.0).c_str(),
                    Mb(o.sounds / 1024.0).c_str(), plays);
        first_ = false;
        lastRss_ = rss;
        lastHeap_ = heapKb;
    }

private:
    std::string game_;
    bool first_ = true;
    long lastRss_ = 0, lastHeap_ = 0;
};

void Settle(shell::Host& host, shell::Session& session) {
    host.Update();
    session.Compose(nullptr);
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
    std::string library = bench::BuiltGameLibrary();
    bool silent = false, listPictures = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--library" && i + 1 < argc) {
            library = argv[++i];
        } else if (a == "--silent") {
            silent = true;
        } else if (a == "--pictures") {
            listPictures = true;
        } else {
            std::fprintf(stderr, "usage: spherolette-memory [--library FILE] [--silent] [--pictures]\n");
            return 2;
        }
    }

    Table table("/" + BaseName(library.empty() ? std::string("libspherolette.so") : library));
    table.Row("program started (shell code linked, no game)", nullptr, nullptr);

    std::unique_ptr<shell::AppletLibrary> lib = bench::OpenGameLibrary(library, "spherolette-memory");
    if (!lib) return 1;
    table.Row("game library loaded", nullptr, nullptr);

    // Pictures are decoded apart, as the window does on a thread of its own while it opens,
    // and handed to the host's picture library when the applet first asks for one.
    shell::ImageLibrary::Decoded pictures;
    shell::VirtualTime time;
    shell::ScriptedDialogs dialogs;
    shell::HostOptions options;
    options.resources = lib->Resources();
    options.time = time.AsSource();
    options.sound = silent ? shell::SoundBank::Mode::Silent : shell::SoundBank::Mode::Device;
    options.seed = 1;
    options.dialogs = &dialogs;
    options.fonts = shell::fonts::SystemFonts::Source(shell::fonts::SystemFonts::DefaultMemoryFile());
    options.prepare = [&pictures](shell::Host& h) {
        h.Images().Expect([&pictures] { return std::move(pictures); });
    };
    shell::Host host(options);
    host.Fonts().Preload("Arial");
    table.Row("host made (sound bank, fonts read)", &host, nullptr);

    pictures = shell::ImageLibrary::DecodeAll(lib->Resources());
    table.Row("pictures decoded", &host, nullptr);

    shell::Session session(host, lib->Entry());
    session.Start();
    Settle(host, session);
    table.Row("title screen shown", &host, &session);

    // Where the window opens its sound card: after the first frame.
    if (host.Sounds().WantsOutput()) host.Sounds().UseFormat(kOutputRate, kOutputChannels);
    shell::HeadlessRunner runner(session, host, time, dialogs);
    runner.Wait(10000);
    table.Row("title screen running 10 s (sound output open)", &host, &session);

    session.PointerDown(kMediumX, kMediumY);
    session.PointerUp(kMediumX, kMediumY);
    Settle(host, session);
    if (!host.Frame().GameActive()) {
        std::fprintf(stderr, "spherolette-memory: the Medium button did not start a game\n");
        return 1;
    }
    runner.Wait(3000);
    table.Row("game started (Medium)", &host, &session);

    session.ShowHelp();
    Settle(host, session);
    session.HideHelp();
    Settle(host, session);
    table.Row("help shown once", &host, &session);

    // The bank's sounds are the applet's: play each once, as a game soon does.
    for (const char* name : {"p-DropBubble.wav", "p-BubbleDisappear.wav", "p-FreeMove.wav"}) {
        host.Sounds().Play(host.Sounds().Load(name));
    }
    std::vector<int16_t> mix(static_cast<size_t>(kOutputRate / 10) * kOutputChannels);
    host.Sounds().Render(mix.data(), kOutputRate / 10);
    table.Row("sounds played", &host, &session);

    if (listPictures) {
        std::printf("\n| Picture | Frames | Decoded |\n| --- | --- | --- |\n");
        for (const auto& [name, image] : host.Images().Pictures()) {
            size_t bytes = 0;
            for (const auto& frame : image->frames) bytes += PixelBytes(*frame);
            std::printf("| %s | %zu | %.1f kB |\n", name.c_str(), image->frames.size(),
                        static_cast<double>(bytes) / 1024.0);
        }
    }
    return 0;
}
