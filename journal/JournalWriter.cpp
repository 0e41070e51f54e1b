#include "journal/JournalWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace journal {

namespace {

using Clock = std::chrono::steady_clock;
// Bytes handed over are collected this long before they are written and synced: together with
// the write itself well within the second the driver may lose.
constexpr auto kCollectTime = std::chrono::milliseconds(700);
// A failed write is tried again after this long.
constexpr auto kRetryTime = std::chrono::seconds(1);
// The driver hears of a failure that lasts, not of a passing one (a card that was busy).
constexpr int kAttemptsBeforeNotice = 3;

void syncFolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

}  // namespace

void JournalWriter::request(Step step) {
    std::lock_guard lock(mutex_);
    if (!thread_.joinable()) {
        stopping_ = false;
        thread_ = std::thread([this] { run(); });
    }
    steps_.push_back(std::move(step));
    firstPending_ = Clock::now();
    wake_.notify_one();
}

void JournalWriter::create(const std::string& path) {
    request({Action::Create, path, 0, {}});
}

void JournalWriter::reopen(const std::string& path, std::uint64_t keepBytes) {
    request({Action::Reopen, path, keepBytes, {}});
}

void JournalWriter::remove() {
    request({Action::Remove, {}, 0, {}});
    syncSoon();
}

void JournalWriter::setAside(const std::string& path) {
    request({Action::SetAside, path, 0, {}});
}

void JournalWriter::append(const std::uint8_t* data, std::size_t size) {
    std::lock_guard lock(mutex_);
    if (steps_.empty()) {
        // Nothing waits for the thread: these bytes start the next collection, and the thread
        // is woken only for the first of them.
        steps_.push_back({});
        firstPending_ = Clock::now();
        steps_.back().bytes.assign(data, data + size);
        wake_.notify_one();
        return;
    }
    std::vector<std::uint8_t>& bytes = steps_.back().bytes;
    bytes.insert(bytes.end(), data, data + size);
}

void JournalWriter::syncSoon() {
    std::lock_guard lock(mutex_);
    syncWanted_ = true;
    wake_.notify_one();
}

bool JournalWriter::flush() {
    std::unique_lock lock(mutex_);
    if (!thread_.joinable()) return !failing_;
    std::uint64_t ticket = ++requested_;
    syncWanted_ = true;
    wake_.notify_one();
    done_.wait(lock, [&] { return completed_ >= ticket; });
    return !failing_;
}

void JournalWriter::stop() {
    {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) return;
        stopping_ = true;
        wake_.notify_one();
    }
    thread_.join();
    std::lock_guard lock(mutex_);
    thread_ = std::thread();
}

void JournalWriter::closeFile() {
    if (fd_ < 0) return;
    if (dataUnsynced_) ::fdatasync(fd_);
    ::close(fd_);
    fd_ = -1;
    dataUnsynced_ = false;
}

void JournalWriter::writeOut(const std::uint8_t* data, std::size_t size) {
    // Bytes that failed before go first: the file holds everything in order, or stops short.
    if (!unwritten_.empty() || fd_ < 0) {
        unwritten_.insert(unwritten_.end(), data, data + size);
        data = nullptr;
        size = 0;
    }
    auto put = [&](const std::uint8_t* p, std::size_t n) -> std::size_t {
        std::size_t done = 0;
        while (fd_ >= 0 && done < n) {
            ssize_t w = ::write(fd_, p + done, n - done);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) break;
            done += std::size_t(w);
            dataUnsynced_ = true;
        }
        return done;
    };
    if (!unwritten_.empty()) {
        std::size_t done = put(unwritten_.data(), unwritten_.size());
        unwritten_.erase(unwritten_.begin(), unwritten_.begin() + std::ptrdiff_t(done));
    }
    if (size != 0) {
        std::size_t done = put(data, size);
        unwritten_.insert(unwritten_.end(), data + done, data + size);
    }
}

void JournalWriter::openFile(bool truncate, std::uint64_t keepBytes) {
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : 0);
    fd_ = ::open(path_.c_str(), flags, 0644);
    syncDir_ = path_;
    if (fd_ < 0 || truncate) return;
    // What follows the last trusted record is cut off, so new records join it.
    if (::ftruncate(fd_, off_t(keepBytes)) != 0 || ::lseek(fd_, off_t(keepBytes), SEEK_SET) < 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void JournalWriter::perform(Step& step) {
    switch (step.action) {
        case Action::Create:
        case Action::Reopen:
            closeFile();
            unwritten_.clear();
            path_ = step.path;
            openFile(step.action == Action::Create, step.keepBytes);
            break;
        case Action::Remove:
            closeFile();
            unwritten_.clear();
            if (!path_.empty()) ::unlink(path_.c_str());
            syncDir_ = path_;
            path_.clear();
            break;
        case Action::SetAside:
            closeFile();
            unwritten_.clear();
            if (!path_.empty()) ::rename(path_.c_str(), step.path.c_str());
            syncDir_ = path_;
            path_.clear();
            break;
        case Action::None:
            break;
    }
    writeOut(step.bytes.data(), step.bytes.size());
}

void JournalWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        bool retry = !unwritten_.empty() || (fd_ < 0 && !path_.empty());
        auto ready = [&] { return stopping_ || syncWanted_ || !steps_.empty(); };
        if (retry)
            wake_.wait_for(lock, kRetryTime, ready);
        else
            wake_.wait(lock, ready);
        // Records keep coming at the fix rate: collect them for a while, then write them all. A
        // new file is made at once, so that a work is on the disk from its first fix.
        if (!stopping_ && !syncWanted_ && !steps_.empty() && steps_.front().action == Action::None)
            wake_.wait_until(lock, firstPending_ + kCollectTime,
                             [&] { return stopping_ || syncWanted_; });
        std::vector<Step> steps;
        steps.swap(steps_);
        syncWanted_ = false;
        bool stopping = stopping_;
        std::uint64_t ticket = requested_;
        lock.unlock();

        // A file that could not be created is tried again, with the bytes meant for it.
        if (fd_ < 0 && !path_.empty()) openFile(true, 0);
        for (Step& step : steps) perform(step);
        if (!unwritten_.empty()) writeOut(nullptr, 0);
        if (fd_ >= 0 && unwritten_.empty() && dataUnsynced_) {
            if (::fdatasync(fd_) == 0) dataUnsynced_ = false;
        }
        if (!syncDir_.empty()) {
            syncFolderOf(syncDir_);
            syncDir_.clear();
        }
        bool failed = !unwritten_.empty() || (fd_ < 0 && !path_.empty()) || dataUnsynced_;
        // The driver hears of it when a retry fails as well, not of a passing hiccup.
        failedAttempts_ = failed ? failedAttempts_ + 1 : 0;
        if (failedAttempts_ == kAttemptsBeforeNotice) failureNotice_ = true;
        failing_ = failed;
        if (stopping) {
            // A later start continues only the file it is told to.
            closeFile();
            path_.clear();
            unwritten_.clear();
        }

        lock.lock();
        completed_ = ticket;
        done_.notify_all();
        if (stopping && steps_.empty()) return;
    }
}

}  // namespace journal
