// Sound synthesis. Every voice has a smooth attack and release, partials above the Nyquist
// frequency are left out, and each mix is centred and levelled below full scale.
#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace assetgen {
namespace {

constexpr float kTau = 2 * float(M_PI);

// A note: pitch glides exponentially from `from` to `to` Hz; the level rises over `attack`
// seconds, then decays with time constant `decay` (0: holds), and falls to silence over the
// last `release` seconds.
struct Voice {
    float start = 0, length = 0.2f;
    float from = 440, to = 440;
    float level = 0.5f;
    float attack = 0.005f, decay = 0, release = 0.03f;
    std::vector<float> partials = {1.0f};  // amplitudes of harmonics 1, 2, 3, ...
    float vibratoHz = 0, vibratoDepth = 0;  // depth as a share of the pitch
    float bellRatio = 0, bellLevel = 0;     // an inharmonic partial, for bell-like tones
};

class Mixer {
public:
    explicit Mixer(float seconds) : samples_(size_t(std::lround(seconds * kSampleRate)), 0.0f) {}

    void Add(const Voice& v) {
        const int begin = int(v.start * kSampleRate);
        const int count = int(v.length * kSampleRate);
        double phase = 0, bellPhase = 0;
        for (int i = 0; i < count && begin + i < int(samples_.size()); ++i) {
            const float t = float(i) / kSampleRate;
            const float glide = v.from * std::pow(v.to / v.from, t / v.length);
            const float freq = glide * (1 + v.vibratoDepth * std::sin(kTau * v.vibratoHz * t));
            phase += double(freq) / kSampleRate;
            bellPhase += double(freq * v.bellRatio) / kSampleRate;
            float s = 0;
            for (size_t h = 0; h < v.partials.size(); ++h) {
                if (freq * float(h + 1) > 0.45f * kSampleRate) break;
                s += v.partials[h] * float(std::sin(kTau * double(h + 1) * phase));
            }
            if (v.bellLevel > 0 && freq * v.bellRatio < 0.45f * kSampleRate) {
                s += v.bellLevel * float(std::sin(kTau * bellPhase)) * std::exp(-t * 12);
            }
            samples_[size_t(begin + i)] += s * v.level * Envelope(v, t);
        }
    }

    // Soft noise (a one-pole low-pass over a fixed pseudo-random sequence) for pops and puffs.
    void AddNoise(float start, float length, float level, float decay, float smoothing) {
        uint32_t state = 0x2545F491u;
        float low = 0;
        const int begin = int(start * kSampleRate);
        const int count = int(length * kSampleRate);
        for (int i = 0; i < count && begin + i < int(samples_.size()); ++i) {
            state = state * 1664525u + 1013904223u;
            const float white = float(state >> 8) / float(1u << 24) * 2 - 1;
            low += (white - low) * smoothing;
            const float t = float(i) / kSampleRate;
            const float env = std::min(1.0f, t / 0.002f) * std::exp(-t / decay) *
                              std::min(1.0f, (length - t) / 0.01f);
            samples_[size_t(begin + i)] += low * level * env;
        }
    }

    // Removes any offset, fades the very ends and scales the peak to `peak` of full scale.
    std::vector<float> Finish(float peak) {
        double mean = 0;
        for (float s : samples_) mean += s;
        mean /= double(samples_.size());
        float largest = 1e-6f;
        for (float& s : samples_) {
            s -= float(mean);
            largest = std::max(largest, std::fabs(s));
        }
        const size_t fade = kSampleRate / 200;  // 5 ms
        for (size_t i = 0; i < samples_.size(); ++i) {
            float gain = peak / largest;
            if (i < fade) gain *= float(i) / fade;
            if (samples_.size() - 1 - i < fade) gain *= float(samples_.size() - 1 - i) / fade;
            samples_[i] *= gain;
        }
        return samples_;
    }

private:
    static float Envelope(const Voice& v, float t) {
        float e = t < v.attack ? 0.5f - 0.5f * std::cos(float(M_PI) * t / v.attack) : 1.0f;
        if (v.decay > 0) e *= std::exp(-std::max(0.0f, t - v.attack) / v.decay);
        const float left = v.length - t;
        if (left < v.release) e *= 0.5f - 0.5f * std::cos(float(M_PI) * left / v.release);
        return e;
    }

    std::vector<float> samples_;
};

float Note(int semitonesFromA4) { return 440.0f * std::pow(2.0f, semitonesFromA4 / 12.0f); }

// Semitones from A4 of a few notes used below.
constexpr int C4 = -9, D4 = -7, E4 = -5, F4 = -4, G4 = -2, A4 = 0, B4 = 2, C5 = 3, D5 = 5,
              E5 = 7, G5 = 10, A5 = 12, B5 = 14, C6 = 15, D6 = 17, E6 = 19, G6 = 22, A6 = 24,
              C7 = 27;

Voice Bell(float start, float length, int note, float level) {
    Voice v;
    v.start = start;
    v.length = length;
    v.from = v.to = Note(note);
    v.level = level;
    v.attack = 0.004f;
    v.decay = 0.28f;
    v.release = 0.05f;
    v.partials = {1.0f, 0.25f, 0.1f};
    v.bellRatio = 2.76f;
    v.bellLevel = 0.3f;
    return v;
}

Voice Brass(float start, float length, int note, float level) {
    Voice v;
    v.start = start;
    v.length = length;
    v.from = v.to = Note(note);
    v.level = level;
    v.attack = 0.025f;
    v.release = 0.06f;
    v.partials = {1.0f, 0.55f, 0.35f, 0.22f, 0.12f};
    v.vibratoHz = 5.5f;
    v.vibratoDepth = 0.004f;
    return v;
}

std::vector<float> NewGame() {  // a bright rising arpeggio ringing out into a chord
    Mixer m(1.43f);
    const int notes[4] = {C5, E5, G5, C6};
    for (int i = 0; i < 4; ++i) m.Add(Bell(0.11f * i, 0.5f, notes[i], 0.5f));
    for (int i = 0; i < 4; ++i) {
        Voice v = Bell(0.48f, 0.95f, notes[i], 0.28f);
        v.decay = 0.45f;
        v.release = 0.3f;
        m.Add(v);
    }
    return m.Finish(0.85f);
}

std::vector<float> LevelWin() {  // a quick, cheerful rising call
    Mixer m(0.50f);
    const int notes[3] = {G5, B5, D6};
    for (int i = 0; i < 3; ++i) {
        Voice v = Brass(0.07f * i, 0.12f, notes[i], 0.45f);
        v.attack = 0.01f;
        m.Add(v);
    }
    Voice top = Bell(0.21f, 0.29f, G6, 0.5f);
    top.release = 0.12f;
    m.Add(top);
    return m.Finish(0.85f);
}

std::vector<float> BubbleDisappear() {  // a pop and a bright rising sparkle
    Mixer m(0.46f);
    m.AddNoise(0.0f, 0.06f, 0.6f, 0.015f, 0.35f);
    Voice sweep;
    sweep.length = 0.16f;
    sweep.from = 500;
    sweep.to = 1700;
    sweep.level = 0.45f;
    sweep.decay = 0.06f;
    sweep.release = 0.04f;
    m.Add(sweep);
    Voice a = Bell(0.06f, 0.4f, E6, 0.4f), b = Bell(0.12f, 0.34f, A6, 0.35f);
    a.release = b.release = 0.12f;
    m.Add(a);
    m.Add(b);
    return m.Finish(0.8f);
}

std::vector<float> DropBubble() {  // a short, soft plop
    Mixer m(0.11f);
    Voice v;
    v.length = 0.11f;
    v.from = 330;
    v.to = 150;
    v.level = 0.6f;
    v.attack = 0.004f;
    v.decay = 0.035f;
    v.release = 0.03f;
    v.partials = {1.0f, 0.15f};
    m.Add(v);
    m.AddNoise(0.0f, 0.03f, 0.12f, 0.008f, 0.15f);
    return m.Finish(0.55f);
}

std::vector<float> FreeMove() {  // a shimmering run up the scale
    Mixer m(0.96f);
    const int notes[6] = {C6, D6, E6, G6, A6, C7};
    for (int i = 0; i < 6; ++i) {
        Voice v = Bell(0.07f * i, 0.96f - 0.07f * i, notes[i], 0.3f);
        v.decay = 0.22f;
        v.release = 0.2f;
        v.vibratoHz = 7;
        v.vibratoDepth = 0.006f;
        m.Add(v);
    }
    return m.Finish(0.75f);
}

std::vector<float> FadeIn() {  // a chord swelling up, then letting go
    Mixer m(0.60f);
    const int notes[3] = {A4, C5 + 1, E5};
    for (int note : notes) {
        Voice v;
        v.length = 0.6f;
        v.from = v.to = Note(note);
        v.level = 0.3f;
        v.attack = 0.42f;
        v.release = 0.16f;
        v.partials = {1.0f, 0.3f, 0.12f};
        v.vibratoHz = 5;
        v.vibratoDepth = 0.005f;
        m.Add(v);
    }
    return m.Finish(0.8f);
}

std::vector<float> GameOver() {  // falling notes and a long sinking last one
    Mixer m(1.76f);
    const int notes[3] = {G4, F4, D4 + 1};
    for (int i = 0; i < 3; ++i) {
        Voice v = Brass(0.28f * i, 0.26f, notes[i], 0.45f);
        v.partials = {1.0f, 0.0f, 0.33f, 0.0f, 0.2f, 0.0f, 0.14f};  // hollow, clarinet-like
        v.to = v.from * 0.985f;
        m.Add(v);
    }
    Voice last = Brass(0.84f, 0.92f, D4, 0.5f);
    last.partials = {1.0f, 0.0f, 0.33f, 0.0f, 0.2f, 0.0f, 0.14f};
    last.to = Note(C4 - 1);
    last.decay = 0.6f;
    last.release = 0.35f;
    last.vibratoHz = 4.5f;
    last.vibratoDepth = 0.01f;
    m.Add(last);
    return m.Finish(0.62f);  // hollow tones sound loud: level them with the others
}

std::vector<float> HighScore() {  // a fanfare
    Mixer m(1.70f);
    const int notes[3] = {C5, E5, G5};
    for (int i = 0; i < 3; ++i) m.Add(Brass(0.1f * i, 0.1f, notes[i], 0.4f));
    m.Add(Brass(0.3f, 0.38f, C6, 0.45f));
    m.Add(Brass(0.7f, 0.14f, G5, 0.4f));
    Voice end = Brass(0.86f, 0.84f, C6, 0.45f);
    end.release = 0.4f;
    end.vibratoDepth = 0.008f;
    m.Add(end);
    Voice under = Brass(0.86f, 0.84f, E5, 0.25f);
    under.release = 0.4f;
    m.Add(under);
    for (int i = 0; i < 4; ++i) m.Add(Bell(0.86f + 0.12f * i, 0.4f, C6 + 12 - 5 * (i % 2), 0.12f));
    return m.Finish(0.85f);
}

std::vector<float> LevelLose() {  // two drooping tones
    Mixer m(0.54f);
    Voice a = Brass(0.0f, 0.25f, E4, 0.5f), b = Brass(0.27f, 0.27f, C4, 0.5f);
    a.to = Note(D4);
    b.to = Note(C4 - 3);
    b.release = 0.12f;
    m.Add(a);
    m.Add(b);
    return m.Finish(0.62f);
}

}  // namespace

std::vector<Sound> MakeSounds() {
    return {
        {"P-NEWGAME.WAV", 8, NewGame()},
        {"P-LEVELWIN.WAV", 8, LevelWin()},
        {"P-BUBBLEDISAPPEAR.WAV", 8, BubbleDisappear()},
        {"P-DROPBUBBLE.WAV", 8, DropBubble()},
        {"P-FREEMOVE.WAV", 8, FreeMove()},
        {"P-FADEIN.WAV", 8, FadeIn()},
        {"P-GAMEOVER.WAV", 8, GameOver()},
        {"P-HIGHSCORE.WAV", 8, HighScore()},
        {"P-LEVELLOSE.WAV", 16, LevelLose()},
    };
}

}  // namespace assetgen
