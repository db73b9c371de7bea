// The sound card through SDL's driver selection: a driver that does not exist leaves the game
// silent without sounds; the dummy driver plays them on its own thread.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "shell/core/SoundBank.h"
#include "shell/sdl/SdlAudio.h"
#include "tests/core/WaveTestUtil.h"

namespace shell {
namespace {

class SdlAudioTest : public ::testing::Test {
protected:
    SdlAudioTest()
        : loud_(shell_test::Wave8(std::vector<uint8_t>(1103, 128 + 100))),
          entries_{{"P-LOUD.WAV", host::kResourceTypeRawData, host::kResourceLanguage,
                    loud_.data(), static_cast<uint32_t>(loud_.size())}},
          directory_{host::kResourceDirectoryVersion, 1, entries_, 0, nullptr} {}

    std::vector<unsigned char> loud_;
    host::ResourceEntry entries_[1];
    host::ResourceDirectory directory_;
};

TEST_F(SdlAudioTest, NoDeviceMeansSilenceAndNoNewSounds) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SoundBank bank(&directory_, SoundBank::Mode::Device);
    SdlAudio audio(bank);
    auto clip = bank.Load("p-loud.wav");
    bank.Play(clip);
    EXPECT_FALSE(audio.Open());
    EXPECT_FALSE(audio.Open());  // tried once only
    unsetenv("SDL_AUDIODRIVER");
    EXPECT_FALSE(bank.Available());
    EXPECT_EQ(bank.VoicesPlaying(), 0);
    bank.Play(clip);  // still safe to call
    EXPECT_FALSE(bank.Load("p-other.wav"));
}

TEST_F(SdlAudioTest, TheDeviceMixesOnItsOwnThreadUntilItCloses) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    {
        SoundBank bank(&directory_, SoundBank::Mode::Device);
        SdlAudio audio(bank);
        auto clip = bank.Load("p-loud.wav");
        bank.Play(clip);
        ASSERT_TRUE(audio.Open());
        EXPECT_TRUE(audio.IsOpen());
        EXPECT_FALSE(bank.WantsOutput());
        for (int i = 0; i < 10; ++i) {
            bank.Play(clip);
            bank.SetVolume(i * 10);
        }
        // The 0.1 s sounds run out on the device's clock.
        for (int waited = 0; waited < 2000 && bank.VoicesPlaying() > 0; waited += 10) {
            SDL_Delay(10);
        }
        EXPECT_EQ(bank.VoicesPlaying(), 0);
        bank.Play(clip);  // still playing when the device closes
    }
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace shell
