#include "farm/FarmWriter.h"

#include <filesystem>
#include <utility>

FarmWriter::FarmWriter(std::string path) : path_(std::move(path)) {
    thread_ = std::thread([this] { run(); });
}

FarmWriter::~FarmWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void FarmWriter::post(Job job, bool mayCreate) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back({std::move(job), mayCreate});
    }
    wake_.notify_all();
}

void FarmWriter::drain() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return jobs_.empty() && !running_; });
}

void FarmWriter::run() {
    // The book is opened on this thread and never leaves it: GDAL's datasets are not to be
    // shared between threads.
    std::unique_ptr<FarmBook> book;
    std::string openError;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) break;  // stopping, and every job handed in has run
        Queued queued = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        if (!book) {
            std::error_code ignored;
            if (queued.mayCreate || std::filesystem::exists(path_, ignored))
                book = FarmBook::open(path_, openError);
            else
                openError.clear();  // no book, and none wanted: no failure either
        }
        queued.job(book.get(), openError);
        lock.lock();
        running_ = false;
        if (jobs_.empty()) idle_.notify_all();
    }
    idle_.notify_all();
}
