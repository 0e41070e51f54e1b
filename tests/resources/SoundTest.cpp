// The two steering sounds: plain PCM clips of the same format and length, and told apart by
// the side they come from.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "platform/Resources.h"

namespace {

struct Clip {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::span<const std::uint8_t> samples;
};

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}

// Walks the RIFF chunks; an empty clip when the file is not PCM WAVE.
Clip parse(std::span<const std::uint8_t> file) {
    Clip clip;
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0)
        return clip;
    bool pcm = false;
    for (std::size_t at = 12; at + 8 <= file.size();) {
        std::string_view id(reinterpret_cast<const char*>(file.data() + at), 4);
        std::size_t size = le32(file, at + 4);
        if (at + 8 + size > file.size()) return Clip{};
        if (id == "fmt " && size >= 16) {
            pcm = (file[at + 8] | (file[at + 9] << 8)) == 1;
            clip.channels = file[at + 10] | (file[at + 11] << 8);
            clip.rate = int(le32(file, at + 12));
            clip.bits = file[at + 22] | (file[at + 23] << 8);
        } else if (id == "data") {
            clip.samples = file.subspan(at + 8, size);
        }
        at += 8 + size + (size & 1);
    }
    return pcm ? clip : Clip{};
}

// Loudness of one channel of a 16-bit stereo clip.
double rms(const Clip& clip, int channel) {
    double sum = 0;
    std::size_t frames = clip.samples.size() / 4;
    for (std::size_t f = 0; f < frames; ++f) {
        std::size_t at = f * 4 + std::size_t(channel) * 2;
        auto v = std::int16_t(clip.samples[at] | (clip.samples[at + 1] << 8));
        sum += double(v) * v;
    }
    return frames ? std::sqrt(sum / double(frames)) : 0;
}

TEST(SteeringSounds, ShortClipsOfOneFormatAndLength) {
    auto leftFile = platform::findResource("WAVE", "SONIDOLEFT");
    auto rightFile = platform::findResource("WAVE", "SONIDORIGHT");
    EXPECT_GT(leftFile.size(), 20000u);
    EXPECT_LT(leftFile.size(), 30000u);
    Clip left = parse(leftFile), right = parse(rightFile);
    ASSERT_FALSE(left.samples.empty());
    ASSERT_FALSE(right.samples.empty());
    EXPECT_EQ(left.channels, 2);
    EXPECT_EQ(left.bits, 16);
    EXPECT_EQ(left.channels, right.channels);
    EXPECT_EQ(left.rate, right.rate);
    EXPECT_EQ(left.bits, right.bits);
    EXPECT_EQ(left.samples.size(), right.samples.size());
    // About a quarter of a second: short enough to repeat every third frame.
    double seconds = double(left.samples.size()) / (left.rate * left.channels * left.bits / 8);
    EXPECT_GT(seconds, 0.15);
    EXPECT_LT(seconds, 0.5);
}

TEST(SteeringSounds, EachComesFromItsSide) {
    Clip left = parse(platform::findResource("WAVE", "SONIDOLEFT"));
    Clip right = parse(platform::findResource("WAVE", "SONIDORIGHT"));
    ASSERT_EQ(left.channels, 2);
    ASSERT_EQ(right.channels, 2);
    EXPECT_GT(rms(left, 0), 2 * rms(left, 1));
    EXPECT_GT(rms(right, 1), 2 * rms(right, 0));
    EXPECT_GT(rms(left, 0), 3000);  // plainly audible, not a near-silent clip
    EXPECT_GT(rms(right, 1), 3000);
}

}  // namespace
