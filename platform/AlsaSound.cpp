#include "platform/AlsaSound.h"

#include <alsa/asoundlib.h>

#include <cstring>

namespace platform {

namespace {

struct WaveFormat {
    unsigned channels = 0;
    unsigned rate = 0;
    unsigned bits = 0;
    std::span<const std::uint8_t> samples;
};

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}
std::uint16_t le16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}

// Reads the format and data chunks of a PCM RIFF WAVE; false for anything else.
bool parseWave(std::span<const std::uint8_t> bytes, WaveFormat& out) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return false;
    std::size_t at = 12;
    bool haveFormat = false;
    while (at + 8 <= bytes.size()) {
        const std::uint8_t* chunk = bytes.data() + at;
        std::size_t size = le32(chunk + 4);
        std::size_t body = at + 8;
        if (size > bytes.size() - body) size = bytes.size() - body;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            if (le16(chunk + 8) != 1) return false;  // PCM only
            out.channels = le16(chunk + 10);
            out.rate = le32(chunk + 12);
            out.bits = le16(chunk + 22);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            out.samples = bytes.subspan(body, size);
        }
        at = body + size + (size & 1);
    }
    return haveFormat && !out.samples.empty() && out.channels >= 1 && out.channels <= 2 &&
           (out.bits == 8 || out.bits == 16) && out.rate >= 4000 && out.rate <= 192000;
}

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

AlsaSound::AlsaSound() {
    // ALSA reports a missing card on stderr; the driver needs no such noise.
    snd_lib_error_set_handler(quietAlsa);
    worker_ = std::thread([this] { run(); });
}

AlsaSound::~AlsaSound() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        ++requests_;
    }
    wake_.notify_all();
    worker_.join();
}

void AlsaSound::play(std::span<const std::uint8_t> wave) {
    {
        std::lock_guard lock(mutex_);
        pending_ = wave;
        ++requests_;
    }
    wake_.notify_all();
}

void AlsaSound::run() {
    std::unique_lock lock(mutex_);
    std::uint64_t seen = 0;
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || requests_ != seen; });
        if (stopping_) return;
        seen = requests_;
        auto clip = pending_;
        lock.unlock();
        playClip(clip);
        lock.lock();
    }
}

void AlsaSound::playClip(std::span<const std::uint8_t> wave) {
    WaveFormat format;
    if (!parseWave(wave, format)) return;
    snd_pcm_t* pcm = nullptr;
    // Non-blocking open: a device held by another program must not stall the steering sounds.
    // A device that is busy or not there now may be free or plugged in by the next sound, so
    // every sound tries again.
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return;
    snd_pcm_nonblock(pcm, 0);
    if (snd_pcm_set_params(pcm, format.bits == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE,
                           SND_PCM_ACCESS_RW_INTERLEAVED, format.channels, format.rate, 1,
                           100000) < 0) {
        snd_pcm_close(pcm);
        return;
    }
    const std::size_t frameBytes = format.channels * (format.bits / 8);
    const std::size_t chunkFrames = format.rate / 50;  // 20 ms: a new sound cuts in quickly
    std::uint64_t startedAt;
    {
        std::lock_guard lock(mutex_);
        startedAt = requests_;
    }
    std::size_t frames = format.samples.size() / frameBytes;
    const std::uint8_t* data = format.samples.data();
    bool cut = false;
    while (frames > 0) {
        {
            std::lock_guard lock(mutex_);
            if (requests_ != startedAt) {
                cut = true;
                break;
            }
        }
        std::size_t n = frames < chunkFrames ? frames : chunkFrames;
        snd_pcm_sframes_t written = snd_pcm_writei(pcm, data, n);
        if (written < 0) written = snd_pcm_recover(pcm, int(written), 1) < 0 ? -1 : 0;
        if (written < 0) break;
        data += std::size_t(written) * frameBytes;
        frames -= std::size_t(written);
    }
    if (cut)
        snd_pcm_drop(pcm);
    else
        snd_pcm_drain(pcm);
    snd_pcm_close(pcm);
}

}  // namespace platform
