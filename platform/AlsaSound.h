// Plays the steering sounds through ALSA on a small worker, a new sound cutting the one still
// playing. Without a sound device, or with a busy one, nothing plays and nothing else changes;
// the next sound tries the device again.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>

namespace platform {

class AlsaSound {
  public:
    AlsaSound();
    ~AlsaSound();
    AlsaSound(const AlsaSound&) = delete;
    AlsaSound& operator=(const AlsaSound&) = delete;

    // Starts playing a RIFF WAVE clip held in memory for the whole run.
    void play(std::span<const std::uint8_t> wave);

  private:
    void run();
    void playClip(std::span<const std::uint8_t> wave);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::span<const std::uint8_t> pending_;
    std::uint64_t requests_ = 0;  // raised by every play(); the worker cuts a clip when it moves
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace platform
