#include "app/BackgroundWrites.h"

#include <QCoreApplication>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/Platform.h"

namespace {

// The thread runs only while there are writes to make, and ends when the last is done: no
// thread is left over between the driver's rare OKs, nor in a child forked meanwhile.
class Writer {
  public:
    ~Writer() { finish(); }

    void post(std::function<bool()> write) {
        std::thread ended;
        {
            std::lock_guard lock(mutex_);
            writes_.push_back(std::move(write));
            if (running_) return;
            // The last thread has given up the lock for good: joining it takes no time.
            ended = std::move(thread_);
            running_ = true;
            thread_ = std::thread([this] { run(); });
        }
        if (ended.joinable()) ended.join();
    }

    void finish() {
        std::thread ended;
        {
            std::unique_lock lock(mutex_);
            idle_.wait(lock, [this] { return !running_; });
            ended = std::move(thread_);
        }
        if (ended.joinable()) ended.join();
    }

    bool takeFailure() { return failed_.exchange(false); }

  private:
    void run() {
        std::unique_lock lock(mutex_);
        while (!writes_.empty()) {
            std::function<bool()> write = std::move(writes_.front());
            writes_.pop_front();
            lock.unlock();
            const bool ok = write();
            lock.lock();
            if (!ok) failed_ = true;
        }
        running_ = false;
        idle_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable idle_;
    std::deque<std::function<bool()>> writes_;
    std::thread thread_;
    bool running_ = false;
    std::atomic<bool> failed_{false};
};

Writer& writer() {
    static Writer instance;
    return instance;
}

bool finishHookedToQt = false;

void finishBeforeQtEnds() {
    finishHookedToQt = false;
    writer().finish();
}

}  // namespace

void writeInBackground(std::function<bool()> write) {
    // The writes use Qt's settings: whatever way the application object ends, they end before
    // it does. Qt forgets its post routines once it has called them; the next application
    // object gets the routine again.
    if (!finishHookedToQt && QCoreApplication::instance()) {
        qAddPostRoutine(finishBeforeQtEnds);
        finishHookedToQt = true;
    }
    writer().post(std::move(write));
}

void finishBackgroundWrites() {
    writer().finish();
}

void showBackgroundWriteFailure() {
    if (!writer().takeFailure()) return;
    platform::current().messageBox(
        "The settings could not be saved (is the disk full or read-only?). They stay in force "
        "until the program ends; the settings saved before are kept.");
}
