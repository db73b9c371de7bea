// The sound bank: decoding the game's WAV resources, mixing voices, mute, pause and volume,
// and a device that opens late or not at all.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/core/SoundBank.h"

namespace shell {
namespace {

// A RIFF WAVE file of 8-bit unsigned mono PCM at 11025 samples per second, as the game ships.
std::vector<unsigned char> Wave8(const std::vector<uint8_t>& samples) {
    const uint32_t n = static_cast<uint32_t>(samples.size());
    std::vector<unsigned char> w(44 + samples.size());
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) w[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    std::memcpy(&w[0], "RIFF", 4);
    put(4, 36 + n, 4);
    std::memcpy(&w[8], "WAVEfmt ", 8);
    put(16, 16, 4);
    put(20, 1, 2);  // PCM
    put(22, 1, 2);  // mono
    put(24, 11025, 4);
    put(28, 11025, 4);
    put(32, 1, 2);
    put(34, 8, 2);
    std::memcpy(&w[36], "data", 4);
    put(40, n, 4);
    std::copy(samples.begin(), samples.end(), w.begin() + 44);
    return w;
}

class SoundBankTest : public ::testing::Test {
protected:
    SoundBankTest()
        : loud_(Wave8(std::vector<uint8_t>(1103, 128 + 100))),  // 0.1 s of a steady level
          garbage_{'R', 'I', 'F', 'F', 1, 2, 3},
          entries_{{"P-LOUD.WAV", host::kResourceTypeRawData, host::kResourceLanguage,
                    loud_.data(), static_cast<uint32_t>(loud_.size())},
                   {"P-BROKEN.WAV", host::kResourceTypeRawData, host::kResourceLanguage,
                    garbage_.data(), static_cast<uint32_t>(garbage_.size())}},
          directory_{host::kResourceDirectoryVersion, 2, entries_, 0, nullptr} {}

    // Frames of the mix, first channel only.
    static std::vector<int16_t> Mix(SoundBank& bank, int frames, int channels = 2) {
        std::vector<int16_t> out(static_cast<size_t>(frames * channels), 12345);
        bank.Render(out.data(), frames);
        std::vector<int16_t> left;
        for (int i = 0; i < frames; ++i) left.push_back(out[static_cast<size_t>(i * channels)]);
        return left;
    }

    std::vector<unsigned char> loud_;
    std::vector<unsigned char> garbage_;
    host::ResourceEntry entries_[2];
    host::ResourceDirectory directory_;
};

TEST_F(SoundBankTest, LoadsOnceIgnoringCaseAndRefusesWhatIsMissingOrUnreadable) {
    SoundBank bank(&directory_, SoundBank::Mode::Device);
    auto clip = bank.Load("p-Loud.wav");
    ASSERT_TRUE(clip);
    EXPECT_EQ(bank.Load("P-LOUD.WAV"), clip);
    EXPECT_FALSE(bank.Load("p-Missing.wav"));
    EXPECT_FALSE(bank.Load("p-Broken.wav"));
    EXPECT_FALSE(bank.Load(nullptr));
    EXPECT_FALSE(bank.DeviceOpen());  // nothing opens a device before it is asked to
}

TEST_F(SoundBankTest, SoundsPlayedBeforeTheFormatIsKnownStartWhenItIs) {
    SoundBank bank(&directory_, SoundBank::Mode::Device);
    auto clip = bank.Load("p-loud.wav");
    bank.Play(clip);
    EXPECT_EQ(bank.VoicesPlaying(), 1);
    bank.UseFormat(22050, 2);
    // 0.1 s at 11025/s becomes about 2205 frames at 22050/s, on both channels.
    std::vector<int16_t> out(2 * 4000, 1);
    bank.Render(out.data(), 4000);
    EXPECT_GT(out[1000 * 2], 20000);
    EXPECT_EQ(out[1000 * 2], out[1000 * 2 + 1]);
    EXPECT_EQ(out[3000 * 2], 0);
    EXPECT_EQ(bank.VoicesPlaying(), 0);
    EXPECT_EQ(bank.PlayCount(), 1);
}

TEST_F(SoundBankTest, OverlappingSoundsAddUpClampedAndTheOldestGivesWayBeyondSixteen) {
    SoundBank bank(&directory_, SoundBank::Mode::Device);
    bank.UseFormat(11025, 1);
    auto clip = bank.Load("p-loud.wav");
    bank.Play(clip);
    const int16_t one = Mix(bank, 10, 1)[5];
    bank.Play(clip);  // the first is 10 frames ahead
    const std::vector<int16_t> two = Mix(bank, 10, 1);
    EXPECT_GT(one, 20000);
    EXPECT_EQ(two[5], INT16_MAX);  // two loud sounds clip rather than wrap round

    for (int i = 0; i < SoundBank::kVoices + 3; ++i) bank.Play(clip);
    EXPECT_EQ(bank.VoicesPlaying(), SoundBank::kVoices);
    // Every voice now is one of the newest sixteen, all at their start: all end together.
    Mix(bank, 1090, 1);
    EXPECT_EQ(bank.VoicesPlaying(), SoundBank::kVoices);
    Mix(bank, 100, 1);
    EXPECT_EQ(bank.VoicesPlaying(), 0);
}

TEST_F(SoundBankTest, VolumeMuteAndPause) {
    SoundBank bank(&directory_, SoundBank::Mode::Device);
    bank.UseFormat(11025, 1);
    auto clip = bank.Load("p-loud.wav");
    bank.Play(clip);
    const int16_t full = Mix(bank, 10, 1)[0];

    bank.SetVolume(50);
    EXPECT_NEAR(Mix(bank, 10, 1)[0], full / 2, 1);
    bank.SetVolume(250);
    EXPECT_EQ(bank.Volume(), 100);

    // Paused: silence, the sound keeps its place, and new sounds are not started.
    bank.SetPaused(true);
    bank.Play(clip);
    EXPECT_EQ(Mix(bank, 2000, 1), std::vector<int16_t>(2000, 0));
    EXPECT_EQ(bank.VoicesPlaying(), 1);
    bank.SetPaused(false);
    EXPECT_EQ(Mix(bank, 10, 1)[0], full);
    Mix(bank, 1073, 1);  // 1103 frames in all
    EXPECT_EQ(bank.VoicesPlaying(), 0);

    // Muted: what plays stops, and nothing new starts until unmuted.
    bank.Play(clip);
    bank.SetMuted(true);
    bank.Play(clip);
    EXPECT_EQ(bank.VoicesPlaying(), 0);
    bank.SetMuted(false);
    bank.Play(clip);
    EXPECT_EQ(Mix(bank, 10, 1)[0], full);
}

TEST_F(SoundBankTest, SilentRunsHoldSoundsButNeverOpenADevice) {
    SoundBank bank(&directory_, SoundBank::Mode::Silent);
    auto clip = bank.Load("p-loud.wav");
    ASSERT_TRUE(clip);
    bank.Play(clip);
    EXPECT_EQ(bank.PlayCount(), 1);
    EXPECT_EQ(bank.VoicesPlaying(), 0);
    EXPECT_FALSE(bank.OpenDevice());
    EXPECT_TRUE(bank.Available());
}

// The device itself, through SDL's driver selection: one that does not exist leaves the game
// silent without sounds; the dummy driver plays them on its own thread.
TEST_F(SoundBankTest, NoDeviceMeansSilenceAndNoNewSounds) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SoundBank bank(&directory_, SoundBank::Mode::Device);
    auto clip = bank.Load("p-loud.wav");
    bank.Play(clip);
    EXPECT_FALSE(bank.OpenDevice());
    EXPECT_FALSE(bank.OpenDevice());  // tried once only
    unsetenv("SDL_AUDIODRIVER");
    EXPECT_FALSE(bank.Available());
    EXPECT_EQ(bank.VoicesPlaying(), 0);
    bank.Play(clip);  // still safe to call
    EXPECT_FALSE(bank.Load("p-other.wav"));
}

TEST_F(SoundBankTest, TheDeviceMixesOnItsOwnThreadUntilTheBankCloses) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    {
        SoundBank bank(&directory_, SoundBank::Mode::Device);
        auto clip = bank.Load("p-loud.wav");
        bank.Play(clip);
        ASSERT_TRUE(bank.OpenDevice());
        EXPECT_TRUE(bank.DeviceOpen());
        for (int i = 0; i < 10; ++i) {
            bank.Play(clip);
            bank.SetVolume(i * 10);
        }
        // The 0.1 s sounds run out on the device's clock.
        for (int waited = 0; waited < 2000 && bank.VoicesPlaying() > 0; waited += 10) {
            SDL_Delay(10);
        }
        EXPECT_EQ(bank.VoicesPlaying(), 0);
        bank.Play(clip);  // still playing when the bank goes
    }
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace shell
