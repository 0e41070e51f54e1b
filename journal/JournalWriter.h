// The writer thread of the work journal. Callers hand it bytes and return at once; it writes
// them to the file and makes them durable with fdatasync at most a second after they were
// handed over, or at once when asked. A write that fails (a full disk) keeps its bytes and is
// tried again a second later, so nothing handed over is dropped while the program runs.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace journal {

class JournalWriter {
  public:
    JournalWriter() = default;
    ~JournalWriter() { stop(); }
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Starts a new file at path: everything handed over afterwards follows its header. A file
    // already there is replaced.
    void create(const std::string& path);
    // Continues the file at path after its first keepBytes bytes (the ones a reader trusts).
    void reopen(const std::string& path, std::uint64_t keepBytes);
    // Bytes to append to the current file.
    void append(const std::uint8_t* data, std::size_t size);
    // Makes everything handed over durable without waiting for the second to pass.
    void syncSoon();
    // The file is done with: it is removed once everything before has been written.
    void remove();
    // Writes and syncs what is pending and waits until it is on the disk or has failed; true
    // when nothing is left unwritten.
    bool flush();
    // The file is renamed to path once everything before has been written, and kept there.
    void setAside(const std::string& path);
    // Flushes and ends the thread.
    void stop();

    // True while some bytes could not be written (cleared once they are).
    bool failing() const { return failing_; }
    // True once since the last call, when writing has started to fail.
    bool takeFailureNotice() { return failureNotice_.exchange(false); }

  private:
    enum class Action : std::uint8_t { None, Create, Reopen, Remove, SetAside };
    // One file action and the bytes that follow it, in the order they were handed over.
    struct Step {
        Action action = Action::None;
        std::string path;
        std::uint64_t keepBytes = 0;
        std::vector<std::uint8_t> bytes;
    };
    void request(Step step);
    void run();
    void perform(Step& step);
    void writeOut(const std::uint8_t* data, std::size_t size);
    void openFile(bool truncate, std::uint64_t keepBytes);
    void closeFile();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::thread thread_;
    bool stopping_ = false;
    std::vector<Step> steps_;
    bool syncWanted_ = false;
    std::chrono::steady_clock::time_point firstPending_;
    std::uint64_t requested_ = 0;  // flushes asked for, and the last one the thread has done
    std::uint64_t completed_ = 0;
    // The thread's own: the open file, bytes that failed to reach it, whether the directory
    // entry and the data still want a sync.
    int fd_ = -1;
    std::string path_;
    std::vector<std::uint8_t> unwritten_;
    std::string syncDir_;  // a file whose folder entry changed
    bool dataUnsynced_ = false;
    std::atomic<bool> failing_{false};
    std::atomic<bool> failureNotice_{false};
    int failedAttempts_ = 0;
};

}  // namespace journal
