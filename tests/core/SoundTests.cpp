// The sound bank: decoding the game's WAV resources, mixing voices, mute, pause and volume, and
// an output that opens late or not at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/core/Log.h"
#include "shell/core/SoundBank.h"
#include "shell/core/Wave.h"
#include "tests/core/WaveTestUtil.h"

namespace shell {
namespace {

class SoundBankTest : public ::testing::Test {
protected:
    SoundBankTest()
        : loud_(shell_test::Wave8(std::vector<uint8_t>(1103, 128 + 100))),  // 0.1 s of a steady level
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
    EXPECT_TRUE(bank.WantsOutput());  // nothing has opened an output yet
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

// Sounds are decoded when first played: whether the output opened before or after, every
// sample is heard, the same as decoding the file and converting it to the output's rate.
TEST_F(SoundBankTest, ASoundDecodedWhenFirstPlayedIsHeardWholeAndUnchanged) {
    std::vector<uint8_t> ramp(1500);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>((i * 7) % 251);
    std::vector<unsigned char> file = shell_test::Wave8(ramp);
    host::ResourceEntry entry{"P-RAMP.WAV", host::kResourceTypeRawData, host::kResourceLanguage,
                              file.data(), static_cast<uint32_t>(file.size())};
    host::ResourceDirectory directory{host::kResourceDirectoryVersion, 1, &entry, 0, nullptr};
    WaveSound wave;
    std::string error;
    ASSERT_TRUE(DecodeWave(file.data(), file.size(), &wave, &error));
    const std::vector<int16_t> expected = Resample(wave.samples, wave.rate, 44100);
    const int frames = static_cast<int>(expected.size()) + 100;

    for (const bool openFirst : {true, false}) {
        SCOPED_TRACE(openFirst ? "output open before the first play" : "played before the output");
        SoundBank bank(&directory, SoundBank::Mode::Device);
        if (openFirst) bank.UseFormat(44100, 2);
        auto clip = bank.Load("p-ramp.wav");
        ASSERT_TRUE(clip);
        EXPECT_EQ(bank.Bytes(), 0u);  // nothing decoded until played
        bank.Play(clip);
        EXPECT_GT(bank.Bytes(), 0u);
        if (!openFirst) bank.UseFormat(44100, 2);
        std::vector<int16_t> heard = Mix(bank, frames);
        std::vector<int16_t> want = expected;
        want.resize(static_cast<size_t>(frames), 0);
        EXPECT_EQ(heard, want);
        EXPECT_EQ(clip->samples, expected);
        bank.Play(clip);  // decoded once: played again it is the same
        EXPECT_EQ(Mix(bank, frames), want);
    }
}

TEST_F(SoundBankTest, AMissingOrDamagedSoundIsReportedOnceWhenLoadedAndNeverPlayed) {
    std::string log;
    SetLogSink(&log);
    SoundBank bank(&directory_, SoundBank::Mode::Device);
    bank.UseFormat(11025, 1);
    EXPECT_FALSE(bank.Load("p-Broken.wav"));
    EXPECT_FALSE(bank.Load("p-Missing.wav"));
    auto loud = bank.Load("p-loud.wav");
    bank.Play(loud);
    bank.Play(nullptr);
    Mix(bank, 2000, 1);
    SetLogSink(nullptr);
    auto count = [&log](const std::string& what) {
        size_t n = 0;
        for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("\"p-Broken.wav\" cannot be read"), 1u) << log;
    EXPECT_EQ(count("\"p-Missing.wav\" is not among"), 1u) << log;
    EXPECT_EQ(count("\n"), 2u) << log;
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
    EXPECT_FALSE(bank.WantsOutput());
    EXPECT_TRUE(bank.Available());
}

TEST_F(SoundBankTest, WithoutAnOutputTheGameIsSilentAndGetsNoNewSounds) {
    SoundBank bank(&directory_, SoundBank::Mode::Device);
    auto clip = bank.Load("p-loud.wav");
    bank.Play(clip);
    bank.SetUnavailable("no sound card");
    EXPECT_FALSE(bank.Available());
    EXPECT_FALSE(bank.WantsOutput());
    EXPECT_EQ(bank.VoicesPlaying(), 0);
    bank.Play(clip);  // still safe to call
    EXPECT_EQ(bank.VoicesPlaying(), 0);
    EXPECT_FALSE(bank.Load("p-other.wav"));
}

TEST(WaveFiles, SixteenBitStereoAndOddChunksDecodeToMono) {
    // Two stereo frames: (1000, 3000) and (-2000, -4000), behind a padded chunk of another kind.
    std::vector<unsigned char> file = shell_test::Wave({0xE8, 0x03, 0xB8, 0x0B, 0x30, 0xF8, 0x60, 0xF0}, 16, 2, 22050);
    const std::vector<unsigned char> extra = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    file.insert(file.begin() + 36, extra.begin(), extra.end());
    WaveSound wave;
    std::string error;
    ASSERT_TRUE(DecodeWave(file.data(), file.size(), &wave, &error)) << error;
    EXPECT_EQ(wave.rate, 22050);
    EXPECT_EQ(wave.samples, (std::vector<int16_t>{2000, -3000}));
}

TEST(WaveFiles, DamagedOrUnusableFilesAreRefusedAndShortDataKeepsWhatItHas) {
    WaveSound wave;
    std::string error;
    std::vector<unsigned char> file = shell_test::Wave8({128, 255, 0, 128});
    // Cut in the middle of the samples: the whole ones are kept.
    ASSERT_TRUE(DecodeWave(file.data(), file.size() - 1, &wave, &error));
    EXPECT_EQ(wave.samples, (std::vector<int16_t>{0, 127 * 256, -128 * 256}));
    // Cut inside the header, the wrong magic, 24-bit samples, a compressed format, no samples.
    EXPECT_FALSE(DecodeWave(file.data(), 30, &wave, &error));
    std::vector<unsigned char> bad = file;
    bad[8] = 'X';
    EXPECT_FALSE(DecodeWave(bad.data(), bad.size(), &wave, &error));
    bad = shell_test::Wave({1, 2, 3}, 24);
    EXPECT_FALSE(DecodeWave(bad.data(), bad.size(), &wave, &error));
    bad = file;
    bad[20] = 2;  // ADPCM
    EXPECT_FALSE(DecodeWave(bad.data(), bad.size(), &wave, &error));
    EXPECT_FALSE(DecodeWave(file.data(), 44 - 8, &wave, &error));
    EXPECT_FALSE(DecodeWave(nullptr, 100, &wave, &error));
}

TEST(WaveFiles, ResamplingKeepsLevelsAndLength) {
    const std::vector<int16_t> steady(100, 5000);
    const std::vector<int16_t> up = Resample(steady, 11025, 44100);
    EXPECT_EQ(up.size(), 400u);
    EXPECT_TRUE(std::all_of(up.begin(), up.end(), [](int16_t v) { return v == 5000; }));
    const std::vector<int16_t> ramp = {0, 100, 200, 300};
    EXPECT_EQ(Resample(ramp, 1, 2), (std::vector<int16_t>{0, 50, 100, 150, 200, 250, 300, 300}));
    EXPECT_EQ(Resample(ramp, 2, 1), (std::vector<int16_t>{0, 200}));
    EXPECT_TRUE(Resample({}, 11025, 44100).empty());
}

}  // namespace
}  // namespace shell
